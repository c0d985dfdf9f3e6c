// Removing a contact: from every file it belongs to (the server's delete
// procedure), or only from this component's file, after the rights, the
// system's protection and the user's answer allow it.
#include "card/CardMessages.h"
#include "card/CardSettings.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/TransactionScope.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDTipos_Links.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modControls.h"

#include <QLabel>

namespace {

using namespace platform::msgbox;

const char16_t selectContact[] = u"SELECT * FROM tbContactos WHERE contacto_id=%1";
const char16_t selectMemberships[] =
    u"SELECT tbContactos_Tipos_Links.*,tbContactos_Tipos.descrit FROM tbContactos_Tipos_Links LEFT JOIN "
    u"tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = tbContactos_Tipos.contacto_tipo_id "
    u"WHERE "
    u"tbContactos_Tipos_Links.contacto_id=%1";
const char16_t deleteEverywhere[] = u"EXECUTE spDELETE_CONTACTO %1,0";
const QString protectionColumn = QStringLiteral("user_delete");
const QString lineBreak = card::lineBreak;

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

// A user_delete column whose value is anything but 0 (Null too) protects the
// contact; a table without the column protects nobody.
bool isProtected(const ado::Recordset& contact)
{
    for (int i = 0; i < contact.FieldCount(); ++i) {
        const ado::Field field = contact.Fields(i);
        if (field.Name().compare(protectionColumn, Qt::CaseInsensitive) == 0) {
            const vb::Variant value = field.Value();
            return value.isNull() || vb::CDbl(value) != 0;
        }
    }
    return false;
}

// A file whose type is gone (the join gives Null) reads as empty text.
QString textOf(const ado::Recordset& rs, const QString& field)
{
    const vb::Variant v = rs(field);
    return v.isNull() ? QString() : vb::CStr(v);
}

const QString notDeleted = QStringLiteral("O contacto não foi apagado.");

} // namespace

void frmInicial::mnRemover_Click()
{
    try {
        if (!hasRight(modCheckPermissions::Remove, card::refusedRemove))
            return;
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            return;
        ado::Recordset rs;
        rs.Open(sql::compose(selectContact, {Contacto_ID}), Data().SqlServer);
        if (rs.Eof()) {
            rs.Close();
            return;
        }
        if (isProtected(rs)) {
            windows().messageBox(
                QStringLiteral("Não é possível remover esta ficha porque está protegida pelo sistema."),
                Information, {});
            rs.Close();
            return;
        }
        const int answer = windows().messageBox(QStringLiteral("Deseja apagar o contacto ") +
                                                    Descrit1->text() + QStringLiteral("?"),
                                                YesNo | Question, caption());
        if (answer != AnswerYes) {
            rs.Close();
            return;
        }
        qint32 id = Contacto_ID;
        bool inactive = false;
        if (Apagar_Contacto(id, inactive)) {
            setPrpAlteracoes(false); // nothing left to offer for saving
            close();
        }
        rs.Close();
    } catch (const vb::Error& e) {
        reportError(QStringLiteral("mnRemover_Click"), e);
    }
}

bool frmInicial::Apagar_Contacto(qint32& contactoId, bool& FicInactivos, qint32 Response)
{
    TransactionScope unit;
    try {
        if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
            throw vb::Error(0, refused);
        ado::Recordset files;
        files.Open(sql::compose(selectMemberships, {contactoId}), Data().SqlServer);
        if (files.Eof()) {
            files.Close();
            return true; // in no file: nothing to delete
        }
        files.MoveLast();
        files.MoveFirst();
        const int count = files.RecordCount();
        QString list = count > 1 ? QStringLiteral("Este contacto pertence a vários ficheiros, nomeadamente: ")
                                 : QStringLiteral("Este contacto pertence ao ficheiro: ");
        list += lineBreak + lineBreak;
        for (; !files.Eof(); files.MoveNext())
            list += textOf(files, QStringLiteral("descrit")) + lineBreak;
        files.MoveFirst();
        if (Response == 0)
            Response = askHowToDelete(list, count, textOf(files, QStringLiteral("descrit")));
        if (Response == AnswerYes) {
            modCode::IsInTransaction(); // asked as ever; the unit goes by the connection's own count
            unit.begin();
            deleteEverywhereOf(contactoId);
            unit.commit();
            files.Close();
            return true;
        }
        if (Response == AnswerCancel) {
            files.Close();
            return false;
        }
        if (Response == AnswerNo && count > 1) {
            modCode::IsInTransaction(); // asked as ever; the unit goes by the connection's own count
            unit.begin();
            ucIDTipos_Links1->FontName = modControls::ConfiguredFontName();
            ucIDTipos_Links1->setConnection(Data().SqlServer);
            ucIDTipos_Links1->ContactNumber = contactoId;
            ucIDTipos_Links1->InactiveFiles = FicInactivos;
            if (!ucIDTipos_Links1->RemoveFromFile(contactoId, card::fileName)) {
                unit.rollback(); // nothing of it stays, and the card stays open
                files.Close();
                tellNotDone(QStringLiteral("O contacto não foi retirado deste ficheiro."), vb::Error(0, {}));
                return false;
            }
            unit.commit();
            files.Close();
            return true;
        }
        files.Close();
        return false; // No for the only file: nothing deleted, and the card stays open
    } catch (const vb::Error& e) {
        unit.rollback();
        ErrorReport::send(ErrorReport::Origin::StartUp, QStringLiteral("Apagar_Contacto"), e);
        tellNotDone(notDeleted, e);
        return false;
    }
}

int frmInicial::askHowToDelete(const QString& list, int count, const QString& firstFile)
{
    if (count == 1)
        return windows().messageBox(
            list + lineBreak +
                QStringLiteral("Deseja eliminar este contacto? - Clique em 'Sim' para apagar "
                               "definitivamente este contacto do ficheiro de ") +
                firstFile + QStringLiteral("."),
            YesNo | Question, caption());
    return windows().messageBox(
        list + lineBreak +
            QStringLiteral("Deseja eliminar este contacto em todos estes ficheiros? - Clique em "
                           "'Sim' para apagar definitivamente este contacto de todos os "
                           "ficheiros, clique em 'Não' para apenas apagar no ficheiro de ") +
            card::fileName + QStringLiteral("."), // the file's name, not the card's caption
        YesNoCancel | Question, caption());
}

// The server's procedure removes the contact and everything that refers to
// it; its refusal is shown (the card closes all the same).
void frmInicial::deleteEverywhereOf(qint32 contactoId)
{
    if (const QString refused = modSQLConnection::CheckSQLConnection(this); !refused.isEmpty())
        throw vb::Error(0, refused);
    ado::Recordset result;
    result.Open(sql::compose(deleteEverywhere, {contactoId}), Data().SqlServer);
    if (result.State() == ado::adStateOpen && !result.Eof() &&
        !result(QStringLiteral("error_number")).isNull() &&
        vb::CLng(result(QStringLiteral("error_number"))) != 0)
        windows().messageBox(QStringLiteral("Erro: não é possível eliminar o registo porque ") +
                                 textOf(result, QStringLiteral("error_descrit")),
                             OKOnly, {});
    if (result.State() == ado::adStateOpen)
        result.Close();
}
