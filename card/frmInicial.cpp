#include "card/frmInicial.h"

#include "card/CardImages.h"
#include "card/TwipsGeometry.h"
#include "component/ConnectionState.h"
#include "component/ErrorReport.h"
#include "component/HostCallback.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
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
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"
#include "platform/values/Twips.h"
#include "platform/windows/WindowServices.h"
#include "settings/frmMainChilds.h"
#include "settings/modControls.h"
#include "settings/modRegistry.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using namespace TwipsGeometry;
using CardLayout::Rpl_Expand_Along;
using CardLayout::Rpl_Expand_Bottom;
using CardLayout::Rpl_Move_Along;
using CardLayout::Rpl_Move_Bottom;

const QString windowKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001");
const QString tlvKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");
const QString title = QStringLiteral("Contactos Quarvenses");
constexpr int designWidth = 15000;  // twips
constexpr int designHeight = 9600;
constexpr int kMinimumWidth = 11175;
constexpr int kMinimumHeight = 6000;
constexpr int vbInformation = 64;
constexpr int vbCritical = 16;
constexpr int hourglass = 11;

// Places a child in twips.
void place(QWidget* w, int left, int top, int width, int height)
{
    setLeft(w, left);
    setTop(w, top);
    setWidth(w, width);
    setHeight(w, height);
}

// pos and count go by reference in the layout routines.
void along(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    Rpl_Expand_Along(c, pos, count, dw, dh, s);
}
void bottom(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    Rpl_Expand_Bottom(c, pos, count, dw, dh, s);
}
void moveAlong(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    Rpl_Move_Along(c, pos, count, dw, dh, s);
}
void moveBottom(QWidget* c, int pos, int count, int dw, int dh, const CardLayout::WindowSizes& s)
{
    Rpl_Move_Bottom(c, pos, count, dw, dh, s);
}

} // namespace

frmInicial::frmInicial(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmInicial"));
    setWindowTitle(title);
    ImageList_Active = CardImages::active();
    ImageList_Disabled = CardImages::disabled();
    buildMenus();
    buildToolbar();
    buildFrames();
    connectPanels();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        ucIDSingular1->PostLoad();
        ucIDTulvas_Details1->PostLoad();
    });
    resize(vb::twipsToPixels(designWidth), vb::twipsToPixels(designHeight));
    setMinimumSize(vb::twipsToPixels(kMinimumWidth), vb::twipsToPixels(kMinimumHeight));
}

frmInicial::~frmInicial() = default;

QString frmInicial::caption() const
{
    return windowTitle();
}

void frmInicial::reportError(const QString& procedure, const vb::Error& e) const
{
    ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()), procedure, e);
}

// ---- construction ----

void frmInicial::buildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const char* text) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu* ficheiro = menuBar()->addMenu(QStringLiteral("&Ficheiro"));
    ficheiro->setObjectName(QStringLiteral("mnFicheiro"));
    QAction* novo = item(ficheiro, "mnNovo", "&Novo Registo");
    mnGravar = item(ficheiro, "mnGravar", "&Gravar");
    mnGravar->setEnabled(false);
    ficheiro->addSeparator();
    mnConverterInstitucional = item(ficheiro, "mnConverterInstitucional", "Converter em Contacto Institucional");
    mnConverterSingular = item(ficheiro, "mnConverterSingular", "Converter em Contacto Singular");
    mnTransferir = item(ficheiro, "mnTransferir", "&Transferir para Inactivos");
    ficheiro->addSeparator();
    QAction* primeiro = item(ficheiro, "mnPrimeiro", "Mover para &Primeiro");
    item(ficheiro, "mnAnterior", "Mover para &Anterior");
    QAction* seguinte = item(ficheiro, "mnSeguinte", "Mover para &Seguinte");
    QAction* ultimo = item(ficheiro, "mnUltimo", "Mover para Últim&o");
    ficheiro->addSeparator();
    item(ficheiro, "mnImprimir", "&Imprimir");
    item(ficheiro, "mnRemover", "&Remover");
    ficheiro->addSeparator();
    QAction* fechar = item(ficheiro, "mnFechar", "&Fechar");
    QMenu* tabelas = menuBar()->addMenu(QStringLiteral("&Tabelas"));
    tabelas->setObjectName(QStringLiteral("mnTabelas"));
    item(tabelas, "mnTitulos", "&Títulos");
    item(tabelas, "mnProfissoes", "&Profissões");
    item(tabelas, "mnNacionalidades", "&Nacionalidades");
    item(tabelas, "mnPaises", "P&aises");
    QMenu* ajuda = menuBar()->addMenu(QStringLiteral("&Ajuda"));
    ajuda->setObjectName(QStringLiteral("mnAjuda"));

    connect(ficheiro, &QMenu::aboutToShow, this, [this] { mnTransferir->setText(QStringLiteral("&Transferir para Inactivos")); });
    connect(novo, &QAction::triggered, this, [this] {
        if (isVisible())
            Novo(true);
    });
    connect(mnGravar, &QAction::triggered, this, [this] {
        qint32 tab = selectedTab();
        GravarCampos(tab);
    });
    connect(primeiro, &QAction::triggered, this, &frmInicial::moveFirst);
    connect(seguinte, &QAction::triggered, this, &frmInicial::moveNext);
    connect(ultimo, &QAction::triggered, this, &frmInicial::moveLast);
    connect(fechar, &QAction::triggered, this, &QWidget::close);
}

