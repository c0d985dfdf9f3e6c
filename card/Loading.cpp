// Loading the card: Form_Load prepares the panels once and restores the
// window and tab; PreencherCampos fills one tab's panels for Contacto_ID.
#include "card/frmInicial.h"

#include "card/CardSettings.h"
#include "card/TwipsGeometry.h"
#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
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
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modControls.h"
#include "settings/modRegistry.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace {

const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id=%1";
const char16_t selectPermissions[] =
    u"SELECT tbTulvas_Contactos_permitions.* FROM tbTulvas_Contactos_permitions WHERE contacto_id=%1";
const QString defaultFont = QStringLiteral("MS Sans Serif");
const QString defaultGroupCode = QStringLiteral("$0001");
const QString allRightsGroupMask = QStringLiteral("$00011111"); // "$0001" with all four rights
const QString fileTable = QStringLiteral("tbTulvas_Contactos");
constexpr int optionsOfPermissionsQuery = 8;
constexpr int afterLoadDelayMs = 1;
constexpr qint16 notesFontSize = 12;

} // namespace

void frmInicial::preparePanels()
{
    const ado::Connection shared = Data().SqlServer;
    const ConnectionState& c = Conn();
    QString& font = modControls::ConfiguredFontName();
    for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{
             ucIDSingular1, ucIDInstitucional1, ucIDMoradas1, ucIDTelefones1, ucIDEmails1}) {
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
    ucIDTulvas1->FileTable = fileTable;
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
        sizes_ = {TwipsGeometry::Width(this), TwipsGeometry::Height(this), TwipsGeometry::Width(this),
                  TwipsGeometry::Height(this)};
        modControls::ApplyConfiguredFont(this);
        if (modControls::ConfiguredFontName().isEmpty())
            modControls::ConfiguredFontName() = defaultFont;
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
        // A card shown already is taken for another entry: what is pending
        // is offered for saving once, a new contact not stored is given up,
        // and whatever tab comes back is loaded afresh for Contacto_ID.
        if (isVisible() && changed_)
            AskForSavings();
        setPrpAlteracoes(false);
        isNew = false;
        Frame_Selected = 0;
        layOutFromDesign();
        return restoreWindow();
    } catch (const vb::Error& e) {
        platform::WindowServices::current().messageBox(QStringLiteral("Erro nas definições do Registry!"),
                                                       platform::msgbox::Critical, caption());
        reportError(QStringLiteral("Form_Load"), e);
        close();
        return false;
    }
}

void frmInicial::PreencherCampos(qint32& tab)
{
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty()) {
            markTabUnread(tab);
            return;
        }
        switch (tab) {
        case card::tabIdentification:
            loadIdentification();
            break;
        case card::tabOtherInformation:
            loadOtherInformation();
            showAuditLine();
            break;
        case card::tabPermissions:
            loadPermissions();
            showAuditLine();
            break;
        case card::tabArchive:
            loadArchive();
            showAuditLine();
            break;
        default:
            break;
        }
    } catch (const vb::Error& e) {
        // What the panels held belongs to the contact read before (or to no
        // contact): none of it may be shown, or saved, as this one.
        markTabUnread(tab);
        reportError(QStringLiteral("PreencherCampos"), e);
    }
}

QList<IdentityPanel*> frmInicial::tabPanels(int tab) const
{
    switch (tab) {
    case card::tabIdentification:
        return {ucIDSingular1, ucIDInstitucional1, ucIDFotos1,  ucIDMoradas1,        ucIDTelefones1,
                ucIDEmails1,   ucIDRelacionados1,  ucIDTulvas1, ucIDTulvas_Details1, ucIDTipos_Links1};
    case card::tabOtherInformation:
        return {ucIDTipos_Links1, ucIDComm1, ucIDObs1, ucIDTulvas1};
    case card::tabPermissions:
        return {ucIDPermitions1, ucIDTulvas1};
    case card::tabArchive:
        return {ucIDArqDoc1, ucIDTulvas1};
    default:
        return {};
    }
}

void frmInicial::markTabUnread(int tab)
{
    for (IdentityPanel* p : tabPanels(tab))
        p->setRead(false);
    if (tab == card::tabOtherInformation)
        showEventsUnread();
    if (tab == card::tabIdentification) {
        // The lines named the contact read before, which may be another.
        Descrit1->clear();
        Descrit2->clear();
        auditOf_ = -1;
        statusPanel1->setText(QStringLiteral("Não foi possível ler este contacto do servidor."));
    }
}

// Each panel reads in turn; once the connection is gone the rest are marked
// unread without trying, for every try would raise the reconnection display.
void frmInicial::loadInTurn(const QList<IdentityPanel*>& panels)
{
    bool givenUp = false;
    for (IdentityPanel* panel : panels) {
        if (givenUp) {
            panel->setRead(false);
            continue;
        }
        loadPanel(panel);
        givenUp = !panel->holdsWhatIsStored() && Data().SqlServer.State() != ado::adStateOpen;
    }
}

