// Converting the contact between individual and institution: the detail row
// of the new kind is made when missing (the old kind's stays, for a later
// conversion back), genero_id changes, and the card shows the contact again.
// Both writes are one unit and need the right to change the contact.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDSingular.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace {

using namespace platform::msgbox;

const char16_t selectInstitution[] = u"SELECT * FROM tbContactos_Institucionais WHERE contacto_id = %1";
const char16_t insertInstitution[] = u"INSERT INTO tbContactos_Institucionais (contacto_id) VALUES (%1)";
const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id = %1";
const char16_t selectIndividual[] = u"SELECT * FROM tbContactos_Singulares WHERE contacto_id = %1";
const char16_t insertIndividual[] = u"INSERT INTO tbContactos_Singulares (contacto_id, nome) VALUES (%1,%2)";
const char16_t updateKind[] = u"UPDATE tbContactos SET genero_id = %2 WHERE contacto_id = %1";
// A conversion is a change of the contact: the status line says who and when.
const char16_t touchContact[] =
    u"UPDATE tbContactos SET modified_by = %2, modified_date = GETDATE() WHERE contacto_id = %1";
const QString notConverted = QStringLiteral("O contacto não foi convertido.");
constexpr qint32 individualKind = 1;
constexpr qint32 institutionKind = 2;

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

bool hasRow(const QString& sql)
{
    ado::Recordset rs;
    rs.Open(sql, Data().SqlServer);
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

} // namespace

// The question, pending changes offered for saving, the connection and the
// right: false when the conversion must not go on.
bool frmInicial::conversionMayStart(const QString& question, const char* procedure)
{
    if (windows().messageBox(question, YesNo | Question, caption()) != AnswerYes)
        return false;
    // The card is read again afterwards: what was typed is saved first or
    // given up knowingly ("Não" discards it, as the reload would). A save
    // that failed has said so, and the conversion waits.
    const qint32 answer = AskForSavings();
    if (answer == AnswerCancel || (answer == AnswerYes && changed_))
        return false;
    setPrpAlteracoes(false);
    if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty()) {
        reportError(QString::fromLatin1(procedure), vb::Error(0, refused));
        tellNotDone(notConverted, vb::Error(ado::error::ServerUnreachable, refused));
        return false;
    }
    return hasRight(modCheckPermissions::Change, card::refusedChange);
}

void frmInicial::mnConverterInstitucional_Click()
{
    TransactionScope unit;
    try {
        if (!conversionMayStart(QStringLiteral("Deseja converter este registo em contacto institucional?"),
                                "mnConverterInstitucional_Click"))
            return;
        unit.begin();
        if (!hasRow(sql::compose(selectInstitution, {Contacto_ID})))
            Data().SqlServer.Execute(sql::compose(insertInstitution, {Contacto_ID}));
        Data().SqlServer.Execute(sql::compose(updateKind, {Contacto_ID, institutionKind}));
        Data().SqlServer.Execute(sql::compose(
            touchContact, {Contacto_ID, modData::FormatSQLValue(Conn().strUser, modData::kText)}));
        unit.commit();
    } catch (const vb::Error& e) {
        unit.rollback();
        reportError(QStringLiteral("mnConverterInstitucional_Click"), e);
        tellNotDone(notConverted, e);
        return;
    }
    showConverted(false);
}

void frmInicial::mnConverterSingular_Click()
{
    TransactionScope unit;
    try {
        if (!conversionMayStart(QStringLiteral("Deseja converter este registo em contacto singular?"),
                                "mnConverterSingular_Click"))
            return;
        ado::Recordset rs;
        rs.Open(sql::compose(selectContact, {Contacto_ID}), Data().SqlServer);
        const QString name = rs.Eof() || rs(QStringLiteral("nome_union")).isNull()
                                 ? QString()
                                 : vb::CStr(rs(QStringLiteral("nome_union")));
        rs.Close();
        if (name.isEmpty()) {
            windows().messageBox(QStringLiteral("Não foi possivel converter este contacto."), Information,
                                 caption());
            return;
        }
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty()) {
            tellNotDone(notConverted, vb::Error(ado::error::ServerUnreachable, refused));
            return;
        }
        unit.begin();
        if (!hasRow(sql::compose(selectIndividual, {Contacto_ID})))
            Data().SqlServer.Execute(
                sql::compose(insertIndividual, {Contacto_ID, modData::FormatSQLValue(name, modData::kText)}));
        Data().SqlServer.Execute(sql::compose(updateKind, {Contacto_ID, individualKind}));
        Data().SqlServer.Execute(sql::compose(
            touchContact, {Contacto_ID, modData::FormatSQLValue(Conn().strUser, modData::kText)}));
        unit.commit();
    } catch (const vb::Error& e) {
        unit.rollback();
        reportError(QStringLiteral("mnConverterSingular_Click"), e);
        tellNotDone(notConverted, e);
        return;
    }
    showConverted(true);
}

// The card shows the contact again on tab 1, as its new kind (the kind is
// known from the stored conversion, even if reading the contact fails now).
void frmInicial::showConverted(bool singular)
{
    singular_ = singular;
    ucIDSingular1->setVisible(singular);
    ucIDInstitucional1->setVisible(!singular);
    mnConverterInstitucional->setVisible(singular);
    mnConverterSingular->setVisible(!singular);
    showIdentificationTab();
    qint32 tab = card::tabIdentification;
    PreencherCampos(tab);
    setPrpAlteracoes(false);
    tellIfNotShown(singular ? QStringLiteral("O contacto foi convertido em contacto singular.")
                            : QStringLiteral("O contacto foi convertido em contacto institucional."));
}