void frmInicial::buildToolbar()
{
    CoolBar1 = new QWidget(this);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    Toolbar1 = new QToolBar(CoolBar1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    Toolbar1->setMovable(false);
    auto* band = new QVBoxLayout(CoolBar1);
    band->setContentsMargins(2, 2, 2, 2);
    band->addWidget(Toolbar1);
    // Ten buttons with separators among them: fourteen items.
    const struct {
        const char* key;
        const char* caption;
        int image;
        bool separatorAfter;
    } buttons[] = {{"btGravar", "Gravar", 1, true},      {"btNovo", "Novo", 2, true},         {"btPrimeiro", "Primeiro", 3, false},
                   {"btAnterior", "Anterior", 4, false}, {"btSeguinte", "Seguinte", 5, false}, {"btUltimo", "Último", 6, true},
                   {"btImprimir", "Impressões", 7, false}, {"btApagar", "Apagar", 8, true},   {"btAjuda", "Ajuda", 9, false},
                   {"btSair", "Sair", 10, false}};
    for (const auto& b : buttons) {
        QAction* a = Toolbar1->addAction(ImageList_Active[b.image - 1], QString::fromUtf8(b.caption));
        a->setObjectName(QString::fromLatin1(b.key));
        images_.insert(a->objectName(), b.image);
        if (b.separatorAfter)
            Toolbar1->addSeparator();
    }
    connect(toolbarButton(QStringLiteral("btGravar")), &QAction::triggered, this, [this] {
        qint32 tab = selectedTab();
        GravarCampos(tab);
    });
    connect(toolbarButton(QStringLiteral("btNovo")), &QAction::triggered, this, [this] { Novo(true); });
    connect(toolbarButton(QStringLiteral("btPrimeiro")), &QAction::triggered, this, &frmInicial::moveFirst);
    connect(toolbarButton(QStringLiteral("btAnterior")), &QAction::triggered, this, &frmInicial::movePrevious);
    connect(toolbarButton(QStringLiteral("btSeguinte")), &QAction::triggered, this, &frmInicial::moveNext);
    connect(toolbarButton(QStringLiteral("btUltimo")), &QAction::triggered, this, &frmInicial::moveLast);
    connect(toolbarButton(QStringLiteral("btSair")), &QAction::triggered, this, &QWidget::close);
    addToolBarBreak();
    auto* holder = new QToolBar(this);
    holder->setObjectName(QStringLiteral("CoolBarHolder"));
    holder->setMovable(false);
    holder->addWidget(CoolBar1);
    addToolBar(holder);
}

QAction* frmInicial::toolbarButton(const QString& key) const
{
    return Toolbar1->findChild<QAction*>(key);
}

int frmInicial::toolbarImage(const QString& key) const
{
    return images_.value(key);
}

void frmInicial::buildFrames()
{
    centralArea_ = new QWidget(this);
    setCentralWidget(centralArea_);
    Descrit1 = new QLabel(centralArea_);
    Descrit1->setObjectName(QStringLiteral("Descrit1"));
    QFont big = Descrit1->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
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
    const char* frameNames[] = {"", "Frame_Identificacao", "Frame_Outras", "Frame_Permitions", "Frame_Anexos"};
    for (int k = 1; k <= 4; ++k) {
        frames_[k] = new QFrame(centralArea_);
        frames_[k]->setObjectName(QString::fromLatin1(frameNames[k]));
        frames_[k]->setFrameShape(QFrame::StyledPanel);
        frames_[k]->setVisible(k == 1);
    }
    // Header, tabs and frames in design twips; the layout routines keep them in proportion.
    place(Descrit1, 150, 90, 9000, 420);
    place(Descrit2, designWidth - 5400, 540, 3600, 270);
    place(TabStrip1, 120, 870, designWidth - 1800, designHeight - 2400);
    const int frameWidth = designWidth - 1800;
    const int frameHeight = designHeight - 3450;
    for (int k = 1; k <= 4; ++k)
        place(frames_[k], 120, 1230, frameWidth, frameHeight);

    ucIDTulvas1 = new ucIDTulvas(centralArea_);
    place(ucIDTulvas1, designWidth - 5400, 90, 3600, 420);

    // Tab 1: identity and photo on the first third, then addresses and file
    // details, then telephones, e-mails and relations.
    QWidget* f1 = frames_[1];
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
    place(ucIDEmails1, frameWidth / 4, 2 * third + 300, frameWidth / 4, third - 300);
    place(ucIDRelacionados1, frameWidth / 2, 2 * third + 300, frameWidth / 2, third - 300);

    // Tab 2: files and events on the left, communications and notes on the right.
    QWidget* f2 = frames_[2];
    const int sixth = frameWidth / 6;
    ucIDTipos_Links1 = new ucIDTipos_Links(f2);
    place(ucIDTipos_Links1, 0, 0, 2 * sixth, frameHeight / 2);
    Listview2_Label = new QLabel(QStringLiteral("Eventos"), f2);
    Listview2_Label->setObjectName(QStringLiteral("Listview2_Label"));
    place(Listview2_Label, 90, frameHeight / 2 + 30, 2 * sixth, 270);
    ListView2 = new QTreeWidget(f2);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setHeaderHidden(true);
    place(ListView2, 0, frameHeight / 2 + 300, 2 * sixth, frameHeight / 2 - 300);
    ucIDComm1 = new ucIDComm(f2);
    place(ucIDComm1, 2 * sixth, 0, 4 * sixth, frameHeight / 2);
    ucIDObs1 = new ucIDObs(f2);
    place(ucIDObs1, 2 * sixth, frameHeight / 2, 4 * sixth, frameHeight / 2);

    // Tab 3: the rights and the three buttons at the right.
    ucIDPermitions1 = new ucIDPermitions(frames_[3]);
    ucIDPermitions1->setButtonsVisible(false);
    place(ucIDPermitions1, 0, 0, frameWidth - 2100, frameHeight);
    const char* permissionButtons[] = {"Command13", "Command12", "Command11"};
    const char* permissionCaptions[] = {"Inserir Utilizador", "Inserir &Grupo", "&Remover"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(permissionCaptions[i]), frames_[3]);
        b->setObjectName(QString::fromLatin1(permissionButtons[i]));
        place(b, frameWidth - 2000, 120 + i * 480, 1900, 390);
        commands_[13 - i] = b;
    }
    connect(commands_[13], &QPushButton::clicked, ucIDPermitions1, &ucIDPermitions::AddUser);
    connect(commands_[12], &QPushButton::clicked, ucIDPermitions1, &ucIDPermitions::AddGroup);
    connect(commands_[11], &QPushButton::clicked, ucIDPermitions1, &ucIDPermitions::RemoveEntry);

    // Tab 4: the archive.
    ucIDArqDoc1 = new ucIDArqDoc(frames_[4]);
    place(ucIDArqDoc1, 0, 0, frameWidth, frameHeight);

    // The save button and the navigation buttons at the right.
    const int column = designWidth - 1560;
    commands_[2] = new QPushButton(QStringLiteral("&Gravar"), centralArea_);
    place(commands_[2], column, 1230, 1440, 420);
    const char* navigation[] = {"|◀", "◀", "▶", "▶|"};
    const int navigationIndex[] = {6, 5, 4, 3};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(navigation[i]), centralArea_);
        place(b, 120 + i * 750, frameHeight + 1300, 705, 390);
        commands_[navigationIndex[i]] = b;
    }
    for (int i = 2; i <= 6; ++i)
        commands_[i]->setObjectName(QStringLiteral("Command%1").arg(i));
    connect(commands_[2], &QPushButton::clicked, this, [this] {
        qint32 tab = selectedTab();
        GravarCampos(tab);
    });
    connect(commands_[6], &QPushButton::clicked, this, &frmInicial::moveFirst);
    connect(commands_[5], &QPushButton::clicked, this, &frmInicial::movePrevious);
    connect(commands_[4], &QPushButton::clicked, this, &frmInicial::moveNext);
    connect(commands_[3], &QPushButton::clicked, this, &frmInicial::moveLast);

    BarraFundo = new QFrame(centralArea_);
    BarraFundo->setObjectName(QStringLiteral("BarraFundo"));
    BarraFundo->setFrameShape(QFrame::HLine);
    place(BarraFundo, 0, 840, designWidth, 30);

    statusPanel1 = new QLabel(this);
    statusPanel1->setObjectName(QStringLiteral("StatusBar1_Panel1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(statusPanel1, 1);

    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
}

void frmInicial::connectPanels()
{
    for (IdentityPanel* panel : std::initializer_list<IdentityPanel*>{
             ucIDSingular1, ucIDInstitucional1, ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDObs1, ucIDTulvas1,
             ucIDTulvas_Details1, ucIDPermitions1})
        connect(panel, &IdentityPanel::Changed, this, [this] { setPrpAlteracoes(true); });
    connect(ucIDSingular1, &ucIDSingular::NomeHasChanged, this,
            [this](const QString& nome, const QString& apelido, const QString& titulo) {
                QString line = titulo;
                if (!apelido.isEmpty()) {
                    line += u' ' + apelido;
                    if (!nome.isEmpty())
                        line += QStringLiteral(", ") + nome;
                }
                showTitle(line);
            });
    connect(ucIDInstitucional1, &ucIDInstitucional::NomeHasChanged, this, [this](const QString& name) { showTitle(name); });
    connect(ucIDTulvas1, &ucIDTulvas::TipoChanged, this, [this](const QString& text) { Descrit2->setText(text); });
    connect(ucIDInstitucional1, &IdentityPanel::Error, this, [this](int, const QString& message) {
        platform::WindowServices::current().messageBox(message, 0, caption());
    });
}

void frmInicial::showTitle(const QString& line)
{
    Descrit1->setText(line);
    setWindowTitle(line);
}

void frmInicial::setPrpAlteracoes(bool changed)
{
    changed_ = changed;
    const int image = changed ? 11 : 1;
    images_.insert(QStringLiteral("btGravar"), image);
    toolbarButton(QStringLiteral("btGravar"))->setIcon(ImageList_Active[image - 1]);
    mnGravar->setEnabled(changed);
}

void frmInicial::setToolbarEnabled(bool enabled)
{
    for (QAction* a : Toolbar1->actions())
        a->setEnabled(enabled);
}

// ---- loading ----

void frmInicial::preparePanels()
{
    const ado::Connection shared = Data().SqlServer;
    const ConnectionState& c = Conn();
    QString& font = modControls::ConfiguredFontName();
    for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDSingular1, ucIDInstitucional1, ucIDMoradas1, ucIDTelefones1,
                                                                  ucIDEmails1}) {
        p->FontName = font;
        p->setConnection(shared);
    }
    ucIDRelacionados1->ProductName = c.strDataServer;
    ucIDRelacionados1->cnUser = c.strCnUser;
    ucIDRelacionados1->cnPassword = c.strCnPassword;
    ucIDRelacionados1->cnInitialCatalog = c.strInitialCatalog;
    ucIDRelacionados1->cnDataSource = c.strDataSource;
    ucIDRelacionados1->cnDataSourceSecondary = c.strDataSourceSecondary;
    ucIDRelacionados1->FontName = font;
    ucIDRelacionados1->setConnection(shared);
    ucIDRelacionados1->OwnerForm = this;
    ucIDTipos_Links1->FontName = font;
    ucIDTipos_Links1->setConnection(shared);
    for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDObs1, ucIDPermitions1}) {
        p->FontName = font;
        p->setConnection(shared);
    }
    ucIDTulvas1->setConnection(shared);
    ucIDTulvas_Details1->FontName = font;
    ucIDTulvas_Details1->setConnection(shared);
    ucIDTulvas1->TypesTable = QStringLiteral("tbTulvas_Contactos_Tipos");
    ucIDTulvas1->FileTable = QStringLiteral("tbTulvas_Contactos");
    ucIDTulvas1->Initialise();
    ucIDTipos_Links1->FontName = font;
    ucIDTipos_Links1->UserName = c.strUser;
    ucIDTipos_Links1->setConnection(shared);
    ucIDFotos1->setConnection(shared);
    ucIDFotos1->ProductName = c.strDataServer;
}

