// Saving tab 1, the identification: the duplicate tax-number check, a change
// made by someone else since the card loaded, then the identity panel and its
// sub-panels in one transaction, and filing a new contact in this file.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "data/TaxNumber.h"
#include "data/TransactionScope.h"
#include "data/modCode.h"
#include "data/modData.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDRelacionados.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTipos_Links.h"
#include "panels/ucIDTulvas.h"
#include "panels/ucIDTulvas_Details.h"
#include "permissions/AddUserToGroup.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <functional>

namespace {

using namespace platform::msgbox;
using card::lineBreak;

const char16_t selectOtherTaxNumber[] = u"SELECT * FROM tbContactos WHERE contacto_id <> %1 AND %2%3";
const char16_t selectTaxNumber[] = u"SELECT * FROM tbContactos WHERE %1%2";
const char16_t compareIndividual[] = u"replace(no_contribuinte,N' ',N'') = ";
const char16_t compareInstitution[] = u"replace(no_contribuinte, N' ',N'') = ";
const char16_t selectFilesOf[] =
    u"SELECT tbContactos_Tipos_Links.*, tbContactos_Tipos.descrit  FROM tbContactos_Tipos_Links LEFT JOIN "
    u"tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = tbContactos_Tipos.contacto_tipo_id "
    u"WHERE "
    u"tbContactos_Tipos_Links.contacto_id = %1";
const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id=%1";
const char16_t selectStamp[] = u"SELECT modified_by, modified_date FROM tbContactos WHERE contacto_id = %1";

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

// Two stamps of the same save: compared to the millisecond the server keeps,
// not to the second a date's text shows (two saves within one second differ).
bool sameMoment(const vb::Variant& a, const vb::Variant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    constexpr double millisecondsADay = 86400000.0;
    return qRound64(vb::CDbl(vb::CDate(a)) * millisecondsADay) ==
           qRound64(vb::CDbl(vb::CDate(b)) * millisecondsADay);
}

// A step that failed after its own message was shown: the save ends there.
struct StepFailed {};

} // namespace

// Checked before anything is written: the first panel that refuses names the
// field and the fault, and that field has the focus.
bool frmInicial::typedValuesAccepted()
{
    IdentityPanel* identity = singular_ ? static_cast<IdentityPanel*>(ucIDSingular1) : ucIDInstitucional1;
    QList<IdentityPanel*> panels{identity};
    panels += subPanels();
    for (IdentityPanel* panel : panels) {
        const QString message = panel->Validate();
        if (message.isEmpty())
            continue;
        windows().setMousePointer(this, platform::pointer::Default);
        setToolbarEnabled(true);
        windows().messageBox(message + lineBreak + lineBreak + card::nothingSaved, Exclamation, caption());
        return false;
    }
    return true;
}

// Asked only when the NIF was typed or changed here: a foreign number stored
// once is not questioned at every save.
bool frmInicial::taxNumberAccepted()
{
    const QString typed = singular_ ? ucIDSingular1->TaxNumber() : ucIDInstitucional1->TaxNumber();
    const QString loaded =
        singular_ ? ucIDSingular1->LoadedTaxNumber() : ucIDInstitucional1->LoadedTaxNumber();
    if (typed.trimmed().isEmpty() || typed == loaded || TaxNumber::isValidPortuguese(typed))
        return true;
    windows().setMousePointer(this, platform::pointer::Default);
    const int answer = windows().messageBox(
        QStringLiteral("O NIF «") + typed.trimmed() +
            QStringLiteral("» não é um número de contribuinte português válido: tem nove algarismos, começa "
                           "por um prefixo atribuído pela Autoridade Tributária e termina no algarismo de "
                           "controlo.") +
            lineBreak + lineBreak +
            QStringLiteral(
                "Se for o número de um contribuinte estrangeiro, pode gravá-lo assim mesmo. Deseja "
                "gravar?"),
        Exclamation | YesNo | DefaultButton2, caption());
    setToolbarEnabled(true);
    return answer == AnswerYes;
}

