#pragma once
// The command line of quarvenses-sql, in sqlcmd's letters.
#include <QStringList>
#include <optional>

namespace sqltool {

struct SqlOptions {
    QString server;      // -S: a folder (embedded) or a SQL Server name
    QString catalog;     // -d
    QString login;       // -U
    QString password;    // -P
    QString query;       // -Q; standard input when empty
    QString separator;   // -s
    bool create = false; // --create: a new embedded catalog from the schema, with this first login
    bool demo = false;   // --demo: and the demonstration data
    int contacts = 0;    // --contacts N: and N generated contacts after them
    bool valid = false;
    QString problem;

    static SqlOptions parse(const QStringList& arguments);
    // Each value quoted as OLE DB needs, so a ";" in a password injects nothing.
    QString connectionString() const;
};

// Splits a script at lines holding only "GO", as sqlcmd does.
QStringList splitBatches(const QString& script);

} // namespace sqltool