bool frmInicial::Form_Load()
{
    try {
        loaded_ = true;
        sizes_ = {Width(this), Height(this), Width(this), Height(this)};
        modControls::ApplyConfiguredFont(this);
        if (modControls::ConfiguredFontName().isEmpty())
            modControls::ConfiguredFontName() = QStringLiteral("MS Sans Serif");
        if (ucIDSingular1->connectionString().isEmpty()) {
            if (Data().SqlServer.State() != ado::adStateOpen) {
                inPro = true;
                close();
                return false;
            }
            preparePanels();
        }
        if (inPro)
            return true;
        return restoreWindow();
    } catch (const vb::Error& e) {
        platform::WindowServices::current().messageBox(QStringLiteral("Erro nas definições do Registry!"), vbCritical, caption());
        reportError(QStringLiteral("Form_Load"), e);
        close();
        return false;
    }
}

bool frmInicial::restoreWindow()
{
    vb::Variant values[5];
    const char* names[] = {"Left", "Top", "Width", "Height", "Frame"};
    for (int i = 0; i < 5; ++i)
        values[i] = modRegistry::ObterValorDWORD(windowKey, QString::fromLatin1(names[i]));
    for (const vb::Variant& v : values) {
        if (v.isNull()) {
            platform::WindowServices::current().messageBox(QStringLiteral("Erro nas definições do Registry!"), vbCritical, caption());
            close();
            return false;
        }
    }
    int tab = vb::IsNumeric(values[4]) ? vb::CLng(values[4]) : 0;
    if (tab == 0)
        tab = 1;
    const vb::Variant autoSize = modRegistry::ObterValorDWORD(windowKey, QStringLiteral("AutoSize"));
    if (!autoSize.isNull() && vb::CStr(autoSize) == QLatin1String("0"))
        TwipsGeometry::move(this, vb::CLng(values[0]), vb::CLng(values[1]), vb::CLng(values[2]), vb::CLng(values[3]));
    else
        placeByScreen();
    selectTab(tab >= 1 && tab <= 4 ? tab : 1);
    return true;
}

