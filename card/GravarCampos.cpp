// Saving the record card: the rights and duplicate checks, the transaction
// around the panels' writes, the messages, and the question before leaving
// unsaved changes.
#include "card/AddUserToGroup.h"
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
#include "platform/values/Conversions.h"
#include "platform/windows/WindowServices.h"

namespace {

constexpr int securityStyle = 4112;
constexpr int vbInformation = 64;
constexpr int vbQuestionYesNoCancel = 32 + 3;
constexpr int hourglass = 11;
const QString securityTitle = QStringLiteral("Sistema de Segurança");
const QString lineBreak = QStringLiteral("\n\r");

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
        const qint32 answer = windows().messageBox(QStringLiteral("Foram feitas alterações a esta ficha.") + lineBreak + lineBreak +
                                                       QStringLiteral("Deseja gravar as alterações efectuadas?"),
                                                   vbQuestionYesNoCancel, caption());
        if (answer == 6) {
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
        const bool allowed = isNew ? modCheckPermissions::CheckObjectSecurity(user, 0, 2, modCheckPermissions::Create)
                                   : modCheckPermissions::CheckObjectSecurity(user, Contacto_ID, 2, modCheckPermissions::Change);
        if (!allowed) {
            windows().messageBox(isNew ? QStringLiteral("Não tem permissões para criar este registo, contacte o administrador do sistema "
                                                        "para que este lhe estabeleça as permissões necessárias.")
                                       : QStringLiteral("Não tem permissões para alterar (ou gravar) este registo, contacte o "
                                                        "administrador do sistema para que este lhe estabeleça as permissões necessárias."),
                                 securityStyle, securityTitle);
            return false;
        }
        switch (index) {
        case 1: return saveIdentification();
        case 2: return saveOtherInformation();
        case 3: return savePermissions();
        default: saveSucceeded(); return true;
        }
    } catch (const Refused&) {
        return false;
    } catch (const vb::Error& e) {
        return saveFailed(&e);
    }
}

void frmInicial::saveSucceeded()
{
    windows().setMousePointer(this, 0);
    setToolbarEnabled(true);
}

bool frmInicial::saveFailed(const vb::Error* error)
{
    try {
        if (modCode::IsInTransaction())
            Data().SqlServer.RollbackTrans();
    } catch (const vb::Error&) {
    }
    windows().setMousePointer(this, 0);
    setToolbarEnabled(true);
    if (error && !error->description().isEmpty())
        windows().messageBox(error->description(), vbInformation, caption());
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
    const QString compare = singular_ ? QStringLiteral("replace(no_contribuinte,' ','') = ") : QStringLiteral("replace(no_contribuinte, ' ','') = ");
    const QString sql = Contacto_ID != 0 ? QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id <> %1 AND ").arg(Contacto_ID) + compare + literal
                                         : QStringLiteral("SELECT * FROM tbContactos WHERE ") + compare + literal;
    ado::Recordset rs;
    rs.Open(sql, Data().SqlServer);
    const qint32 duplicate = rs.Eof() ? 0 : vb::CLng(rs(QStringLiteral("contacto_id")));
    rs.Close();
    if (duplicate == 0)
        return false;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        throw vb::Error(0, {});
    rs.Open(QStringLiteral("SELECT tbContactos_Tipos_Links.*, tbContactos_Tipos.descrit  FROM tbContactos_Tipos_Links LEFT JOIN "
                           "tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = tbContactos_Tipos.contacto_tipo_id WHERE "
                           "tbContactos_Tipos_Links.contacto_id = %1")
                .arg(duplicate),
            Data().SqlServer);
    QStringList files;
    for (; !rs.Eof(); rs.MoveNext())
        if (!rs(QStringLiteral("descrit")).isNull())
            files.append(vb::CStr(rs(QStringLiteral("descrit"))));
    rs.Close();
    if (files.isEmpty())
        return false;
    windows().messageBox(QStringLiteral("Não é possivel gravar este contacto porque já existe na base de dados no(s) seguinte(s) ficheiro(s):") +
                             lineBreak + lineBreak + files.join(QStringLiteral(", ")) + lineBreak,
                         vbInformation, caption());
    windows().setMousePointer(this, 0);
    setToolbarEnabled(true);
    return true;
}

