#pragma once
// One open connection to a server, as a provider gives it to `Connection`.
// The embedded provider and the SQL Server provider each implement it.
#include "platform/ado/ResultSet.h"
#include <QStringList>
#include <optional>

namespace ado {

struct BatchResult {
    std::optional<ResultSet> rows; // the last result set of the batch, if any statement yielded one
    qint64 recordsAffected = -1;   // by the last statement that changed rows
};

class Session {
  public:
    virtual ~Session() = default;

    // Runs a T-SQL batch. Throws vb::Error with the provider's number and text.
    virtual BatchResult execute(const QString& batch, int commandTimeoutSeconds) = 0;
    // Runs one statement with "?" markers bound to the values; returns the rows changed.
    virtual qint64 executeWith(const QString& statement, const QList<vb::Variant>& values,
                               int commandTimeoutSeconds) = 0;
    // The primary-key columns of a table, in key order; empty when it has none.
    virtual QStringList primaryKey(const QString& table) = 0;

    // SQL Server's nesting: begin adds one level, commit removes one and
    // commits at the outermost, rollback undoes everything.
    virtual int beginTransaction() = 0;
    virtual void commitTransaction() = 0;
    virtual void rollbackTransaction() = 0;
    virtual int transactionCount() = 0;

    // A description for the statement trace ("embedded:/path", "odbc:server").
    virtual QString serverName() const = 0;
};

} // namespace ado