QRect frmInicial::screenPlacement(int w, int h)
{
    if (w <= 20490)
        return QRect(0, 0, w, h - 450);
    int left, width, top, height;
    const double m = 0.035 * w;
    if (w - 2 * m > 21600) {
        width = 21600;
        left = vb::CLng(vb::Variant((w - 21600) / 2.0));
    } else {
        left = vb::CLng(vb::Variant(m));
        width = vb::CLng(vb::Variant(w - 2 * m));
    }
    if (h > 13500) {
        height = 13000;
        top = vb::CLng(vb::Variant((h - 13000) / 2.0));
    } else {
        top = vb::CLng(vb::Variant(0.06 * h - 250));
        height = vb::CLng(vb::Variant(h - 2 * 0.055 * h));
    }
    return QRect(left, top, width, height);
}

void frmInicial::placeByScreen()
{
    const QSize screen = vb::screenSizeTwips();
    const QRect r = screenPlacement(screen.width(), screen.height());
    TwipsGeometry::move(this, r.x(), r.y(), r.width(), r.height());
}

void frmInicial::PreencherCampos(qint32& tab)
{
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return;
        switch (tab) {
        case 1: loadIdentification(); break;
        case 2: loadOtherInformation(); break;
        case 3: loadPermissions(); break;
        case 4: loadArchive(); break;
        default: break;
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("PreencherCampos"), e);
    }
}

