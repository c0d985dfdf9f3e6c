// Saving the record card: the rights and duplicate checks, the transaction
// around the panels' writes, the messages, and the question before leaving
// unsaved changes.
#include "card/AddUserToGroup.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "component/ConnectionState.h"
#include "component/ErrorReport.h"
#include "data/modCode.h"
#include "data/modData.h"
#include "data/modSQLConnection.h"
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
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace {

using namespace platform::msgbox;
using card::lineBreak;
using card::securityTitle;

const char16_t selectOtherTaxNumber[] = u"SELECT * FROM tbContactos WHERE contacto_id <> %1 AND %2%3";
const char16_t selectTaxNumber[] = u"SELECT * FROM tbContactos WHERE %1%2";
const char16_t compareIndividual[] = u"replace(no_contribuinte,' ','') = ";
const char16_t compareInstitution[] = u"replace(no_contribuinte, ' ','') = ";
const char16_t selectFilesOf[] =
    u"SELECT tbContactos_Tipos_Links.*, tbContactos_Tipos.descrit  FROM tbContactos_Tipos_Links LEFT JOIN "
    u"tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = tbContactos_Tipos.contacto_tipo_id "
    u"WHERE "
    u"tbContactos_Tipos_Links.contacto_id = %1";
const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id=%1";
const char16_t updateMasks[] =
    u"UPDATE tbTulvas_Contactos_Permitions SET group_code = '%1', user_code = '%2' WHERE contacto_id=%3";

constexpr int securityStyle = Critical | SystemModal;
constexpr qint32 fileKind = 2; // tbTulvas_Contactos
const QString fileName = QStringLiteral("Contactos Quarvenses");

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

void beginUnlessOpen()
{
    if (!modCode::IsInTransaction())
        Data().SqlServer.BeginTrans();
}

void commitIfOpen()
{
    if (modCode::IsInTransaction())
        Data().SqlServer.CommitTrans();
}

// The save was refused before anything was written: nothing to undo.
struct Refused {};

} // namespace

qint32 frmInicial::AskForSavings(qint32 frame)
{
    try {
        if (!isVisible() || !changed_)
            return 0;
        const qint32 answer =
            windows().messageBox(QStringLiteral("Foram feitas alterações a esta ficha.") + lineBreak +
                                     lineBreak + QStringLiteral("Deseja gravar as alterações efectuadas?"),
                                 Question | YesNoCancel, caption());
        if (answer == AnswerYes) {
            qint32 tab = frame == 0 ? selectedTab() : frame;
            GravarCampos(tab);
        }
        return answer;
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("AskForSavings"), e);
        return 0;
    }
}

bool frmInicial::GravarCampos(qint32& index)
{
    try {
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return saveFailed(nullptr);
        const QString& user = Conn().strUser;
        const bool allowed =
            isNew ? modCheckPermissions::CheckObjectSecurity(user, 0, fileKind, modCheckPermissions::Create)
                  : modCheckPermissions::CheckObjectSecurity(user, Contacto_ID, fileKind,
                                                             modCheckPermissions::Change);
        if (!allowed) {
            windows().messageBox(
                isNew
                    ? QStringLiteral(
                          "Não tem permissões para criar este registo, contacte o administrador do sistema "
                          "para que este lhe estabeleça as permissões necessárias.")
                    : QStringLiteral(
                          "Não tem permissões para alterar (ou gravar) este registo, contacte o "
                          "administrador do sistema para que este lhe estabeleça as permissões necessárias."),
                securityStyle, securityTitle);
            return false;
        }
        switch (index) {
        case card::tabIdentification:
            return saveIdentification();
        case card::tabOtherInformation:
            return saveOtherInformation();
        case card::tabPermissions:
            return savePermissions();
        default:
            saveSucceeded();
            return true;
        }
    } catch (const Refused&) {
        return false;
    } catch (const vb::Error& e) {
        return saveFailed(&e);
    }
}

void frmInicial::saveSucceeded()
{
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
}

bool frmInicial::saveFailed(const vb::Error* error)
{
    try {
        if (modCode::IsInTransaction())
            Data().SqlServer.RollbackTrans();
    } catch (const vb::Error&) {
    }
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    if (error && !error->description().isEmpty())
        windows().messageBox(error->description(), Information, caption());
    if (error)
        reportError(QStringLiteral("GravarCampos"), *error);
    return false;
}

// True when the typed tax number belongs to another contact of some file;
// the user is told which files.
bool frmInicial::duplicateTaxNumber()
{
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        throw vb::Error(0, {});
    QString typed = singular_ ? ucIDSingular1->TaxNumber() : ucIDInstitucional1->TaxNumber();
    typed.remove(u' ');
    const QString literal = modData::FormatSQLValue(typed, modData::kTextNotNull);
    const QString compare = QString::fromUtf16(singular_ ? compareIndividual : compareInstitution);
    const QString sql = Contacto_ID != 0 ? sql::compose(selectOtherTaxNumber, {Contacto_ID, compare, literal})
                                         : sql::compose(selectTaxNumber, {compare, literal});
    ado::Recordset rs;
    rs.Open(sql, Data().SqlServer);
    const qint32 duplicate = rs.Eof() ? 0 : vb::CLng(rs(QStringLiteral("contacto_id")));
    rs.Close();
    if (duplicate == 0)
        return false;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        throw vb::Error(0, {});
    rs.Open(sql::compose(selectFilesOf, {duplicate}), Data().SqlServer);
    QStringList files;
    for (; !rs.Eof(); rs.MoveNext())
        if (!rs(QStringLiteral("descrit")).isNull())
            files.append(vb::CStr(rs(QStringLiteral("descrit"))));
    rs.Close();
    if (files.isEmpty())
        return false;
    windows().messageBox(QStringLiteral("Não é possivel gravar este contacto porque já existe na base de "
                                        "dados no(s) seguinte(s) ficheiro(s):") +
                             lineBreak + lineBreak + files.join(QStringLiteral(", ")) + lineBreak,
                         Information, caption());
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    return true;
}

