#include "platform/ado/Connection.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/Providers.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/StatementTrace.h"
#include <QElapsedTimer>
#include <mutex>
#include <thread>

namespace ado {

namespace {

// An asynchronous open: the worker fills it, the connection adopts it when
// polled. A connection closed meanwhile abandons it; the worker then drops
// what it made.
struct PendingOpen {
    std::mutex mutex;
    bool done = false;
    std::unique_ptr<Session> session;
    std::optional<vb::Error> failure;
    std::atomic_bool cancelled{false};
};

void connectInBackground(const std::shared_ptr<PendingOpen>& pending, const ConnectionString& connection,
                         int timeoutSeconds)
{
    std::thread([pending, connection, timeoutSeconds] {
        std::unique_ptr<Session> session;
        std::optional<vb::Error> failure;
        try {
            session = openSession(connection, timeoutSeconds, &pending->cancelled);
        } catch (const vb::Error& e) {
            failure = e;
        } catch (const std::exception& e) {
            failure = error::provider(QString::fromLocal8Bit(e.what()));
        }
        std::lock_guard lock(pending->mutex);
        pending->session = std::move(session);
        pending->failure = std::move(failure);
        pending->done = true;
    }).detach();
}

template <class Work> auto traced(const Session& session, const QString& statement, Work work)
{
    QElapsedTimer clock;
    clock.start();
    TraceEntry entry{session.serverName(), statement, 0, false, {}, TraceEntry::Kind::Statement, {}};
    try {
        auto result = work();
        entry.microseconds = clock.nsecsElapsed() / 1000;
        StatementTrace::record(entry);
        return result;
    } catch (const vb::Error& e) {
        entry.microseconds = clock.nsecsElapsed() / 1000;
        entry.failed = true;
        entry.error = QStringLiteral("%1 %2").arg(e.number()).arg(e.description());
        StatementTrace::record(entry);
        throw;
    }
}

} // namespace

struct Connection::Impl {
    QString connectionString;
    int connectionTimeout = 15;
    // Set after the connection string: then it wins over the string's own
    // "Connect Timeout" (the reconnection's 10 seconds over the kept 15).
    bool timeoutOverridesString = false;
    int commandTimeout = 30;
    std::unique_ptr<Session> session;
    std::shared_ptr<PendingOpen> pending;
    QList<vb::Error> errors;
    int transactionLevel = 0; // begun through this connection and not yet ended
    bool transactionLost = false;
    bool transactionDoomed = false;

    int openTransactions() const
    {
        return std::max(transactionLevel, session ? session->transactionCount() : 0);
    }

    // The session goes; a transaction open on it goes with it, and the
    // connection remembers so that nothing carries on as if it were there.
    void dropSession()
    {
        if (openTransactions() > 0)
            transactionLost = true;
        transactionLevel = 0;
        session.reset();
    }

    void adoptFinishedOpen()
    {
        if (!pending)
            return;
        std::lock_guard lock(pending->mutex);
        if (!pending->done)
            return;
        session = std::move(pending->session);
        if (pending->failure)
            errors = {*pending->failure};
        pending.reset();
    }