void frmInicial::loadIdentification()
{
    ucIDFotos1->ContactNumber = 0;
    ucIDSingular1->UserName = Conn().strUser;
    ucIDInstitucional1->UserName = Conn().strUser;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        return;
    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id=%1").arg(Contacto_ID), Data().SqlServer);
    if (!rs.Eof()) {
        const ado::Connection shared = Data().SqlServer;
        const vb::Variant kind = rs(QStringLiteral("genero_id"));
        singular_ = !kind.isNull() && vb::CLng(kind) == 1;
        ucIDSingular1->setVisible(singular_);
        ucIDInstitucional1->setVisible(!singular_);
        mnConverterInstitucional->setVisible(singular_);
        mnConverterSingular->setVisible(!singular_);
        if (singular_)
            ucIDSingular1->LoadContact(Contacto_ID, false);
        else
            ucIDInstitucional1->LoadContact(Contacto_ID, false, &shared);
        ucIDFotos1->LoadContact(Contacto_ID, false);
        ucIDMoradas1->LoadContact(Contacto_ID, false);
        ucIDTelefones1->LoadContact(Contacto_ID, false);
        ucIDEmails1->LoadContact(Contacto_ID, false);
        ucIDRelacionados1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser, Conn().strPassword);
        ucIDTulvas1->LoadContact(Contacto_ID, false);
        ucIDTulvas_Details1->LoadContact(Contacto_ID, false);
        ucIDTipos_Links1->LoadContact(Contacto_ID, false);
        Fill_Modified();
    }
    rs.Close();
    Timer1->start(1);
}

void frmInicial::loadOtherInformation()
{
    ucIDTipos_Links1->LoadContact(Contacto_ID, false);
    ucIDComm1->SortColumn = 0;
    ucIDComm1->SortOrder = 0;
    ucIDComm1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser);
    ucIDObs1->LoadContact(Contacto_ID, false);
    ucIDTulvas1->LoadContact(Contacto_ID, false);
    ucIDObs1->setFontSize(12);
    Frame_Selected = 2;
    Fill_Descrit();
}

void frmInicial::loadPermissions()
{
    ucIDPermitions1->setConnection(Data().SqlServer);
    ucIDPermitions1->DefaultGroupCode = QStringLiteral("$0001");
    ucIDPermitions1->TableName = QStringLiteral("tbTulvas_Contactos");
    ucIDPermitions1->UserName = Conn().strUser;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        return;
    ado::Recordset rs;
    rs.Open(QStringLiteral("SELECT tbTulvas_Contactos_permitions.* FROM tbTulvas_Contactos_permitions WHERE contacto_id=%1").arg(Contacto_ID),
            Data().SqlServer, ado::adOpenDynamic, ado::adLockOptimistic, 8);
    if (!rs.Eof()) {
        const vb::Variant user = rs(QStringLiteral("user_code"));
        ucIDPermitions1->setUserMask(user.isNull() ? QString() : vb::CStr(user));
        const vb::Variant group = rs(QStringLiteral("group_code"));
        if (!group.isNull() && !vb::CStr(group).isEmpty()) {
            ucIDPermitions1->setGroupMask(vb::CStr(group));
        } else if (!group.isNull()) {
            ucIDPermitions1->setGroupMask(QStringLiteral("$00011111"));
            rs.Fields(QStringLiteral("group_code")).setValue(QStringLiteral("$00011111"));
            rs.Update();
        }
    }
    rs.Close();
    ucIDTulvas1->LoadContact(Contacto_ID, false);
    Frame_Selected = 3;
    Fill_Descrit();
}

void frmInicial::loadArchive()
{
    ucIDArqDoc1->FontName = modControls::ConfiguredFontName();
    ucIDArqDoc1->setConnection(Data().SqlServer);
    ucIDArqDoc1->ReadOnlyMode = false;
    ucIDArqDoc1->UserName = Conn().strUser;
    const vb::Variant server = modRegistry::ObterValorString(tlvKey, QStringLiteral("DataServer"));
    ucIDArqDoc1->DataServer = server.isNull() ? QString() : vb::CStr(server);
    ucIDArqDoc1->LoadContact(Contacto_ID);
    Frame_Selected = 4;
    Fill_Descrit();
}

