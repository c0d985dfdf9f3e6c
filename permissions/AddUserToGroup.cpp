#include "permissions/AddUserToGroup.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/modSQLConnection.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace membership {

namespace {

// The file name and masks go between apostrophes; doubled, a name with one
// stays one literal (masks without apostrophes are unchanged).
const char16_t addToFile[] = u"EXECUTE spADD_CONTACTO_TO_GROUP %1, N'%2',N'%3',N'%4'";
const QString filesTitle = QStringLiteral("Ficheiros");

} // namespace

bool AddUserToGroup(qint32& pContacto_ID, QString& strGroup)
{
    try {
        if (Data().SqlServer.State() != ado::adStateOpen)
            return false;
        QString groupMask, userMask;
        modCheckPermissions::GetDefaultPermitions(Conn().strUser, strGroup, groupMask, userMask);
        if (groupMask.isEmpty() && userMask.isEmpty())
            return false;
        if (!modSQLConnection::CheckSQLConnection().isEmpty())
            return false;
        ado::Recordset rs;
        rs.Open(sql::compose(addToFile, {pContacto_ID, sql::doubled(strGroup), sql::doubled(groupMask),
                                         sql::doubled(userMask)}),
                Data().SqlServer);
        if (rs.State() != ado::adStateOpen)
            return true;
        bool added = false;
        platform::WindowServices& windows = platform::WindowServices::current();
        if (rs.Eof())
            windows.messageBox(
                QStringLiteral("EOF: Não foi possível receber a confirmação do servidor de dados."),
                platform::msgbox::OKOnly, filesTitle);
        else if (vb::CLng(rs(QStringLiteral("error_number"))) == 0)
            added = true;
        else
            windows.messageBox(QStringLiteral("Não é possivel adicionar o registo porque ") +
                                   vb::CStr(rs(QStringLiteral("error_descrit"))) + QStringLiteral("."),
                               platform::msgbox::OKOnly, filesTitle);
        rs.Close();
        return added;
    } catch (const vb::Error& e) {
        ErrorReport::send(ErrorReport::Source(ErrorReport::Origin::Card, QStringLiteral("frmInicial")),
                          QStringLiteral("AddUserToGroup"), e);
        return false;
    }
}

} // namespace membership