// True when the typed tax number belongs to another contact of some file;
// the user is told which files.
bool frmInicial::duplicateTaxNumber()
{
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        throw vb::Error(0, card::connectionLost);
    QString typed = singular_ ? ucIDSingular1->TaxNumber() : ucIDInstitucional1->TaxNumber();
    typed.remove(u' ');
    const QString literal = modData::FormatSQLValue(typed, modData::kTextNotNull);
    const QString compare = QString::fromUtf16(singular_ ? compareIndividual : compareInstitution);
    const QString sql = Contacto_ID != 0 ? sql::compose(selectOtherTaxNumber, {Contacto_ID, compare, literal})
                                         : sql::compose(selectTaxNumber, {compare, literal});
    ado::Recordset rs;
    rs.Open(sql, Data().SqlServer);
    const qint32 duplicate = rs.Eof() ? 0 : vb::CLng(rs(QStringLiteral("contacto_id")));
    const QString holder = rs.Eof() || rs(QStringLiteral("nome_union")).isNull()
                               ? QString()
                               : vb::CStr(rs(QStringLiteral("nome_union")));
    rs.Close();
    if (duplicate == 0)
        return false;
    if (!modSQLConnection::CheckSQLConnection(this).isEmpty())
        throw vb::Error(0, card::connectionLost);
    rs.Open(sql::compose(selectFilesOf, {duplicate}), Data().SqlServer);
    QStringList files;
    for (; !rs.Eof(); rs.MoveNext())
        if (!rs(QStringLiteral("descrit")).isNull())
            files.append(vb::CStr(rs(QStringLiteral("descrit"))));
    rs.Close();
    if (files.isEmpty())
        return false;
    // Who holds the number is named, so that the user can look it up.
    windows().messageBox(QStringLiteral("Não é possível gravar este contacto porque já existe na base de "
                                        "dados no(s) seguinte(s) ficheiro(s):") +
                             lineBreak + lineBreak + files.join(QStringLiteral(", ")) + lineBreak +
                             lineBreak + QStringLiteral("O número de contribuinte é o de ") + holder +
                             QStringLiteral(" (n.º ") + QString::number(duplicate) + QStringLiteral(")."),
                         Information, caption());
    windows().setMousePointer(this, platform::pointer::Default);
    setToolbarEnabled(true);
    return true;
}

// Someone else saved this contact after it was loaded here: the user decides
// whether to write over it. False when the save must not go on (the card then
// shows the stored contact again).
bool frmInicial::overwriteConfirmed()
{
    if (isNew || Contacto_ID == 0)
        return true;
    vb::Variant by;
    vb::Variant when;
    readStoredStamp(Contacto_ID, by, when);
    const auto text = [](const vb::Variant& v) { return v.isNull() ? QString() : vb::CStr(v); };
    if (text(by) == text(loadedModifiedBy_) && sameMoment(when, loadedModifiedDate_))
        return true;
    const QString who = by.isNull() ? QStringLiteral("outro utilizador") : text(by);
    const QString at = when.isNull() ? QString() : vb::Format(when, QStringLiteral("dd/mm/yyyy h:Nn:Ss"));
    const int answer = windows().messageBox(
        QStringLiteral("Este contacto foi alterado por ") + who + QStringLiteral(" em ") + at +
            QStringLiteral(" depois de o ter aberto. Deseja substituir essas alterações pelas suas?"),
        Question | YesNo | DefaultButton2, caption());
    if (answer == AnswerYes)
        return true;
    qint32 tab = card::tabIdentification;
    PreencherCampos(tab);
    setPrpAlteracoes(false);
    return false;
}

void frmInicial::readStoredStamp(qint32 id, vb::Variant& by, vb::Variant& when)
{
    ado::Recordset rs;
    rs.Open(sql::compose(selectStamp, {id}), Data().SqlServer);
    by = rs.Eof() ? vb::Variant::null() : rs(QStringLiteral("modified_by"));
    when = rs.Eof() ? vb::Variant::null() : rs(QStringLiteral("modified_date"));
    rs.Close();
}

// The panels of the main save that receive a new contact's number.
QList<IdentityPanel*> frmInicial::subPanels() const
{
    return {ucIDMoradas1, ucIDTelefones1, ucIDEmails1, ucIDTulvas1, ucIDTulvas_Details1};
}

