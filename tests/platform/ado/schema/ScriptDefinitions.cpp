#include "tests/platform/ado/schema/ScriptDefinitions.h"

#include <QFile>
#include <QRegularExpression>

namespace schematest {

namespace {

// The text without "--" comments; texts between apostrophes are kept whole.
QString withoutComments(const QString& text)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u'-' && i + 1 < text.size() && text[i + 1] == u'-') {
            while (i < text.size() && text[i] != u'\n')
                ++i;
            out += u'\n';
            continue;
        }
        out += c;
    }
    return out;
}

// Where a scan stands: inside a quoted text, and how deep in parentheses.
struct Nesting {
    int depth = 0;
    bool quoted = false;
    void step(QChar c)
    {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && c == u'(')
            ++depth;
        else if (!quoted && c == u')')
            --depth;
    }
    bool topLevel() const { return !quoted && depth == 0; }
};

// Parts of `text` separated by `separator` outside parentheses and quotes.
QStringList splitTopLevel(const QString& text, QChar separator)
{
    QStringList parts;
    QString current;
    Nesting nesting;
    for (const QChar c : text) {
        nesting.step(c);
        if (nesting.topLevel() && (c == separator || (separator == u' ' && c.isSpace()))) {
            if (!current.trimmed().isEmpty())
                parts.append(current.trimmed());
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        parts.append(current.trimmed());
    return parts;
}

// The position after the parenthesis that closes the one at `open`.
qsizetype closingParenthesis(const QString& text, qsizetype open)
{
    Nesting nesting;
    for (qsizetype i = open; i < text.size(); ++i) {
        nesting.step(text[i]);
        if (text[i] == u')' && nesting.topLevel())
            return i;
    }
    return -1;
}

// Where the keyword stands outside parentheses, from `from` on; -1 if nowhere.
qsizetype topLevelKeyword(const QString& text, const QString& keyword, qsizetype from = 0)
{
    Nesting nesting;
    const auto isWord = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        nesting.step(c);
        if (nesting.topLevel() && text.mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) == 0 &&
            (i == 0 || !isWord(text[i - 1])) &&
            (i + keyword.size() >= text.size() || !isWord(text[i + keyword.size()])))
            return i;
    }
    return -1;
}

QStringList names(const QString& list)
{
    QStringList out;
    for (const QString& part : splitTopLevel(list, u','))
        out.append(part.section(u' ', 0, 0));
    return out;
}

ColumnDefinition readColumn(const QStringList& tokens)
{
    ColumnDefinition column;
    column.name = tokens.value(0);
    column.type = tokens.value(1).toUpper();
    for (qsizetype i = 2; i < tokens.size(); ++i) {
        const QString word = tokens[i].toUpper();
        const QString next = tokens.value(i + 1).toUpper();
        if (word == QLatin1String("NOT") && next == QLatin1String("NULL")) {
            column.notNull = true;
            ++i;
        } else if (word == QLatin1String("PRIMARY") && next == QLatin1String("KEY")) {
            column.primaryKey = 1;
            ++i;
        } else if (word.startsWith(QLatin1String("IDENTITY")) || word == QLatin1String("AUTOINCREMENT")) {
            column.identity = true;
        } else if (word == QLatin1String("DEFAULT")) {
            column.defaultValue = tokens.value(++i);
        } else if (word == QLatin1String("COLLATE")) {
            column.collation = tokens.value(++i);
        }
    }
    // A computed column: "name AS (…) PERSISTED" on SQL Server, "name TYPE
    // GENERATED ALWAYS AS (…) STORED" on SQLite.
    if (column.type == QLatin1String("AS") ||
        tokens.contains(QStringLiteral("GENERATED"), Qt::CaseInsensitive))
        column.type = QStringLiteral("COMPUTED");
    if (column.type == QLatin1String("INTEGER"))
        column.type = QStringLiteral("INT");
    if (column.primaryKey > 0)
        column.notNull = true;
    return column;
}

