#pragma once
// A connection to one catalog of the embedded server: T-SQL goes through the
// dialect translation, the server's availability is checked before every
// statement, and transactions nest as SQL Server's do.
#include "platform/ado/Session.h"
#include "platform/ado/embedded/LatencyMarker.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/dialect/TSqlDialect.h"
#include <QElapsedTimer>
#include <QHash>
#include <memory>
#include <sys/types.h>

struct sqlite3;
struct sqlite3_stmt;

namespace ado::embedded {

class SqliteDatabase;
class SqliteStatement;

class EmbeddedSession : public Session {
  public:
    EmbeddedSession(const QString& folder, const QString& catalog);
    ~EmbeddedSession() override;

    BatchResult execute(const QString& batch, int commandTimeoutSeconds) override;
    qint64 executeWith(const QString& statement, const QList<vb::Variant>& values,
                       int commandTimeoutSeconds) override;
    QStringList primaryKey(const QString& table) override;
    int beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    int transactionCount() override { return transactions_; }
    QString serverName() const override;

  private:
    const QList<dialect::Statement>& translated(const QString& batch);
    void run(const dialect::Statement& statement, BatchResult& result);
    void runSql(const QString& sql, BatchResult& result);
    void runProcedure(const dialect::Statement& statement, BatchResult& result);
    ResultSet fetch(sqlite3_stmt* statement);
    void startClock(int commandTimeoutSeconds);
    int catalogVersion() const;
    void reindexOlderCollation();
    void addMissingList();
    void createInformationSchema();
    void createWidthChecks();
    void refreshWidthChecks();
    static int progress(void* self);
    static int authorize(void* self, int action, const char* first, const char* second, const char* database,
                         const char* trigger);

    QString folder_;
    QString catalog_;
    QString serverName_;
    QByteArray folderPath_;
    // The server folder, held open to look for the pause marker cheaply;
    // closed with the session, or when opening it fails half-way.
    struct Descriptor {
        int fd = -1;
        explicit Descriptor(int opened) : fd(opened) {}
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        ~Descriptor();
    };
    Descriptor folderHandle_;
    ino_t folderInode_ = 0;
    dev_t folderDevice_ = 0;
    std::unique_ptr<SqliteDatabase> database_;
    // The catalog's schema version the width checks were made for: a table
    // created since, here or by another session, needs its own, and a
    // rollback may have undone checks made inside the transaction (-1).
    std::unique_ptr<SqliteStatement> schemaVersion_;
    qint64 widthChecksFor_ = -1;
    dialect::FunctionContext functions_;
    int transactions_ = 0;
    QHash<QString, QList<dialect::Statement>> translations_; // the same statements come again and again
    QElapsedTimer clock_;
    qint64 deadlineMs_ = 0;
    void checkAvailable() const;
    // One request of the caller's reaches the server: it waits out the
    // statement latency once, however many statements the request runs.
    class Request {
      public:
        explicit Request(EmbeddedSession& session);
        ~Request() { --session_.requestDepth_; }
        Request(const Request&) = delete;
        Request& operator=(const Request&) = delete;

      private:
        EmbeddedSession& session_;
    };
    int requestDepth_ = 0;
    LatencyMarker statementLatency_;
    // Counts a statement for the fault hook and fails it when its turn has come.
    void countStatement();
    bool killed_ = false; // ended by the fault hook, as a server ends a session
    // While the caller's own statements run, what SQL Server does not have is
    // refused (the server's own procedures run unguarded); `refused_` names it.
    bool guarded_ = false;
    bool inProcedure_ = false;
    bool preparing_ = false;
    QString refused_;
};

} // namespace ado::embedded
