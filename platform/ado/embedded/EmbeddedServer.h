#pragma once
// The embedded server: a folder holding one SQLite file per catalog
// ("<folder>/<catalog>.db") and the logins ("<folder>/master.db", salted
// password hashes). Marker files let tests, benchmarks and demonstrations play
// with the server from outside the process: "paused" makes it unreachable,
// also for connections already open; "latency" (milliseconds, as text) slows
// every connect down; "statement-latency" (milliseconds) slows every
// statement a session sends, as a network's round trip would, and is seen by
// sessions already open.
#include "platform/ado/ConnectionString.h"
#include "platform/ado/Session.h"
#include <atomic>
#include <functional>
#include <memory>

namespace ado::embedded {

inline constexpr const char* statementLatencyMarker = "statement-latency";

enum class HashStrength {
    Interactive, // what sites use
    Minimal,     // cheap to verify: for tests that connect many times
};

// A stored procedure of the embedded server: runs on the caller's session and
// may return rows, as a procedure's last SELECT would.
using Procedure =
    std::function<std::optional<ResultSet>(Session& session, const QList<vb::Variant>& arguments)>;

class EmbeddedServer {
  public:
    // A data source naming a local folder: an absolute path, or "file:" followed by one.
    static bool isEmbeddedSource(const QString& dataSource);
    static QString folderOf(const QString& dataSource);
    static QString catalogPath(const QString& folder, const QString& catalog);

    // Creates the folder and the login table when missing.
    static void createServer(const QString& folder);
    // Adds the login or changes its password.
    static void createLogin(const QString& folder, const QString& login, const QString& password,
                            HashStrength strength = HashStrength::Interactive);
    static bool verifyLogin(const QString& folder, const QString& login, const QString& password);
    // Creates an empty catalog file (WAL journal) when missing.
    static void createCatalog(const QString& folder, const QString& catalog);

    // Throws the "server does not answer" error when the folder is missing or paused.
    static void checkAvailable(const QString& folder);
    static void setPaused(const QString& folder, bool paused);
    static void setLatency(const QString& folder, int milliseconds);          // 0 removes it
    static void setStatementLatency(const QString& folder, int milliseconds); // 0 removes it

    // Proves the login and opens the catalog. Honours the timeout (seconds,
    // 0 = none) against the latency marker; `cancelled` ends a slow connect early.
    static std::unique_ptr<Session> connect(const ConnectionString& connection, int timeoutSeconds,
                                            const std::atomic_bool* cancelled = nullptr);

    // A test hook for failures in the middle of work: statement k (1-based,
    // counted over every embedded session of the process from the moment the
    // fault is armed; statements, batches, BEGIN and COMMIT count, ROLLBACK
    // does not) fails as a lost server would. Kill also ends that session on
    // the server: its transaction is rolled back and everything it is asked
    // afterwards fails the same way.
    enum class FaultKind { Fail, Kill };
    static void armFault(int atStatement, FaultKind kind);
    static void disarmFault();
    // Statements counted since the fault was armed (it counts on after it fired).
    static int statementsSinceArmed();
    // For sessions: counts one statement; true when it is the one to fail.
    static bool faultFires(FaultKind& kind);

    static void registerProcedure(const QString& name, Procedure procedure);
    // Null when no procedure has that name (compared without regard to case).
    static Procedure procedure(const QString& name);
};

} // namespace ado::embedded