// A panel's load with what it takes besides the contact's number.
void frmInicial::loadPanel(IdentityPanel* panel)
{
    const ado::Connection shared = Data().SqlServer;
    if (panel == ucIDInstitucional1)
        ucIDInstitucional1->LoadContact(Contacto_ID, false, &shared);
    else if (panel == ucIDRelacionados1)
        ucIDRelacionados1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser, Conn().strPassword);
    else if (panel == ucIDComm1)
        ucIDComm1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser);
    else
        panel->LoadContact(Contacto_ID, false);
}

void frmInicial::loadIdentification()
{
    ucIDFotos1->ContactNumber = 0;
    ucIDSingular1->UserName = Conn().strUser;
    ucIDInstitucional1->UserName = Conn().strUser;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty()) {
        markTabUnread(card::tabIdentification);
        return;
    }
    ado::Recordset rs;
    rs.Open(sql::compose(selectContact, {Contacto_ID}), Data().SqlServer);
    if (rs.Eof()) {
        markTabUnread(card::tabIdentification); // the contact is not there (any more)
    } else {
        const vb::Variant kind = rs(QStringLiteral("genero_id"));
        singular_ = !kind.isNull() && vb::CLng(kind) == 1;
        ucIDSingular1->setVisible(singular_);
        ucIDInstitucional1->setVisible(!singular_);
        mnConverterInstitucional->setVisible(singular_);
        mnConverterSingular->setVisible(!singular_);
        // The identity panel not shown holds nothing of this contact.
        (singular_ ? static_cast<IdentityPanel*>(ucIDInstitucional1) : ucIDSingular1)->setRead(false);
        IdentityPanel* identity = singular_ ? static_cast<IdentityPanel*>(ucIDSingular1) : ucIDInstitucional1;
        loadInTurn({identity, ucIDFotos1, ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDRelacionados1,
                    ucIDTulvas1, ucIDTulvas_Details1, ucIDTipos_Links1});
        Fill_Modified();
    }
    rs.Close();
    Timer1->start(afterLoadDelayMs);
}

void frmInicial::loadOtherInformation()
{
    qint32 noEvent = 0;
    Fill_Eventos(noEvent);
    ucIDComm1->SortColumn = 0;
    ucIDComm1->SortOrder = 0;
    loadInTurn({ucIDTipos_Links1, ucIDComm1, ucIDObs1, ucIDTulvas1});
    ucIDObs1->setFontSize(notesFontSize);
    Frame_Selected = card::tabOtherInformation;
    Fill_Descrit();
}

void frmInicial::loadPermissions()
{
    ucIDPermitions1->setConnection(Data().SqlServer);
    ucIDPermitions1->DefaultGroupCode = defaultGroupCode;
    ucIDPermitions1->TableName = fileTable;
    ucIDPermitions1->UserName = Conn().strUser;
    // Every load starts from the defaults: a contact without a permissions
    // row shows no masks, not those of the contact shown before. Until the
    // row is read the panel holds nothing that may be written.
    ucIDPermitions1->ContactNumber = Contacto_ID;
    ucIDPermitions1->setRead(false);
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty()) {
        ucIDTulvas1->setRead(false);
        return;
    }
    ado::Recordset rs;
    rs.Open(sql::compose(selectPermissions, {Contacto_ID}), Data().SqlServer, ado::adOpenDynamic,
            ado::adLockOptimistic, optionsOfPermissionsQuery);
    if (!rs.Eof()) {
        const vb::Variant user = rs(QStringLiteral("user_code"));
        ucIDPermitions1->setUserMask(user.isNull() ? QString() : vb::CStr(user));
        // A Null group mask counts as empty: the record gets all rights for
        // the default group, written back at once.
        const vb::Variant group = rs(QStringLiteral("group_code"));
        if (!group.isNull() && !vb::CStr(group).isEmpty()) {
            ucIDPermitions1->setGroupMask(vb::CStr(group));
        } else {
            ucIDPermitions1->setGroupMask(allRightsGroupMask);
            TransactionScope unit;
            unit.begin();
            rs.Fields(QStringLiteral("group_code")).setValue(allRightsGroupMask);
            rs.Update();
            unit.commit();
        }
    }
    rs.Close();
    ucIDPermitions1->setRead(true);
    ucIDTulvas1->LoadContact(Contacto_ID, false);
    Frame_Selected = card::tabPermissions;
    Fill_Descrit();
}

void frmInicial::loadArchive()
{
    ucIDArqDoc1->FontName = modControls::ConfiguredFontName();
    ucIDArqDoc1->setConnection(Data().SqlServer);
    ucIDArqDoc1->ReadOnlyMode = false;
    ucIDArqDoc1->UserName = Conn().strUser;
    const vb::Variant server = modRegistry::ObterValorString(card::tlvKey, QStringLiteral("DataServer"));
    ucIDArqDoc1->DataServer = server.isNull() ? QString() : vb::CStr(server);
    ucIDArqDoc1->LoadContact(Contacto_ID);
    // The contact's kinds show above every tab: they are this contact's.
    loadPanel(ucIDTulvas1);
    Frame_Selected = card::tabArchive;
    Fill_Descrit();
}
