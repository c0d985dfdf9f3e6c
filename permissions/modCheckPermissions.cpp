#include "permissions/modCheckPermissions.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/modSQLConnection.h"
#include "platform/ado/AdoError.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

namespace modCheckPermissions {

namespace {

// Names go between apostrophes; doubling them keeps a name like O'Brien one
// literal instead of ending the text early.
QString quoted(const QString& name)
{
    return sql::doubled(name);
}

// A code is data inside the LIKE patterns: its "%", "_" and "[" would
// otherwise match other codes ("$100_" inside "$1001…").
QString codePattern(const QString& code)
{
    return sql::likeLiteral(code);
}

QString textOf(const vb::Variant& value)
{
    return value.isNull() || value.isEmpty() ? QString() : vb::CStr(value);
}

// A refusal of the connection supervisor ends the procedure quietly.
bool connectionRefused()
{
    return !modSQLConnection::CheckSQLConnection().isEmpty();
}

void report(const QString& procedure, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Origin::Permissions, procedure, e);
}

const char* const grantPatterns[] = {"1[012][012][012]", "[012]1[012][012]", "[012][012]1[012]",
                                     "[012][012][012]1"};
const char* const denialPatterns[] = {"2[012][012][012]", "[012]2[012][012]", "[012][012]2[012]",
                                      "[012][012][012]2"};

bool hasRow(const QString& statement)
{
    ado::Recordset rs;
    rs.Open(statement, Data().SqlServer);
    const bool found = !rs.Eof();
    rs.Close();
    return found;
}

struct Membership {
    QString userCode;
    bool userCodeNull = true;
    QList<QString> groupCodes; // the non-null ones, in row order
};

} // namespace

bool guardedTable(qint32 objectKind, GuardedTable& out)
{
    struct Entry {
        qint32 kind;
        const char* table;
        const char* key;
    };
    static const Entry entries[] = {
        {0, "tbClientes", "contacto_id"},
        {1, "tbColaboradores", "contacto_id"},
        {2, "tbTulvas_Contactos", "contacto_id"},
        {3, "tbOutsourcing", "contacto_id"},
        {4, "tbSeguradoras", "contacto_id"},
        {5, "tbClientes_Apolices", "apolice_main_id"},
        {6, "tbClientes_Sinistros", "sinistro_id"},
        {7, "tbSeguradoras_P_Contas", "PContas_ID"},
        {8, "tbContactos_Comunicacoes", "comunicacao_id"},
        {9, "tbPacientes", "contacto_id"},
        {10, "tbClientes", "contacto_id"},
        {11, "tbFornecedores", "contacto_id"},
        {15, "tbEntidades_Custos", "contacto_id"},
        {22, "tbClientes_Advogados", "contacto_id"},
        {100, "tbAssociados", "contacto_id"},
    };
    for (const Entry& e : entries) {
        if (e.kind == objectKind) {
            out = {QString::fromLatin1(e.table), QString::fromLatin1(e.key), objectKind != 8};
            return true;
        }
    }
    out = {};
    return false;
}

namespace {

// A failure that says nothing about the rights: the server could not be asked.
bool connectionFailure(const vb::Error& e)
{
    return e.number() == ado::error::ServerUnreachable || e.number() == ado::error::TransactionLost ||
           e.number() == vb::errnum::AdoObjectClosed;
}

QString readPermitionsDef(const QString& userName, const QString& columnName, bool denial,
                          const QString& grantPattern, const QString& denialPattern, bool& connectionFailed);

} // namespace

QString ReadPermitionsDef(const QString& userName, const QString& columnName, bool denial,
                          const QString& grantPattern, const QString& denialPattern)
{
    bool connectionFailed = false;
    return readPermitionsDef(userName, columnName, denial, grantPattern, denialPattern, connectionFailed);
}