bool frmInicial::saveIdentification()
{
    if (duplicateTaxNumber())
        return false;
    windows().setMousePointer(this, platform::pointer::Hourglass);
    setToolbarEnabled(false);
    beginUnlessOpen();
    QString user = Conn().strUser;
    const qint32 result = singular_ ? ucIDSingular1->Save(user) : ucIDInstitucional1->Save(user);
    if (result > 0) {
        ucIDFotos1->ProductName = Conn().strDataServer;
        ucIDFotos1->ContactNumber = result;
        qint32 id = result;
        ucIDFotos1->LoadContact(id, false);
        for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{
                 ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDTulvas1, ucIDTulvas_Details1})
            p->ContactNumber = result;
        QString file = fileName;
        if (!card::AddUserToGroup(id, file)) {
            windows().messageBox(
                QStringLiteral("Erro: enquanto adicionava o novo registo ao ficheiro Contactos Quarvenses."),
                OKOnly, caption());
            return saveFailed(nullptr);
        }
    }
    if (result > 0 || result == -1) {
        const struct {
            std::function<bool()> save;
            const char* message;
        } parts[] = {
            {[&] { return ucIDMoradas1->Save(user); }, "Erro: gravação de moradas"},
            {[&] { return ucIDTelefones1->Save(user); }, "Erro: gravação de telefones"},
            {[&] { return ucIDEmails1->Save(user); }, "Erro: gravação de emails"},
            {[&] { return ucIDTulvas_Details1->Save(user) == -1; }, "Erro: gravação de outros details"},
            {[&] { return !ucIDTulvas1->HasChanges() || ucIDTulvas1->Save(user) == -1; },
             "Erro: gravação de tipo de contacto"},
        };
        for (const auto& part : parts)
            if (!part.save())
                windows().messageBox(QString::fromUtf8(part.message), OKOnly, caption());
    } else {
        windows().messageBox(QStringLiteral("Erro na gravação."), OKOnly, caption());
    }
    if (result > 0) {
        Rs = ado::Recordset();
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return saveFailed(nullptr);
        Rs.Open(sql::compose(selectContact, {result}), Data().SqlServer);
        Contacto_ID = result;
    }
    commitIfOpen();
    ucIDRelacionados1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser, Conn().strPassword);
    ucIDTipos_Links1->LoadContact(Contacto_ID, false);
    setPrpAlteracoes(false);
    ucIDTelefones1->Refresh();
    Fill_Modified();
    isNew = false;
    ucIDRelacionados1->ContactStored = true;
    saveSucceeded();
    return true;
}

bool frmInicial::saveOtherInformation()
{
    windows().setMousePointer(this, platform::pointer::Hourglass);
    setToolbarEnabled(false);
    if (isNew) {
        saveSucceeded();
        return false;
    }
    beginUnlessOpen();
    QString user = Conn().strUser;
    ucIDObs1->Save(user);
    if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1)
        windows().messageBox(QStringLiteral("Erro: gravação de tipo de contacto"), OKOnly, caption());
    commitIfOpen();
    prpEventos = false;
    setPrpAlteracoes(false);
    Fill_Descrit();
    saveSucceeded();
    return true;
}

bool frmInicial::savePermissions()
{
    windows().setMousePointer(this, platform::pointer::Hourglass);
    setToolbarEnabled(false);
    if (!modCheckPermissions::CheckObjectSecurity(Conn().strUser, Contacto_ID, fileKind,
                                                  modCheckPermissions::ChangePermissions)) {
        windows().messageBox(
            QStringLiteral(
                "Não tem permissões para alterar as permissões deste registo, contacte o administrador do "
                "sistema para que este lhe estabeleça as permissões necessárias."),
            securityStyle, securityTitle);
        saveSucceeded();
        return true;
    }
    if (isNew) {
        saveSucceeded();
        return false;
    }
    // Masks go between apostrophes; doubling them keeps the statement whole
    // (masks made of "$" codes and digits are written unchanged).
    const QString group = sql::doubled(ucIDPermitions1->GroupMask());
    const QString userMask = sql::doubled(ucIDPermitions1->UserMask());
    beginUnlessOpen();
    Data().SqlServer.Execute(sql::compose(updateMasks, {group, userMask, Contacto_ID}));
    QString user = Conn().strUser;
    if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1)
        windows().messageBox(QStringLiteral("Erro: gravação de tipo de contacto"), OKOnly, caption());
    commitIfOpen();
    setPrpAlteracoes(false);
    Fill_Descrit();
    saveSucceeded();
    return true;
}
