#pragma once
// A connection to SQL Server through unixODBC. T-SQL goes to the server as
// it is; transactions use the autocommit attribute, and the nesting count is
// kept here as SQL Server keeps @@TRANCOUNT for BeginTrans/CommitTrans (a
// batch that runs BEGIN TRANSACTION itself is the server's business).
#include "platform/ado/ConnectionString.h"
#include "platform/ado/Session.h"
#include <memory>

namespace ado::odbc {

class OdbcSession : public Session {
  public:
    // Throws the unreachable, login-failed or timeout errors as ADO does.
    static std::unique_ptr<Session> connect(const ConnectionString& connection, int timeoutSeconds);
    ~OdbcSession() override;

    BatchResult execute(const QString& batch, int commandTimeoutSeconds) override;
    qint64 executeWith(const QString& statement, const QList<vb::Variant>& values,
                       int commandTimeoutSeconds) override;
    QStringList primaryKey(const QString& table) override;
    int beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    int transactionCount() override { return transactions_; }
    QString serverName() const override { return server_; }

  private:
    OdbcSession() = default;
    void setServerOptions();
    struct Handles;
    std::unique_ptr<Handles> h_;
    QString server_;
    int transactions_ = 0;
};

} // namespace ado::odbc