namespace {

QString readPermitionsDef(const QString& userName, const QString& columnName, bool denial,
                          const QString& grantPattern, const QString& denialPattern, bool& connectionFailed)
{
    const QString fu = columnName.isEmpty() ? QStringLiteral("user_code") : columnName;
    const QString fg = columnName.isEmpty() ? QStringLiteral("group_code") : columnName;
    const QString p = !grantPattern.isEmpty() ? grantPattern : (denial ? QStringLiteral("1") : QString());
    const QString n = !denialPattern.isEmpty() ? denialPattern : QStringLiteral("2");
    QString condition;
    try {
        if (connectionRefused()) {
            connectionFailed = true;
            return condition;
        }
        ado::Recordset rs;
        rs.Open(QStringLiteral(
                    "SELECT tbGroups.code, tbUsers.code as user_code FROM tbGroups_Users_Links LEFT OUTER "
                    "JOIN tbGroups ON tbGroups_Users_Links.group_id = tbGroups.group_id LEFT JOIN tbUsers ON "
                    "tbGroups_Users_Links.user_id = tbUsers.user_id WHERE tbUsers.descrit = N'") +
                    quoted(userName) + u'\'',
                Data().SqlServer);
        if (rs.Eof()) {
            rs.Close();
            return condition;
        }
        Membership m;
        m.userCodeNull = rs(QStringLiteral("user_code")).isNull();
        m.userCode = textOf(rs(QStringLiteral("user_code")));
        for (; !rs.Eof(); rs.MoveNext())
            if (!rs(QStringLiteral("code")).isNull())
                m.groupCodes.append(textOf(rs(QStringLiteral("code"))));
        rs.Close();

        // A null user code adds no user term; the first group term then
        // opens the list without its joining word.
        condition = QStringLiteral("( (");
        bool any = false;
        if (!m.userCodeNull) {
            condition +=
                fu + QStringLiteral(" Like N'%") + codePattern(m.userCode) + p + QStringLiteral("%' ");
            any = true;
        }
        for (const QString& code : m.groupCodes) {
            condition += (any ? QStringLiteral(" OR ") : QString()) + fg + QStringLiteral(" LIKE N'%") +
                         codePattern(code) + p + QStringLiteral("%' ");
            any = true;
        }
        condition += QStringLiteral(") ");
        if (denial) {
            condition += QStringLiteral(" AND (");
            bool anyDenial = false;
            if (!m.userCodeNull) {
                condition += fu + QStringLiteral(" NOT LIKE N'%") + codePattern(m.userCode) + n +
                             QStringLiteral("%' ");
                anyDenial = true;
            }
            for (const QString& code : m.groupCodes) {
                condition += (anyDenial ? QStringLiteral(" AND ") : QString()) + fg +
                             QStringLiteral(" NOT LIKE N'%") + codePattern(code) + n + QStringLiteral("%' ");
                anyDenial = true;
            }
            condition += QStringLiteral(")");
        }
        condition += QStringLiteral(")");
    } catch (const vb::Error& e) {
        connectionFailed = connectionFailed || connectionFailure(e);
        report(QStringLiteral("ReadPermitionsDef"), e);
    }
    return condition;
}

} // namespace

QString OpenCondition(const QString& userName)
{
    return ReadPermitionsDef(userName, {}, false, QString::fromLatin1(grantPatterns[Open]),
                             QString::fromLatin1(denialPatterns[Open]));
}

bool CheckObjectSecurity(const QString& userName, qint32 objectId, qint32 objectKind, qint32 action,
                         bool* couldNotAsk)
{
    bool allowed = false;
    bool connectionFailed = false;
    try {
        QString c;
        if (action >= Open && action <= ChangePermissions)
            c = readPermitionsDef(userName, {}, false, QString::fromLatin1(grantPatterns[action]),
                                  QString::fromLatin1(denialPatterns[action]), connectionFailed);
        GuardedTable t;
        guardedTable(objectKind, t);
        const QString k =
            t.table.isEmpty() ? QString() : t.keyColumn + QStringLiteral(" = ") + QString::number(objectId);
        // With nothing to ask (a user in no group and without a mask entry,
        // a kind of object nobody guards) no statement is sent: the answer
        // is no, as the server's would be.
        if (t.table.isEmpty()) {
            allowed = false;
        } else if (action >= Open && action <= ChangePermissions) {
            allowed = !c.isEmpty() && hasRow(QStringLiteral("SELECT * FROM ") + t.table +
                                             (t.companion ? QStringLiteral("_Permitions") : QString()) +
                                             QStringLiteral(" WHERE (") + k + QStringLiteral(") AND (") + c +
                                             QStringLiteral(")"));
        } else if (action == Create && t.companion) {
            const QString d =
                readPermitionsDef(userName, QStringLiteral("code"), false, {}, {}, connectionFailed);
            allowed = !d.isEmpty() && hasRow(QStringLiteral("SELECT code FROM ") + t.table +
                                             QStringLiteral("_Permitions_Criar_Groups WHERE ") + d);
            if (!allowed) {
                if (connectionRefused()) {
                    if (couldNotAsk)
                        *couldNotAsk = true;
                    return false;
                }
                const QString again =
                    readPermitionsDef(userName, QStringLiteral("code"), false, {}, {}, connectionFailed);
                allowed =
                    !again.isEmpty() && hasRow(QStringLiteral("SELECT code FROM ") + t.table +
                                               QStringLiteral("_Permitions_Criar_Users WHERE ") + again);
            }
        }
    } catch (const vb::Error& e) {
        connectionFailed = connectionFailed || connectionFailure(e);
        report(QStringLiteral("CheckObjectSecurity"), e);
    }
    if (couldNotAsk)
        *couldNotAsk = !allowed && connectionFailed;
    return allowed;
}