void frmInicial::Fill_Descrit()
{
    Descrit1->clear();
    Descrit2->clear();
    if (Frame_Selected == 0)
        return;
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return;
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT tbContactos.nome_union, tbContactos.genero_id FROM tbContactos WHERE tbContactos.contacto_id=%1")
                    .arg(Contacto_ID),
                Data().SqlServer);
        if (rs.Eof()) {
            rs.Close();
            return;
        }
        const vb::Variant kind = rs(QStringLiteral("genero_id"));
        const bool institution = !kind.isNull() && vb::CLng(kind) == 2;
        rs.Close();
        const auto textOf = [&](const char* field) {
            const vb::Variant v = rs(QString::fromLatin1(field));
            return v.isNull() ? QString() : vb::CStr(v);
        };
        if (!institution) {
            if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
                return;
            rs.Open(QStringLiteral("SELECT tbContactos_Singulares.nome, tbContactos_Singulares.apelido, tbContactos_Singulares.titulo, "
                                   "tbContactos_Singulares.profissao FROM tbContactos_Singulares WHERE "
                                   "tbContactos_Singulares.contacto_id=%1")
                        .arg(Contacto_ID),
                    Data().SqlServer);
            if (!rs.Eof()) {
                QString line;
                if (!rs(QStringLiteral("titulo")).isNull())
                    line += textOf("titulo");
                if (!rs(QStringLiteral("apelido")).isNull()) {
                    line += u' ' + textOf("apelido");
                    if (!rs(QStringLiteral("nome")).isNull())
                        line += QStringLiteral(", ") + textOf("nome");
                }
                Descrit1->setText(line);
                Descrit2->setText(textOf("profissao"));
            }
        } else {
            if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
                return;
            rs.Open(QStringLiteral("SELECT tbContactos.nome_union, tbContactos_Institucionais.area_negocio_id, "
                                   "tbContactos_Institucionais_Areas_Negocio.descrit FROM tbContactos LEFT JOIN "
                                   "tbContactos_Institucionais ON tbContactos.contacto_id=tbContactos_Institucionais.contacto_id "
                                   "LEFT JOIN tbContactos_Institucionais_Areas_Negocio ON "
                                   "tbContactos_Institucionais.area_negocio_id=tbContactos_Institucionais_Areas_Negocio.area_negocio_id "
                                   "WHERE tbContactos.contacto_id=%1")
                        .arg(Contacto_ID),
                    Data().SqlServer);
            if (!rs.Eof()) {
                Descrit1->setText(textOf("nome_union"));
                if (!rs(QStringLiteral("descrit")).isNull())
                    Descrit2->setText(textOf("descrit"));
            }
        }
        rs.Close();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Fill_Descrit"), e);
    }
}

void frmInicial::Fill_Modified()
{
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return;
        ado::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id =%1").arg(Contacto_ID), Data().SqlServer);
        if (rs.Eof()) {
            statusPanel1->setText(QStringLiteral("Não foi possível abrir as definições deste registo."));
            rs.Close();
            return;
        }
        const auto stamp = [](const vb::Variant& v) { return vb::Format(v, QStringLiteral("dd/mm/yyyy h:Nn:Ss")); };
        QString line = QStringLiteral("Modificado por ");
        if (!rs(QStringLiteral("modified_by")).isNull()) {
            line += vb::CStr(rs(QStringLiteral("modified_by"))) + QStringLiteral(" em ");
            if (!rs(QStringLiteral("modified_date")).isNull())
                line += stamp(rs(QStringLiteral("modified_date")));
            if (!rs(QStringLiteral("created_by")).isNull()) {
                line += QStringLiteral(", Criado por ") + vb::CStr(rs(QStringLiteral("created_by"))) + QStringLiteral(" em ");
                if (!rs(QStringLiteral("created_date")).isNull())
                    line += stamp(rs(QStringLiteral("created_date")));
            }
        }
        statusPanel1->setText(line);
        rs.Close();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Fill_Modified"), e);
    }
}

// ---- tabs ----

int frmInicial::selectedTab() const
{
    return TabStrip1->currentIndex() + 1;
}

void frmInicial::selectTab(int index)
{
    if (TabStrip1->currentIndex() == index - 1)
        TabStrip1_Click(); // selecting the shown tab still runs the tab change
    else
        TabStrip1->setCurrentIndex(index - 1);
}

void frmInicial::TabStrip1_Click()
{
    platform::WindowServices& windows = platform::WindowServices::current();
    try {
        if (isVisible() && isNew && selectedTab() != Frame_Selected) {
            windows.messageBox(QStringLiteral("Tem de gravar primeiro as alterações efectuadas."), vbInformation, caption());
            windows.setMousePointer(this, 0);
            inPro = true;
            TabStrip1->setCurrentIndex(0);
            inPro = false;
            return;
        }
        if (inPro)
            return;
        windows.setMousePointer(this, hourglass);
        const int k = selectedTab();
        if (k >= 1 && k <= 4 && AskForSavings(Frame_Selected) == 2) {
            inPro = true;
            TabStrip1->setCurrentIndex(Frame_Selected - 1);
            inPro = false;
            windows.setMousePointer(this, 0);
            return;
        }
        if (k >= 1 && k <= 4 && Frame_Selected != k) {
            if (Frame_Selected != 0)
                catchUp(Frame_Selected, k);
            qint32 tab = k;
            if (k == 1 && isNew) {
                for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDSingular1, ucIDInstitucional1, ucIDMoradas1,
                                                                              ucIDTelefones1, ucIDEmails1, ucIDRelacionados1,
                                                                              ucIDTulvas_Details1})
                    p->NewRecord();
            } else {
                if (k == 2 && ucIDComm1->connection().isNothing())
                    ucIDComm1->setConnection(Data().SqlServer);
                PreencherCampos(tab);
            }
            for (int i = 1; i <= 4; ++i)
                frames_[i]->setVisible(i == k);
            setPrpAlteracoes(false);
            if (k == 4)
                ucIDArqDoc1->ReadOnlyMode = false;
            Frame_Selected = k;
            if (k >= 2)
                Fill_Descrit();
        }
        windows.setMousePointer(this, 0);
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("TabStrip1_Click"), e);
    }
}

