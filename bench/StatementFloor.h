#pragma once
// The floor of an operation: the statements it sent (as the statement trace
// saw them), translated once into SQLite's dialect, replayed on a raw sqlite3
// connection with the server's functions and collation, every row stepped
// through. Procedures have no raw counterpart and are left out; a connect
// is a raw open and close.
#include "platform/ado/StatementTrace.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/dialect/TSqlDialect.h"

#include <QList>
#include <QString>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sqlite3.h>
#include <vector>

namespace bench {

inline constexpr int recordedIterations = 64; // iterations whose statements the floor replays
inline constexpr double nsPerMs = 1e6;
inline constexpr double usPerMs = 1e3;

using Clock = std::chrono::steady_clock;

inline double elapsedNs(Clock::time_point since)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - since).count());
}

struct RawStep {
    dialect::Statement::Kind kind = dialect::Statement::Kind::Nothing;
    QByteArray sql;
    bool connect = false;
};

class RawReplay {
  public:
    explicit RawReplay(const QString& catalogFile) : path_(catalogFile.toUtf8())
    {
        sqlite3_open_v2(path_.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
        context_.trancount = [this] { return depth_; };
        dialect::registerFunctions(db_, &context_);
    }
    ~RawReplay() { sqlite3_close(db_); }
    RawReplay(const RawReplay&) = delete;
    RawReplay& operator=(const RawReplay&) = delete;

    static std::vector<RawStep> translate(const QList<ado::TraceEntry>& entries)
    {
        std::vector<RawStep> steps;
        for (const ado::TraceEntry& entry : entries) {
            if (entry.kind == ado::TraceEntry::Kind::Connect) {
                steps.push_back({dialect::Statement::Kind::Nothing, {}, true});
                continue;
            }
            for (const dialect::Statement& s : dialect::translate(entry.statement))
                steps.push_back({s.kind, s.sql.toUtf8(), false});
        }
        return steps;
    }

    void run(const std::vector<RawStep>& steps)
    {
        for (const RawStep& step : steps)
            run(step);
    }

  private:
    void run(const RawStep& step)
    {
        using Kind = dialect::Statement::Kind;
        if (step.connect) {
            sqlite3* other = nullptr;
            sqlite3_open_v2(path_.constData(), &other, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX,
                            nullptr);
            sqlite3_close(other);
            return;
        }
        switch (step.kind) {
        case Kind::Sql:
            query(step.sql);
            break;
        case Kind::BeginTransaction:
            if (depth_++ == 0)
                sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            break;
        case Kind::CommitTransaction:
            if (depth_ > 0 && --depth_ == 0)
                sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
            break;
        case Kind::RollbackTransaction:
            depth_ = 0;
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            break;
        case Kind::Execute: // the server's procedures have no raw counterpart
        case Kind::Nothing:
            break;
        }
    }

    void query(const QByteArray& sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
            return;
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                benchmark::DoNotOptimize(
                    sqlite3_column_type(st, i) == SQLITE_TEXT ? sqlite3_column_text(st, i) : nullptr);
        sqlite3_finalize(st);
    }

    QByteArray path_;
    sqlite3* db_ = nullptr;
    dialect::FunctionContext context_;
    int depth_ = 0;
};

// The statements of each measured run, its counts and its time in the layer.
class Recording {
  public:
    Recording()
        : trace_([this](const ado::TraceEntry& e) {
              if (on_)
                  current_.append(e);
          })
    {
    }
    void start()
    {
        current_.clear();
        on_ = true;
    }
    void stop()
    {
        on_ = false;
        for (const ado::TraceEntry& e : current_) {
            (e.kind == ado::TraceEntry::Kind::Connect ? connects_ : statements_) += 1;
            layerUs_ += e.microseconds;
        }
        ++iterations_;
        if (recorded_.size() < std::size_t(recordedIterations))
            recorded_.push_back(RawReplay::translate(current_));
    }
    double statementsEach() const { return iterations_ ? double(statements_) / iterations_ : 0; }
    double roundTripsEach() const { return iterations_ ? double(statements_ + connects_) / iterations_ : 0; }
    // Time spent inside the data-access layer's calls, as the trace measured it.
    double layerMsEach() const { return iterations_ ? double(layerUs_) / usPerMs / iterations_ : 0; }
    const std::vector<std::vector<RawStep>>& recorded() const { return recorded_; }

  private:
    bool on_ = false;
    QList<ado::TraceEntry> current_;
    std::vector<std::vector<RawStep>> recorded_;
    qint64 statements_ = 0;
    qint64 connects_ = 0;
    qint64 iterations_ = 0;
    qint64 layerUs_ = 0;
    ado::ScopedTrace trace_;
};

// The mean time of one recorded run's statements on the raw connection.
inline double floorNs(const std::vector<std::vector<RawStep>>& recorded, const QString& catalogFile)
{
    if (recorded.empty())
        return 0;
    RawReplay raw(catalogFile);
    const auto start = Clock::now();
    for (const std::vector<RawStep>& steps : recorded)
        raw.run(steps);
    return elapsedNs(start) / double(recorded.size());
}

} // namespace bench
