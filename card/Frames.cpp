// The card's controls: the header above the tabs, one frame a tab, and the
// save and navigation buttons. Placed in design twips; the layout routines
// keep them in proportion afterwards.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "card/TwipsGeometry.h"
#include "panels/ucIDArqDoc.h"
#include "panels/ucIDComm.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTipos_Links.h"
#include "panels/ucIDTulvas.h"
#include "panels/ucIDTulvas_Details.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeWidget>

namespace {

using card::designHeight;
using card::designWidth;

// Places a child in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    TwipsGeometry::setLeft(w, left);
    TwipsGeometry::setTop(w, top);
    TwipsGeometry::setWidth(w, width);
    TwipsGeometry::setHeight(w, height);
}

constexpr double titleScale = 1.5; // the title line is half as large again as the text
constexpr int headerHeight = 840;  // the line under the header
constexpr int framesTop = 1230;
constexpr int marginLeft = 120;
constexpr int rightColumn = 1800; // room at the right for the save button
constexpr int buttonHeight = 390;

} // namespace

void frmInicial::buildFrames()
{
    centralArea_ = new QWidget(this);
    setCentralWidget(centralArea_);
    buildHeader();
    const int frameWidth = designWidth - rightColumn;
    const int frameHeight = designHeight - 3450;
    const char* frameNames[] = {"", "Frame_Identificacao", "Frame_Outras", "Frame_Permitions",
                                "Frame_Anexos"};
    for (int k = card::tabIdentification; k <= card::tabCount; ++k) {
        frames_[k] = new QFrame(centralArea_);
        frames_[k]->setObjectName(QString::fromLatin1(frameNames[k]));
        frames_[k]->setFrameShape(QFrame::StyledPanel);
        frames_[k]->setVisible(k == card::tabIdentification);
        place(frames_[k], marginLeft, framesTop, frameWidth, frameHeight);
    }
    buildIdentificationFrame(frameWidth, frameHeight);
    buildOtherInformationFrame(frameWidth, frameHeight);
    buildPermissionsFrame(frameWidth, frameHeight);
    buildArchiveFrame(frameWidth, frameHeight);
    buildCardButtons(frameHeight);

    statusPanel1 = new QLabel(this);
    statusPanel1->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusPanel1, 1);

    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
}

// The title line, the second line with the contact's type, the tabs.
void frmInicial::buildHeader()
{
    Descrit1 = new QLabel(centralArea_);
    Descrit1->setObjectName(QStringLiteral("Descrit1"));
    QFont big = Descrit1->font();
    big.setPointSizeF(big.pointSizeF() * titleScale);
    big.setBold(true);
    Descrit1->setFont(big);
    Descrit2 = new QLabel(centralArea_);
    Descrit2->setObjectName(QStringLiteral("Descrit2"));
    Descrit2->setCursor(Qt::PointingHandCursor);
    Descrit2->installEventFilter(this);
    TabStrip1 = new QTabBar(centralArea_);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (const char* caption : {"Identificação", "Outras Informações", "Permissões", "Arquivo Documental"})
        TabStrip1->addTab(QString::fromUtf8(caption));
    TabStrip1->setExpanding(false);
    place(Descrit1, 150, 90, 9000, 420);
    place(Descrit2, designWidth - 5400, 540, 3600, 270);
    place(TabStrip1, marginLeft, 870, designWidth - rightColumn, designHeight - 2400);
    ucIDTulvas1 = new ucIDTulvas(centralArea_);
    place(ucIDTulvas1, designWidth - 5400, 90, 3600, 420);
    BarraFundo = new QFrame(centralArea_);
    BarraFundo->setObjectName(QStringLiteral("BarraFundo"));
    BarraFundo->setFrameShape(QFrame::HLine);
    place(BarraFundo, 0, headerHeight, designWidth, 30);
}

// Tab 1: identity and photo on the first third, then addresses and file
// details, then telephones, e-mails and relations.
void frmInicial::buildIdentificationFrame(int frameWidth, int frameHeight)
{
    QWidget* f1 = frames_[card::tabIdentification];
    const int third = frameHeight / 3;
    const int fifth = frameWidth / 5;
    ucIDSingular1 = new ucIDSingular(f1);
    ucIDInstitucional1 = new ucIDInstitucional(f1);
    ucIDFotos1 = new ucIDFotos(f1);
    ucIDMoradas1 = new ucIDMoradas(f1);
    ucIDTulvas_Details1 = new ucIDTulvas_Details(f1);
    ucIDTelefones1 = new ucIDTelefones(f1);
    ucIDEmails1 = new ucIDEmails(f1);
    ucIDRelacionados1 = new ucIDRelacionados(f1);
    place(ucIDSingular1, 0, 0, 4 * fifth, third + 600);
    place(ucIDInstitucional1, 0, 0, 4 * fifth, third + 600);
    place(ucIDFotos1, 4 * fifth, 0, fifth, third + 600);
    place(ucIDMoradas1, 0, third + 600, frameWidth / 2, third - 300);
    place(ucIDTulvas_Details1, frameWidth / 2, third + 600, frameWidth / 2, third - 300);
    place(ucIDTelefones1, 0, 2 * third + 300, frameWidth / 4, third - 300);
    // An e-mail address is longer than a number: its grid takes a quarter of
    // the relations' half, and the two grow by halves as the window does.
    place(ucIDEmails1, frameWidth / 4, 2 * third + 300, 3 * frameWidth / 8, third - 300);
    place(ucIDRelacionados1, 5 * frameWidth / 8, 2 * third + 300, 3 * frameWidth / 8, third - 300);
}