// A page catches up with the resizes made while another page was shown.
// It is skipped only when both widths and both heights are equal already.
void frmInicial::catchUp(int oldTab, int newTab)
{
    if (tabWidths_[oldTab] == tabWidths_[newTab] && tabHeights_[oldTab] == tabHeights_[newTab])
        return;
    Resize_Frame(newTab, tabWidths_[oldTab] - tabWidths_[newTab], tabHeights_[oldTab] - tabHeights_[newTab]);
    tabWidths_[newTab] = tabWidths_[oldTab];
    tabHeights_[newTab] = tabHeights_[oldTab];
}

// ---- navigation ----

void frmInicial::moveFirst()
{
    navigate(&ado::Recordset::MoveFirst, 0);
}

void frmInicial::movePrevious()
{
    navigate(&ado::Recordset::MovePrevious, 1);
}

void frmInicial::moveNext()
{
    navigate(&ado::Recordset::MoveNext, 2);
}

void frmInicial::moveLast()
{
    navigate(&ado::Recordset::MoveLast, 3);
}

void frmInicial::navigate(void (ado::Recordset::*move)(), int kind)
{
    platform::WindowServices& windows = platform::WindowServices::current();
    windows.setMousePointer(this, hourglass);
    setToolbarEnabled(false);
    try {
        const qint32 answer = !Rs.isNothing() && Rs.State() == ado::adStateOpen ? AskForSavings() : 0;
        if (answer != 2 && !Rs.isNothing() && Rs.State() == ado::adStateOpen && Rs.RecordCount() > 0) {
            bool stands = true;
            if (kind == 1 && !Rs.Bof()) {
                Rs.MovePrevious();
                if (Rs.Bof()) {
                    Rs.MoveNext();
                    stands = false;
                }
            } else if (kind == 2 && !Rs.Eof()) {
                Rs.MoveNext();
                if (Rs.Eof()) {
                    Rs.MovePrevious();
                    stands = false;
                }
            } else if ((kind == 0 || kind == 3) && !Rs.Eof()) {
                (Rs.*move)();
            } else {
                stands = false;
            }
            if (stands) {
                if (modCode::CanPlayWave()) {
                    QString click = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/SMCLICK1.WAV");
                    modCode::PlayWave(click);
                }
                Contacto_ID = vb::CLng(Rs(QStringLiteral("contacto_id")));
                qint32 tab = selectedTab();
                PreencherCampos(tab);
                setPrpAlteracoes(false);
            }
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Toolbar1_ButtonClick"), e);
    }
    windows.setMousePointer(this, 0);
    setToolbarEnabled(true);
}

// ---- new contact ----

void frmInicial::Novo(bool singular)
{
    singular_ = singular;
    isNew = true;
    ucIDSingular1->setVisible(singular);
    ucIDInstitucional1->setVisible(!singular);
    mnConverterInstitucional->setVisible(false);
    mnConverterSingular->setVisible(false);
    Frame_Selected = 0;
    selectTab(1);
    if (!NewTelefone.isEmpty())
        ucIDTelefones1->AddNumber(NewTelefone);
    showTitle(singular ? QStringLiteral("Novo contacto particular") : QStringLiteral("Novo contacto institucional"));
    statusPanel1->clear();
}

// ---- layout ----

void frmInicial::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (!loaded_ || isMinimized())
        return;
    try {
        if (Width(this) < kMinimumWidth || Height(this) < kMinimumHeight) {
            TwipsGeometry::setWidth(this, qMax(Width(this), kMinimumWidth));
            TwipsGeometry::setHeight(this, qMax(Height(this), kMinimumHeight));
            return; // the snap-back resize lays out
        }
        sizes_.width = Width(this);
        sizes_.height = Height(this);
        const int dw = sizes_.width - sizes_.previousWidth;
        const int dh = sizes_.height - sizes_.previousHeight;
        if (Frame_Selected < 11) {
            tabWidths_[Frame_Selected] += dw;
            tabHeights_[Frame_Selected] += dh;
        }
        bottom(TabStrip1, 1, 1, 0, 0, sizes_);
        along(TabStrip1, 1, 1, 0, 0, sizes_);
        along(BarraFundo, 1, 1, 0, 0, sizes_);
        along(CoolBar1, 1, 1, 0, 0, sizes_);
        for (QWidget* w : std::initializer_list<QWidget*>{Descrit2, commands_[2], ucIDTulvas1})
            moveAlong(w, 2, 1, 0, 0, sizes_);
        for (int i = 2; i <= 6; ++i)
            moveBottom(commands_[i], 2, 1, 0, 0, sizes_);
        Resize_Frame(Frame_Selected, 0, 0);
        sizes_.previousWidth = sizes_.width;
        sizes_.previousHeight = sizes_.height;
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Form_Resize"), e);
    }
}

