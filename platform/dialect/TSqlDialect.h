#pragma once
// The T-SQL the component writes, turned into statements the embedded server
// (SQLite) runs with the same meaning: "+" between texts, CHAR, CONVERT to
// DATETIME, GETDATE, @@TRANCOUNT, @@IDENTITY, LIKE with [classes], TOP n,
// EXECUTE of the server's procedures, transactions, batches split at ";".
// Works on tokens, never on raw text; what it cannot carry over faithfully
// fails with an error naming the construct.
#include "platform/values/Variant.h"
#include <QList>
#include <QString>

namespace dialect {

struct Statement {
    enum class Kind { Sql, Execute, BeginTransaction, CommitTransaction, RollbackTransaction, Nothing };
    Kind kind = Kind::Sql;
    QString sql;                  // Kind::Sql: the SQLite text
    QString procedure;            // Kind::Execute: the procedure's name as written
    QList<vb::Variant> arguments; // Kind::Execute: Long or Double numbers, texts, Null
};

// Throws vb::Error(-2147217900, <the construct>, "Quarvenses SQL").
QList<Statement> translate(const QString& batch);

} // namespace dialect