bool frmInicial::saveIdentification()
{
    if (!typedValuesAccepted() || !taxNumberAccepted() || duplicateTaxNumber() || !likenessAccepted() ||
        !overwriteConfirmed())
        return false;
    IdentityPanel* identity = singular_ ? static_cast<IdentityPanel*>(ucIDSingular1) : ucIDInstitucional1;
    const qint32 before = identity->ContactNumber;
    Busy busy(*this);
    TransactionScope unit;
    qint32 created = 0;
    vb::Variant savedBy;
    vb::Variant savedWhen;
    try {
        modCode::IsInTransaction(); // asked as ever; the unit goes by the connection's own count
        unit.begin();
        QString user = Conn().strUser;
        const qint32 result = singular_ ? ucIDSingular1->Save(user) : ucIDInstitucional1->Save(user);
        if (result <= 0 && result != -1) {
            windows().messageBox(QStringLiteral("Erro na gravação."), OKOnly, caption());
            throw StepFailed{};
        }
        if (result > 0) {
            created = result;
            fileNewContact(created);
        }
        saveSubPanels(user);
        // Read with the writes, so that a failure after the commit cannot
        // leave the card taking its own save for someone else's.
        readStoredStamp(created > 0 ? created : Contacto_ID, savedBy, savedWhen);
        unit.commit();
    } catch (const StepFailed&) {
        unit.rollback();
        forgetNewNumber(identity, before);
        return saveFailed(vb::Error(0, card::nothingSaved));
    } catch (const vb::Error& e) {
        unit.rollback();
        forgetNewNumber(identity, before);
        return saveFailed(e);
    }
    // Stored: from here on nothing can undo the save, and nothing that fails
    // here makes it a failure.
    loadedModifiedBy_ = savedBy;
    loadedModifiedDate_ = savedWhen;
    if (created > 0) {
        Contacto_ID = created;
        Rs = ado::Recordset();
        try {
            if (modSQLConnection::CheckSQLConnection(this).isEmpty())
                Rs.Open(sql::compose(selectContact, {created}), Data().SqlServer);
        } catch (const vb::Error& e) {
            reportError(QStringLiteral("GravarCampos"), e);
        }
    }
    afterIdentificationSaved();
    tellIfNotShown(created > 0 ? QStringLiteral("O novo contacto foi gravado.")
                               : QStringLiteral("As alterações foram gravadas."));
    return true;
}

// A new contact: the photo and the sub-panels take its number, and it is
// filed in "Contactos Quarvenses" with the user's default masks.
void frmInicial::fileNewContact(qint32 id)
{
    ucIDFotos1->ProductName = Conn().strDataServer;
    ucIDFotos1->ContactNumber = id;
    ucIDFotos1->LoadContact(id, false);
    for (IdentityPanel* p : subPanels())
        p->ContactNumber = id;
    QString file = card::fileName;
    if (!membership::AddUserToGroup(id, file)) {
        windows().messageBox(
            QStringLiteral("Erro: enquanto adicionava o novo registo ao ficheiro Contactos Quarvenses."),
            OKOnly, caption());
        throw StepFailed{};
    }
}

void frmInicial::saveSubPanels(QString& user)
{
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
    for (const auto& part : parts) {
        if (!part.save()) {
            windows().messageBox(QString::fromUtf8(part.message), OKOnly, caption());
            throw StepFailed{};
        }
    }
}

// A save rolled back took the new contact with it: the panels forget its number.
void frmInicial::forgetNewNumber(IdentityPanel* identity, qint32 before)
{
    if (before != 0)
        return;
    identity->ContactNumber = 0;
    ucIDFotos1->ContactNumber = 0;
    for (IdentityPanel* p : subPanels())
        p->ContactNumber = 0;
}

void frmInicial::afterIdentificationSaved()
{
    ucIDSingular1->TaxNumberStored();
    ucIDInstitucional1->TaxNumberStored();
    ucIDRelacionados1->LoadContact(Contacto_ID, false, nullptr, Conn().strUser, Conn().strPassword);
    ucIDTipos_Links1->LoadContact(Contacto_ID, false);
    setPrpAlteracoes(false);
    ucIDTelefones1->Refresh();
    Fill_Modified();
    isNew = false;
    ucIDRelacionados1->ContactStored = true;
    saveSucceeded();
}