void GetDefaultPermitions(QString& userName, const QString& file, QString& groupMask, QString& userMask,
                          const ado::Connection& connection)
{
    try {
        if (userName.isEmpty())
            userName = QStringLiteral("sa");
        const bool shared = connection.isNothing();
        const ado::Connection on = shared ? Data().SqlServer : connection;
        const auto open = [&](const QString& statement) {
            if (shared && connectionRefused())
                return ado::Recordset::nothing();
            ado::Recordset rs;
            rs.Open(statement, on);
            return rs;
        };
        QString table = file;
        if (!file.startsWith(QStringLiteral("tb"))) {
            ado::Recordset types = open(QStringLiteral("SELECT * FROM tbContactos_Tipos WHERE descrit = N'") +
                                        quoted(file) + u'\'');
            if (types.isNothing())
                return;
            if (types.Eof()) {
                types.Close();
                return;
            }
            table = textOf(types(QStringLiteral("related")));
            types.Close();
        }
        ado::Recordset primary =
            open(QStringLiteral("SELECT tbGroups_Users_Links.*, tbGroups.code FROM tbGroups_Users_Links LEFT "
                                "OUTER JOIN tbUsers ON "
                                "tbGroups_Users_Links.user_id = tbUsers.user_id LEFT JOIN tbGroups ON "
                                "tbGroups_Users_Links.group_id = tbGroups.group_id WHERE "
                                "tbGroups_Users_Links.predef <> 0 AND "
                                "tbUsers.descrit = N'") +
                 quoted(userName) + u'\'');
        if (primary.isNothing())
            return;
        const QString primaryCode = primary.Eof() ? QString() : textOf(primary(QStringLiteral("code")));
        primary.Close();
        platform::WindowServices& windows = platform::WindowServices::current();
        if (primaryCode.isEmpty()) {
            groupMask.clear();
            userMask.clear();
            windows.messageBox(
                QStringLiteral("O utilizador não tem um grupo primário definido, deverá comunicar esta "
                               "situação ao administrador de segurança."),
                platform::msgbox::Critical, {});
            return;
        }
        ado::Recordset create =
            open(QStringLiteral("SELECT * FROM ") + table +
                 QStringLiteral("_Permitions_Criar_Groups WHERE code = N'") + quoted(primaryCode) + u'\'');
        if (create.isNothing())
            return;
        if (create.Eof()) {
            groupMask.clear();
            userMask.clear();
            windows.messageBox(
                QStringLiteral("O utilizador não pertence a um grupo com permissões para criar um registo "
                               "no ficheiro indicado, deverá pedir ao administrador de segurança para que "
                               "lhe atribua as permissões necessárias."),
                platform::msgbox::Critical, {});
        } else {
            // A null mask counts as empty text.
            const QString group = textOf(create(QStringLiteral("group_code")));
            groupMask = group.isEmpty() ? QStringLiteral("$0001") : group;
            userMask = textOf(create(QStringLiteral("user_code")));
        }
        create.Close();
    } catch (const vb::Error& e) {
        report(QStringLiteral("GetDefaultPermitions"), e);
    }
}

} // namespace modCheckPermissions
