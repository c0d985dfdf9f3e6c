#pragma once
// What a schema declares, read by SQLite itself from a database that holds
// it: tables with their columns, indexes, views with their column names. Both
// dialects read into the same shape, so that they can be compared; an
// identity column reads the same from "INT IDENTITY(1,1)" and from "INTEGER
// PRIMARY KEY AUTOINCREMENT".
#include <QMap>
#include <QString>
#include <QStringList>

namespace schematest {

struct ColumnDefinition {
    QString name;
    QString type; // upper case, as declared ("NVARCHAR(150)"); identities read "INT"
    bool notNull = false;
    bool identity = false;
    int primaryKey = 0; // position in the primary key, 0 when not part of it
    QString defaultValue;
    QString collation;
    bool operator==(const ColumnDefinition&) const = default;
};

struct IndexDefinition {
    QString table;
    QStringList columns;
    bool unique = false;
    bool operator==(const IndexDefinition&) const = default;
};

struct ScriptDefinitions {
    QMap<QString, QList<ColumnDefinition>> tables;
    QMap<QString, IndexDefinition> indexes;
    QMap<QString, QStringList> views;
    QMap<QString, QString> procedures; // the SQL Server script's, as written
};

// An embedded catalog file, as SQLite made it from its scripts.
ScriptDefinitions readCatalog(const QString& path);
// The SQL Server script: its tables, indexes and view made in a database of
// SQLite's (the few words it lacks rewritten), its procedures as text.
ScriptDefinitions readServerScript(const QString& path);

} // namespace schematest
