#pragma once
// A small owner of a sqlite3 handle and its prepared statements; failures
// become the provider's error with SQLite's own text.
#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace ado::embedded {

// The start of the refusal of a text longer than its column, as SQL Server
// words it (Msg 2628); an error that starts so carries that number.
inline constexpr const char* widthRefusalPrefix = "Os dados de cadeia seriam truncados na tabela «";
inline constexpr int widthRefusalNumber = 2628;

class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    void bindText(int index, const QByteArray& utf8);
    void bindInt(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindNull(int index);
    // Ready to run again: back at the start, every binding cleared.
    void reset();
    bool step(); // true while a row is ready
    void stepToEnd();
    QByteArray columnBytes(int column) const;
    sqlite3_stmt* get() const { return statement_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* statement_;
};

class SqliteDatabase {
  public:
    enum Mode { ReadOnly, ReadWrite, Create };
    SqliteDatabase(const QString& path, Mode mode);
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase();

    void exec(const char* sql);
    SqliteStatement prepare(const char* sql);
    SqliteStatement prepare(const QByteArray& utf8);
    sqlite3* get() const { return db_; }

    // The provider error for the handle's last failure.
    static QString lastError(sqlite3* db);

  private:
    sqlite3* db_ = nullptr;
};

} // namespace ado::embedded
