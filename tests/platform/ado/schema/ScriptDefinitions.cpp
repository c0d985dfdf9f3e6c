#include "tests/platform/ado/schema/ScriptDefinitions.h"

#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/dialect/SqlFunctions.h"
#include "platform/dialect/TSqlDialect.h"
#include <QFile>
#include <QRegularExpression>
#include <sqlite3.h>

namespace schematest {

namespace {

using ado::embedded::SqliteDatabase;

// Every row of the statement, its cells as texts (Null reads "").
QList<QStringList> rows(SqliteDatabase& db, const QString& sql)
{
    QList<QStringList> out;
    auto statement = db.prepare(sql.toUtf8());
    while (statement.step()) {
        QStringList cells;
        for (int i = 0; i < sqlite3_column_count(statement.get()); ++i)
            cells.append(QString::fromUtf8(statement.columnBytes(i)));
        out.append(cells);
    }
    return out;
}

ColumnDefinition readColumn(SqliteDatabase& db, const QString& table, const QStringList& info)
{
    ColumnDefinition column{
        info[0], info[1].toUpper(), info[2] == u'1' || info[4] != u'0', false, info[4].toInt(), info[3], {}};
    const char* collation = nullptr;
    int autoincrement = 0;
    sqlite3_table_column_metadata(db.get(), nullptr, table.toUtf8().constData(), info[0].toUtf8().constData(),
                                  nullptr, &collation, nullptr, nullptr, &autoincrement);
    column.collation = QString::fromUtf8(collation);
    column.identity = autoincrement != 0 || column.type.contains(QLatin1String("IDENTITY"));
    if (column.identity || column.type == QLatin1String("INTEGER"))
        column.type = QStringLiteral("INT");
    if (info[5] != u'0') // computed, whatever type it declares
        column.type = QStringLiteral("COMPUTED");
    return column;
}

ScriptDefinitions read(SqliteDatabase& db)
{
    ScriptDefinitions out;
    // The trigram index and its own tables are SQLite's: no server has them.
    for (const QStringList& table :
         rows(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                 "AND name NOT LIKE 'tbContactos_Lista_Trigramas%' "
                                 "AND name NOT LIKE 'sqlite%'")))
        for (const QStringList& info :
             rows(db, QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM "
                                     "pragma_table_xinfo('%1')")
                          .arg(table[0])))
            out.tables[table[0]].append(readColumn(db, table[0], info));
    // An index on an expression is SQLite's own way to a lookup SQL Server
    // makes by a scan: not part of the schema both declare.
    for (const QStringList& index :
         rows(db, QStringLiteral("SELECT name, tbl_name, sql LIKE 'CREATE UNIQUE%' FROM sqlite_master WHERE "
                                 "type = 'index' AND sql IS NOT NULL"))) {
        QStringList columns;
        for (const QStringList& column : rows(
                 db, QStringLiteral("SELECT name FROM pragma_index_info('%1') ORDER BY seqno").arg(index[0])))
            columns.append(column[0]);
        if (columns.contains(QString()))
            continue;
        out.indexes.insert(index[0], IndexDefinition{index[1], columns, index[2] == u'1'});
    }
    for (const QStringList& view :
         rows(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'")))
        for (const QStringList& column :
             rows(db, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(view[0])))
            out.views[view[0]].append(column[0]);
    return out;
}

} // namespace

ScriptDefinitions readCatalog(const QString& path)
{
    SqliteDatabase db(path, SqliteDatabase::ReadOnly);
    dialect::FunctionContext functions;
    dialect::registerFunctions(db.get(), &functions);
    return read(db);
}

ScriptDefinitions readServerScript(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    SqliteDatabase db(QStringLiteral(":memory:"), SqliteDatabase::Create);
    dialect::FunctionContext functions;
    dialect::registerFunctions(db.get(), &functions);
    QMap<QString, QString> procedures;
    static const QRegularExpression comment(QStringLiteral("--[^\n]*"));
    static const QRegularExpression go(QStringLiteral("^GO\\s*$"), QRegularExpression::MultilineOption);
    static const QRegularExpression create(QStringLiteral("^CREATE\\s+(TABLE|UNIQUE|INDEX|VIEW|PROCEDURE)\\s+"
                                                          "(?:INDEX\\s+)?(\\w+)\\s+(?:AS\\s)?"));
    static const QRegularExpression collation(QStringLiteral("COLLATE \\w+"));
    for (QString statement : QString::fromUtf8(file.readAll()).remove(comment).split(go)) {
        statement = statement.trimmed();
        const auto match = create.match(statement);
        const QString kind = match.captured(1);
        if (kind == QLatin1String("PROCEDURE")) {
            procedures.insert(match.captured(2), statement.mid(match.capturedEnd()));
        } else if (kind == QLatin1String("VIEW")) {
            const QString select = dialect::translate(statement.mid(match.capturedEnd())).value(0).sql;
            db.exec(
                QStringLiteral("CREATE VIEW %1 AS %2").arg(match.captured(2), select).toUtf8().constData());
        } else if (match.hasMatch()) {
            // SQL Server's Unicode literals, persisted computed columns and
            // collations, in SQLite's words.
            statement.replace(QLatin1String("N'"), QLatin1String("'"))
                .replace(QLatin1String("PERSISTED"), QLatin1String("STORED"))
                .remove(collation);
            db.exec(statement.toUtf8().constData());
        }
    }
    ScriptDefinitions out = read(db);
    out.procedures = procedures;
    return out;
}

} // namespace schematest