void frmInicial::Resize_Frame(int tab, int dw, int dh)
{
    const CardLayout::WindowSizes& s = sizes_;
    try {
        switch (tab) {
        case 1:
            along(frames_[1], 1, 1, dw, dh, s);
            bottom(frames_[1], 1, 1, dw, dh, s);
            along(ucIDFotos1, 5, 5, dw, dh, s);
            bottom(ucIDFotos1, 1, 3, dw, dh, s);
            for (QWidget* identity : std::initializer_list<QWidget*>{ucIDInstitucional1, ucIDSingular1}) {
                for (int i = 0; i < 4; ++i)
                    along(identity, 1, 5, dw, dh, s);
                bottom(identity, 1, 3, dw, dh, s);
            }
            along(ucIDMoradas1, 1, 2, dw, dh, s);
            bottom(ucIDMoradas1, 2, 3, dw, dh, s);
            along(ucIDRelacionados1, 2, 2, dw, dh, s);
            bottom(ucIDRelacionados1, 3, 3, dw, dh, s);
            along(ucIDTulvas_Details1, 2, 2, dw, dh, s);
            bottom(ucIDTulvas_Details1, 2, 3, dw, dh, s);
            along(ucIDTelefones1, 1, 4, dw, dh, s);
            bottom(ucIDTelefones1, 3, 3, dw, dh, s);
            along(ucIDEmails1, 2, 4, dw, dh, s);
            bottom(ucIDEmails1, 3, 3, dw, dh, s);
            break;
        case 2:
            along(frames_[2], 1, 1, dw, dh, s);
            bottom(frames_[2], 1, 1, dw, dh, s);
            bottom(ucIDTipos_Links1, 1, 2, dw, dh, s);
            along(ucIDTipos_Links1, 1, 6, dw, dh, s);
            along(ucIDComm1, 2, 6, dw, dh, s);
            along(ucIDComm1, 1, 6, dw, dh, s);
            along(ucIDComm1, 1, 2, dw, dh, s);
            bottom(ucIDComm1, 1, 2, dw, dh, s);
            along(ListView2, 1, 6, dw, dh, s);
            bottom(ListView2, 2, 2, dw, dh, s);
            moveAlong(Listview2_Label, 1, 6, dw, dh, s);
            moveBottom(Listview2_Label, 1, 6, dw, dh, s);
            along(ucIDObs1, 2, 6, dw, dh, s);
            along(ucIDObs1, 1, 6, dw, dh, s);
            along(ucIDObs1, 1, 2, dw, dh, s);
            bottom(ucIDObs1, 2, 2, dw, dh, s);
            break;
        case 3:
            for (QWidget* w : std::initializer_list<QWidget*>{frames_[3], ucIDPermitions1}) {
                along(w, 1, 1, dw, dh, s);
                bottom(w, 1, 1, dw, dh, s);
            }
            for (int i = 11; i <= 13; ++i)
                moveAlong(commands_[i], 2, 1, dw, dh, s);
            break;
        case 4:
            for (QWidget* w : std::initializer_list<QWidget*>{frames_[4], ucIDArqDoc1}) {
                along(w, 1, 1, dw, dh, s);
                bottom(w, 1, 1, dw, dh, s);
            }
            break;
        default:
            break;
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Resize_Frame"), e);
    }
}

// ---- closing ----

void frmInicial::closeEvent(QCloseEvent* event)
{
    if (!inPro && AskForSavings() == 2) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    emit unloaded();
}

void frmInicial::Form_Unload()
{
    try {
        inPro = false;
        if (!isMaximized() && !isMinimized()) {
            const int values[] = {Left(this), Top(this), Width(this), Height(this), int(Frame_Selected)};
            const char* names[] = {"Left", "Top", "Width", "Height", "Frame"};
            for (int i = 0; i < 5; ++i)
                modRegistry::DefinirValorDWORD(windowKey, QString::fromLatin1(names[i]), values[i]);
        }
        std::fill(std::begin(tabWidths_), std::end(tabWidths_), 0);
        std::fill(std::begin(tabHeights_), std::end(tabHeights_), 0);
        Frame_Selected = 0;
        isNew = false;
        loaded_ = false;
        if (auto* host = dynamic_cast<HostCallback*>(CallBackClass.get())) {
            try {
                qint32 id = Contacto_ID;
                if (clCurrentIndex != 0)
                    host->RemoteActivate(id, clCurrentIndex, clCurrentObject, clLast_Related_ID);
                else
                    host->RemoteKey(id);
            } catch (const vb::Error&) {
                // a host that does not answer is no failure of the card
            }
        }
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("Form_Unload"), e);
    }
}


bool frmInicial::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Descrit2 && event->type() == QEvent::MouseButtonRelease) {
        ucIDTulvas1->ShowTypes(0, 0);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
