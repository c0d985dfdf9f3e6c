#pragma once
// The rights of the signed-in user on a record, decided from the permission
// masks, and the default masks a newly filed contact receives.
//
// A mask is a run of entries, each a user's or group's code followed by four
// rights digits (open, change, remove, change permissions): "1" grants, "0"
// does not, "2" denies. Codes are matched as substrings of the mask, so a
// code that is a prefix of another ("U7" and "U71") can match inside the
// other's entry; codes of one fixed width beginning with "$" ("$0001") cannot.
#include "platform/ado/Connection.h"
#include <QString>

namespace modCheckPermissions {

enum Action : qint32 { Open = 0, Change = 1, Remove = 2, ChangePermissions = 3, Create = 4 };

// `couldNotAsk`, when given, tells a refusal from a check the server did not
// answer (unreachable, lost): both answer false.
bool CheckObjectSecurity(const QString& userName, qint32 objectId, qint32 objectKind, qint32 action,
                         bool* couldNotAsk = nullptr);

// The SQL condition that this user, or one of this user's groups, holds the
// right; empty when the user has no membership row.
QString ReadPermitionsDef(const QString& userName, const QString& columnName, bool denial,
                          const QString& grantPattern, const QString& denialPattern);

// The condition, over a "_Permitions" table's user_code and group_code, that
// the user may open the record (action 0, as CheckObjectSecurity decides it):
// for lists that show only what the user may open. Empty when the user has
// no membership row (then nothing may be opened).
QString OpenCondition(const QString& userName);

// `userName` empty becomes "sa" (in the caller's variable). `file` is a table
// name beginning with "tb" or a contact type's description. `connection`
// nothing means the shared connection.
void GetDefaultPermitions(QString& userName, const QString& file, QString& groupMask, QString& userMask,
                          const ado::Connection& connection = ado::Connection::nothing());

// The guarded table and key column of an object kind; false for an unknown kind.
struct GuardedTable {
    QString table;
    QString keyColumn;
    bool companion = false; // rights in T + "_Permitions"
};
bool guardedTable(qint32 objectKind, GuardedTable& out);

} // namespace modCheckPermissions
