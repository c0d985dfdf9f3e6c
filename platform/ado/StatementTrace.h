#pragma once
// Every statement sent to a server, with its duration, like a profiler. Tests
// install a hook to count and check statements; QUARVENSES_SQL_TRACE names a
// file to append lines to ("-" for standard error).
#include <QString>
#include <functional>

namespace ado {

struct TraceEntry {
    enum class Kind { Statement, Connect }; // Connect: an open attempt, as a profiler's login event
    QString server;
    QString statement;
    qint64 microseconds = 0;
    bool failed = false;
    QString error;
    Kind kind = Kind::Statement;
    // The program or library whose code sent it (the caller of Execute or
    // Open), so that what the application sends can be told from what a
    // test or a user typed at a console sends.
    QString origin;
};

// Marks, for the statements sent while it lives, the code that called the
// data-access entry point (its return address). Only the outermost mark of
// a thread counts.
class TraceOrigin {
  public:
    explicit TraceOrigin(const void* caller);
    // A script run as it stands (the demonstration data): named by its file.
    explicit TraceOrigin(const QString& scriptName);
    ~TraceOrigin();
    TraceOrigin(const TraceOrigin&) = delete;
    TraceOrigin& operator=(const TraceOrigin&) = delete;
    // The file name of the object holding the marked caller; empty when none.
    static QString current();

  private:
    bool outermost_;
    bool named_ = false;
};

class StatementTrace {
  public:
    using Hook = std::function<void(const TraceEntry&)>;
    // Installs the hook (or none); returns the previous one.
    static Hook setHook(Hook hook);
    static void record(const TraceEntry& entry);
};

// Installs a hook for the life of the object and restores the previous one.
class ScopedTrace {
  public:
    explicit ScopedTrace(StatementTrace::Hook hook) : previous_(StatementTrace::setHook(std::move(hook))) {}
    ~ScopedTrace() { StatementTrace::setHook(std::move(previous_)); }
    ScopedTrace(const ScopedTrace&) = delete;
    ScopedTrace& operator=(const ScopedTrace&) = delete;

  private:
    StatementTrace::Hook previous_;
};

} // namespace ado