    void abandonPendingOpen()
    {
        if (!pending)
            return;
        pending->cancelled = true;
        pending.reset();
    }
};

Connection::Connection() : impl_(std::make_shared<Impl>()) {}

Connection Connection::nothing()
{
    return Connection(std::shared_ptr<Impl>());
}

Connection::Impl& Connection::impl() const
{
    if (!impl_)
        throw vb::Error::objectNotSet();
    return *impl_;
}

QString Connection::ConnectionString() const
{
    return impl().connectionString;
}

void Connection::setConnectionString(const QString& text)
{
    if (State() != adStateClosed)
        throw error::alreadyOpen();
    impl().connectionString = text;
    impl().timeoutOverridesString = false;
}

int Connection::ConnectionTimeout() const
{
    return impl().connectionTimeout;
}

void Connection::setConnectionTimeout(int seconds)
{
    impl().connectionTimeout = seconds;
    impl().timeoutOverridesString = true;
}

int Connection::CommandTimeout() const
{
    return impl().commandTimeout;
}

void Connection::setCommandTimeout(int seconds)
{
    impl().commandTimeout = seconds;
}

int Connection::State() const
{
    Impl& d = impl();
    d.adoptFinishedOpen();
    if (d.pending)
        return adStateConnecting;
    return d.session ? adStateOpen : adStateClosed;
}

void Connection::Open(const QString& connectionString, const QString& userId, const QString& password,
                      int options)
{
    Impl& d = impl();
    if (State() != adStateClosed)
        throw error::alreadyOpen();
    if (!connectionString.isEmpty()) {
        d.connectionString = connectionString;
        d.timeoutOverridesString = false;
    }
    d.errors.clear();
    try {
        ado::ConnectionString parsed = ConnectionString::parse(d.connectionString);
        if (!userId.isEmpty())
            parsed.set(QStringLiteral("User ID"), userId);
        if (!password.isEmpty())
            parsed.set(QStringLiteral("Password"), password);
        const int timeout = parsed.connectTimeout() >= 0 && !d.timeoutOverridesString
                                ? parsed.connectTimeout()
                                : d.connectionTimeout;
        StatementTrace::record(TraceEntry{
            parsed.dataSource(), QStringLiteral("-- ligação"), 0, false, {}, TraceEntry::Kind::Connect, {}});
        if (options != adConnectUnspecified && (options & adAsyncConnect)) {
            d.pending = std::make_shared<PendingOpen>();
            connectInBackground(d.pending, parsed, timeout);
            return;
        }
        d.session = openSession(parsed, timeout);
    } catch (const vb::Error& e) {
        d.errors = {e};
        throw;
    }
}

void Connection::Close()
{
    Impl& d = impl();
    if (State() == adStateClosed)
        throw error::closed();
    d.abandonPendingOpen();
    d.dropSession();
}

void Connection::refuseWhileLost() const
{
    if (impl().transactionLost)
        throw error::transactionLost();
}

int Connection::TransactionLevel() const
{
    const Impl& d = impl();
    return d.transactionLost ? 0 : d.openTransactions();
}

bool Connection::TransactionLost() const
{
    return impl().transactionLost;
}

void Connection::markTransactionDoomed()
{
    if (TransactionLevel() > 0)
        impl().transactionDoomed = true;
}

bool Connection::TransactionDoomed() const
{
    return impl().transactionDoomed;
}

Session& Connection::session() const
{
    if (State() != adStateOpen)
        throw error::closed();
    return *impl().session;
}

BatchResult Connection::run(const QString& batch) const
{
    refuseWhileLost();
    Session& s = session();
    const int timeout = impl().commandTimeout;
    return traced(s, batch, [&] { return s.execute(batch, timeout); });
}

qint64 Connection::runWith(const QString& statement, const QList<vb::Variant>& values) const
{
    refuseWhileLost();
    Session& s = session();
    const int timeout = impl().commandTimeout;
    return traced(s, statement, [&] { return s.executeWith(statement, values, timeout); });
}

QStringList Connection::primaryKey(const QString& table) const
{
    return session().primaryKey(table);
}

Recordset Connection::Execute(const QString& commandText, qint64* recordsAffected, int /*options*/)
{
    const TraceOrigin origin(__builtin_return_address(0));
    impl().errors.clear();
    try {
        BatchResult result = run(commandText);
        if (recordsAffected)
            *recordsAffected = result.recordsAffected;
        return Recordset::fromResult(*this, commandText, std::move(result.rows));
    } catch (const vb::Error& e) {
        impl().errors = {e};
        throw;
    }
}

int Connection::BeginTrans()
{
    refuseWhileLost();
    Session& s = session();
    const int level = traced(s, QStringLiteral("BEGIN TRANSACTION"), [&] { return s.beginTransaction(); });
    impl().transactionLevel = level;
    if (level == 1)
        impl().transactionDoomed = false;
    return level;
}

void Connection::CommitTrans()
{
    refuseWhileLost();
    Session& s = session();
    traced(s, QStringLiteral("COMMIT TRANSACTION"), [&] {
        s.commitTransaction();
        return 0;
    });
    impl().transactionLevel = s.transactionCount();
    if (impl().transactionLevel == 0)
        impl().transactionDoomed = false;
}

void Connection::RollbackTrans()
{
    Impl& d = impl();
    if (d.transactionLost) {
        // The server dropped it with the session; what may still be open
        // on a session opened since belongs to nobody.
        d.transactionLost = false;
        d.transactionLevel = 0;
        d.transactionDoomed = false;
        if (State() == adStateOpen && d.session->transactionCount() > 0)
            d.session->rollbackTransaction();
        return;
    }
    Session& s = session();
    try {
        traced(s, QStringLiteral("ROLLBACK TRANSACTION"), [&] {
            s.rollbackTransaction();
            return 0;
        });
        d.transactionLevel = 0;
        d.transactionDoomed = false;
    } catch (const vb::Error&) {
        d.transactionLevel = 0;
        d.transactionDoomed = false;
        d.session.reset(); // the server ends what it held with the session
        throw;
    }
}

QList<vb::Error> Connection::Errors() const
{
    impl().adoptFinishedOpen();
    return impl().errors;
}

} // namespace ado