// Tab 2: files and events on the left, communications and notes on the right.
void frmInicial::buildOtherInformationFrame(int frameWidth, int frameHeight)
{
    QWidget* f2 = frames_[card::tabOtherInformation];
    const int sixth = frameWidth / 6;
    ucIDTipos_Links1 = new ucIDTipos_Links(f2);
    place(ucIDTipos_Links1, 0, 0, 2 * sixth, frameHeight / 2);
    Listview2_Label = new QLabel(QStringLiteral("Eventos"), f2);
    Listview2_Label->setObjectName(QStringLiteral("Listview2_Label"));
    place(Listview2_Label, 90, frameHeight / 2 + 30, 2 * sixth, 270);
    // The layout rules never move this label, so on a taller card the files
    // list would grow over it: the list's own header carries the caption.
    Listview2_Label->hide();
    ListView2 = new QTreeWidget(f2);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setHeaderLabel(QStringLiteral("Eventos"));
    ListView2->setRootIsDecorated(false);
    ListView2->setAccessibleName(QStringLiteral("Eventos"));
    connect(ListView2, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 0)
            ListView2_ItemCheck(item);
    });
    place(ListView2, 0, frameHeight / 2, 2 * sixth, frameHeight / 2);
    ucIDComm1 = new ucIDComm(f2);
    place(ucIDComm1, 2 * sixth, 0, 4 * sixth, frameHeight / 2);
    ucIDObs1 = new ucIDObs(f2);
    place(ucIDObs1, 2 * sixth, frameHeight / 2, 4 * sixth, frameHeight / 2);
}

// Tab 3: the rights and the three buttons at the right.
void frmInicial::buildPermissionsFrame(int frameWidth, int frameHeight)
{
    QWidget* f3 = frames_[card::tabPermissions];
    ucIDPermitions1 = new ucIDPermitions(f3);
    ucIDPermitions1->setButtonsVisible(false);
    place(ucIDPermitions1, 0, 0, frameWidth - 2100, frameHeight);
    const char* permissionButtons[] = {"Command13", "Command12", "Command11"};
    const char* permissionCaptions[] = {"Inserir Utilizador", "Inserir &Grupo", "&Remover"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(permissionCaptions[i]), f3);
        b->setObjectName(QString::fromLatin1(permissionButtons[i]));
        place(b, frameWidth - 2000, 120 + i * 480, 1900, buttonHeight);
        commands_[13 - i] = b;
    }
}

// Tab 4: the archive.
void frmInicial::buildArchiveFrame(int frameWidth, int frameHeight)
{
    ucIDArqDoc1 = new ucIDArqDoc(frames_[card::tabArchive]);
    place(ucIDArqDoc1, 0, 0, frameWidth, frameHeight);
}

// The save button at the right and the navigation buttons under the frames.
void frmInicial::buildCardButtons(int frameHeight)
{
    const int column = designWidth - 1560;
    commands_[2] = new QPushButton(QStringLiteral("&Gravar"), centralArea_);
    place(commands_[2], column, framesTop, 1440, 420);
    const char* navigation[] = {"|◀", "◀", "▶", "▶|"};
    // What the glyphs mean, for the tooltip and for screen readers.
    const char* meaning[] = {"Primeiro contacto", "Contacto anterior", "Contacto seguinte",
                             "Último contacto"};
    const int navigationIndex[] = {6, 5, 4, 3};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(navigation[i]), centralArea_);
        b->setAccessibleName(QString::fromUtf8(meaning[i]));
        b->setToolTip(QString::fromUtf8(meaning[i]));
        place(b, marginLeft + i * 750, frameHeight + 1300, 705, buttonHeight);
        commands_[navigationIndex[i]] = b;
    }
    for (int i = 2; i <= 6; ++i)
        commands_[i]->setObjectName(QStringLiteral("Command") + QString::number(i));
    connectCommandButtons();
}
