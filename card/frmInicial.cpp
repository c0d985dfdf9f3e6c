// The card's window: its construction, the wiring of the panels' events, the
// changed flag's look and the toolbar's state.
#include "card/frmInicial.h"

#include "card/CardImages.h"
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "connection/ErrorReport.h"
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
#include "permissions/modCheckPermissions.h"
#include "platform/values/Twips.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int noticeMs = 6000; // how long a notice stays in the status bar

} // namespace

frmInicial::frmInicial(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmInicial"));
    setWindowTitle(card::title);
    ImageList_Active = CardImages::active();
    ImageList_Disabled = CardImages::disabled();
    buildMenus();
    buildToolbar();
    buildFrames();
    connectPanels();
    orderKeyboardFocus();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, &frmInicial::Timer1_Timer);
    resize(vb::twipsToPixels(card::designWidth), vb::twipsToPixels(card::designHeight));
    setMinimumSize(vb::twipsToPixels(card::minimumWidth), vb::twipsToPixels(card::minimumHeight));
    keepDesignLayout();
}

frmInicial::~frmInicial() = default;

// Tab follows the card from top to bottom: the contact's type in the title
// band, the tab strip, then the shown page and the buttons under it.
void frmInicial::orderKeyboardFocus()
{
    QWidget* type = ucIDTulvas1->findChild<QComboBox*>(QStringLiteral("cboTipo"));
    if (!type)
        return;
    QWidget::setTabOrder(commands_[3], type);
    QWidget::setTabOrder(type, TabStrip1);
}

// The after-load timer: once the load event is over, the panels that want
// the focus take it.
void frmInicial::Timer1_Timer()
{
    handle("Timer1_Timer", [this] {
        Timer1->setInterval(0);
        Timer1->stop();
        ucIDSingular1->PostLoad();
        ucIDTulvas_Details1->PostLoad();
    });
}

QString frmInicial::caption() const
{
    return windowTitle();
}

void frmInicial::reportError(const QString& procedure, const vb::Error& e) const
{
    ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, objectName()), procedure, e);
}

void frmInicial::connectPanels()
{
    for (IdentityPanel* panel : std::initializer_list<IdentityPanel*>{
             ucIDSingular1, ucIDInstitucional1, ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDObs1,
             ucIDTulvas1, ucIDTulvas_Details1, ucIDPermitions1})
        connect(panel, &IdentityPanel::Changed, this, [this] { setPrpAlteracoes(true); });
    connect(ucIDSingular1, &ucIDSingular::NomeHasChanged, this,
            [this](const QString& nome, const QString& apelido, const QString& titulo) {
                handle("ucIDSingular1_NomeHasChanged",
                       [&] { showTitle(card::titleLine(titulo, apelido, nome)); });
            });
    connect(ucIDInstitucional1, &ucIDInstitucional::NomeHasChanged, this, [this](const QString& name) {
        handle("ucIDInstitucional1_NomeHasChanged", [&] { showTitle(name); });
    });
    connect(ucIDTulvas1, &ucIDTulvas::TipoChanged, this, [this](const QString& text) {
        handle("ucIDTulvas1_TipoChanged", [&] { Descrit2->setText(text); });
    });
    connect(ucIDRelacionados1, &ucIDRelacionados::RequestOpen, this, [this](qint32 id) {
        qint32 contact = id;
        ucIDRelacionados1_RequestOpen(contact);
    });
    // Every panel's own message reaches the user (the institution's always
    // did; the others tell what is wrong with a date, an e-mail, a photo).
    for (IdentityPanel* panel : allPanels()) {
        connect(panel, &IdentityPanel::Error, this, [this](int, const QString& message) {
            platform::WindowServices::current().messageBox(message, platform::msgbox::OKOnly, caption());
        });
        connect(panel, &IdentityPanel::Notice, this,
                [this](const QString& text) { statusBar()->showMessage(text, noticeMs); });
    }
    // Writes a panel makes at once need the right to change the contact.
    for (IdentityPanel* panel :
         std::initializer_list<IdentityPanel*>{ucIDFotos1, ucIDRelacionados1, ucIDArqDoc1})
        panel->MayWrite = [this] { return hasRight(modCheckPermissions::Change, card::refusedChange); };
}

QList<IdentityPanel*> frmInicial::allPanels() const
{
    return {ucIDSingular1,       ucIDInstitucional1, ucIDMoradas1,      ucIDTelefones1,
            ucIDEmails1,         ucIDObs1,           ucIDFotos1,        ucIDTulvas1,
            ucIDTulvas_Details1, ucIDPermitions1,    ucIDRelacionados1, ucIDTipos_Links1,
            ucIDArqDoc1,         ucIDComm1};
}

void frmInicial::showTitle(const QString& line)
{
    Descrit1->setText(line);
    setWindowTitle(line);
}

void frmInicial::setPrpAlteracoes(bool changed)
{
    changed_ = changed;
    const int image = changed ? CardImages::SaveWithChanges : CardImages::Save;
    images_.insert(QStringLiteral("btGravar"), image);
    toolbarButton(QStringLiteral("btGravar"))->setIcon(ImageList_Active[image - 1]);
    // A new contact may be saved before anything is typed: the save then
    // says what is missing, by the keyboard as by the toolbar.
    mnGravar->setEnabled(changed || isNew);
}

void frmInicial::setToolbarEnabled(bool enabled)
{
    for (QAction* a : Toolbar1->actions())
        a->setEnabled(enabled);
}

QAction* frmInicial::toolbarButton(const QString& key) const
{
    return Toolbar1->findChild<QAction*>(key);
}

int frmInicial::toolbarImage(const QString& key) const
{
    return images_.value(key);
}

bool frmInicial::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Descrit2 && event->type() == QEvent::MouseButtonRelease) {
        Descrit2_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
