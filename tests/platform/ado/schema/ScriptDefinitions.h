#pragma once
// What a schema script declares, read from its text: tables with their
// columns, indexes, views with their column names, procedures with their
// bodies. Both dialects' scripts read into the same shape, so that they can be
// compared; an identity column reads the same from "INT IDENTITY(1,1)" and
// from "INTEGER PRIMARY KEY AUTOINCREMENT".
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
    QMap<QString, QString> procedures;
    QStringList problems; // what could not be read
};

ScriptDefinitions readScript(const QString& text);
// The scripts read one after the other, as one text.
ScriptDefinitions readScriptFiles(const QStringList& paths);

} // namespace schematest