bool frmInicial::saveIdentification()
{
    if (duplicateTaxNumber())
        return false;
    windows().setMousePointer(this, hourglass);
    setToolbarEnabled(false);
    beginUnlessOpen();
    QString user = Conn().strUser;
    const qint32 result = singular_ ? ucIDSingular1->Save(user) : ucIDInstitucional1->Save(user);
    if (result > 0) {
        ucIDFotos1->ProductName = Conn().strDataServer;
        ucIDFotos1->ContactNumber = result;
        qint32 id = result;
        ucIDFotos1->LoadContact(id, false);
        for (IdentityPanel* p : std::initializer_list<IdentityPanel*>{ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDTulvas1, ucIDTulvas_Details1})
            p->ContactNumber = result;
        QString file = QStringLiteral("Contactos Quarvenses");
        if (!card::AddUserToGroup(id, file)) {
            windows().messageBox(QStringLiteral("Erro: enquanto adicionava o novo registo ao ficheiro Contactos Quarvenses."), 0, caption());
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
            {[&] { return !ucIDTulvas1->HasChanges() || ucIDTulvas1->Save(user) == -1; }, "Erro: gravação de tipo de contacto"},
        };
        for (const auto& part : parts)
            if (!part.save())
                windows().messageBox(QString::fromUtf8(part.message), 0, caption());
    } else {
        windows().messageBox(QStringLiteral("Erro na gravação."), 0, caption());
    }
    if (result > 0) {
        Rs = ado::Recordset();
        if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
            return saveFailed(nullptr);
        Rs.Open(QStringLiteral("SELECT * FROM tbContactos WHERE contacto_id=%1").arg(result), Data().SqlServer);
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
    windows().setMousePointer(this, hourglass);
    setToolbarEnabled(false);
    if (isNew) {
        saveSucceeded();
        return false;
    }
    beginUnlessOpen();
    QString user = Conn().strUser;
    ucIDObs1->Save(user);
    if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1)
        windows().messageBox(QStringLiteral("Erro: gravação de tipo de contacto"), 0, caption());
    commitIfOpen();
    prpEventos = false;
    setPrpAlteracoes(false);
    Fill_Descrit();
    saveSucceeded();
    return true;
}

bool frmInicial::savePermissions()
{
    windows().setMousePointer(this, hourglass);
    setToolbarEnabled(false);
    if (!modCheckPermissions::CheckObjectSecurity(Conn().strUser, Contacto_ID, 2, modCheckPermissions::ChangePermissions)) {
        windows().messageBox(QStringLiteral("Não tem permissões para alterar as permissões deste registo, contacte o administrador do "
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
    QString group = ucIDPermitions1->GroupMask();
    QString userMask = ucIDPermitions1->UserMask();
    group.replace(u'\'', QStringLiteral("''"));
    userMask.replace(u'\'', QStringLiteral("''"));
    beginUnlessOpen();
    Data().SqlServer.Execute(QStringLiteral("UPDATE ") + QStringLiteral("tbTulvas_Contactos_Permitions") + QStringLiteral(" SET ") +
                             QStringLiteral("group_code = '") + group + QStringLiteral("', ") + QStringLiteral("user_code = '") + userMask +
                             QStringLiteral("' ") + QStringLiteral("WHERE contacto_id=") + QString::number(Contacto_ID));
    QString user = Conn().strUser;
    if (ucIDTulvas1->HasChanges() && ucIDTulvas1->Save(user) != -1)
        windows().messageBox(QStringLiteral("Erro: gravação de tipo de contacto"), 0, caption());
    commitIfOpen();
    setPrpAlteracoes(false);
    Fill_Descrit();
    saveSucceeded();
    return true;
}