void readTables(const QString& text, ScriptDefinitions& out)
{
    static const QRegularExpression create(
        QStringLiteral("CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = create.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const qsizetype open = match.capturedEnd() - 1;
        const qsizetype close = closingParenthesis(text, open);
        if (close < 0) {
            out.problems.append(QStringLiteral("table %1 is not closed").arg(match.captured(1)));
            continue;
        }
        QList<ColumnDefinition> columns;
        for (const QString& item : splitTopLevel(text.mid(open + 1, close - open - 1), u',')) {
            const QStringList tokens = splitTopLevel(item, u' ');
            if (tokens.value(0).toUpper() == QLatin1String("PRIMARY")) {
                const QString list =
                    item.mid(item.indexOf(u'(') + 1, item.lastIndexOf(u')') - item.indexOf(u'(') - 1);
                int position = 0;
                for (const QString& name : names(list))
                    for (ColumnDefinition& column : columns)
                        if (column.name == name) {
                            column.primaryKey = ++position;
                            column.notNull = true;
                        }
            } else if (tokens.value(0).toUpper() == QLatin1String("CONSTRAINT") ||
                       tokens.value(0).toUpper() == QLatin1String("UNIQUE")) {
                out.problems.append(
                    QStringLiteral("table %1: constraint not read: %2").arg(match.captured(1), item));
            } else {
                columns.append(readColumn(tokens));
            }
        }
        out.tables.insert(match.captured(1), columns);
    }
}

void readIndexes(const QString& text, ScriptDefinitions& out)
{
    static const QRegularExpression create(
        QStringLiteral("CREATE\\s+(UNIQUE\\s+)?INDEX\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)\\s+ON\\s+(\\w+)"
                       "\\s*\\(([^)]*)\\)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = create.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        // An index on an expression is SQLite's own way to a lookup SQL
        // Server makes by a scan: not part of the schema both declare.
        if (match.captured(4).contains(u'('))
            continue;
        out.indexes.insert(match.captured(2),
                           IndexDefinition{match.captured(3), names(match.captured(4)),
                                           match.hasCaptured(1) && !match.captured(1).isEmpty()});
    }
}

// A statement ends at a "GO" line or at a ";" outside parentheses, whichever comes first.
qsizetype statementEnd(const QString& text, qsizetype from, bool semicolonEnds)
{
    static const QRegularExpression go(QStringLiteral("^GO\\s*$"), QRegularExpression::MultilineOption);
    const auto match = go.match(text, from);
    qsizetype end = match.hasMatch() ? match.capturedStart() : text.size();
    Nesting nesting;
    for (qsizetype i = from; semicolonEnds && i < end; ++i) {
        nesting.step(text[i]);
        if (nesting.topLevel() && text[i] == u';')
            return i;
    }
    return end;
}

// The name a select-list item gives its column: its alias, else its column.
QString itemName(const QString& item)
{
    const qsizetype as = [&] {
        qsizetype last = -1;
        for (qsizetype at = topLevelKeyword(item, QStringLiteral("AS")); at >= 0;
             at = topLevelKeyword(item, QStringLiteral("AS"), at + 2))
            last = at;
        return last;
    }();
    const QString name = as >= 0 ? item.mid(as + 2).trimmed() : item;
    return name.section(u'.', -1).trimmed();
}

void readViews(const QString& text, ScriptDefinitions& out)
{
    static const QRegularExpression create(QStringLiteral("CREATE\\s+VIEW\\s+(\\w+)\\s+AS\\s"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (auto it = create.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QString body = text.mid(match.capturedEnd(),
                                      statementEnd(text, match.capturedEnd(), true) - match.capturedEnd());
        const qsizetype select = topLevelKeyword(body, QStringLiteral("SELECT"));
        const qsizetype from = topLevelKeyword(body, QStringLiteral("FROM"));
        if (select < 0 || from < select) {
            out.problems.append(QStringLiteral("view %1 has no select list").arg(match.captured(1)));
            continue;
        }
        QStringList columns;
        for (const QString& item : splitTopLevel(body.mid(select + 6, from - select - 6), u','))
            columns.append(itemName(item));
        out.views.insert(match.captured(1), columns);
    }
}

void readProcedures(const QString& text, ScriptDefinitions& out)
{
    static const QRegularExpression create(QStringLiteral("CREATE\\s+PROCEDURE\\s+(\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (auto it = create.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        out.procedures.insert(match.captured(1),
                              text.mid(match.capturedEnd(),
                                       statementEnd(text, match.capturedEnd(), false) - match.capturedEnd()));
    }
}

} // namespace

ScriptDefinitions readScript(const QString& script)
{
    const QString text = withoutComments(script);
    ScriptDefinitions out;
    readTables(text, out);
    readIndexes(text, out);
    readViews(text, out);
    readProcedures(text, out);
    return out;
}

ScriptDefinitions readScriptFiles(const QStringList& paths)
{
    QString text;
    for (const QString& path : paths) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ScriptDefinitions out;
            out.problems.append(QStringLiteral("cannot read ") + path);
            return out;
        }
        text += QString::fromUtf8(file.readAll()) + u'\n';
    }
    return readScript(text);
}

} // namespace schematest
