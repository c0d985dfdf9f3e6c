#include "platform/dialect/TSqlDialect.h"

#include "platform/dialect/DialectError.h"
#include "platform/dialect/SqlTokenizer.h"
#include "platform/dialect/WordSet.h"

#include <QSet>
#include <optional>

namespace dialect {

namespace {

using Tokens = QList<Token>;

constexpr int asciiLast = 127; // CHAR(n) beyond it depends on the server's code page

// Words that end an operand: the additive rewrite never reaches across them.
const WordSet& boundaryWords()
{
    static const WordSet words = {
        "SELECT",  "FROM",    "WHERE",      "AND",     "OR",         "NOT",   "LIKE",  "IN",       "IS",
        "BETWEEN", "AS",      "ON",         "JOIN",    "LEFT",       "RIGHT", "INNER", "OUTER",    "CROSS",
        "FULL",    "ORDER",   "GROUP",      "BY",      "HAVING",     "UNION", "ALL",   "DISTINCT", "VALUES",
        "SET",     "INTO",    "INSERT",     "UPDATE",  "DELETE",     "CASE",  "WHEN",  "THEN",     "ELSE",
        "END",     "ASC",     "DESC",       "EXISTS",  "CREATE",     "TABLE", "INDEX", "UNIQUE",   "PRIMARY",
        "KEY",     "DEFAULT", "REFERENCES", "FOREIGN", "CONSTRAINT", "DROP",  "ALTER", "ADD",      "VIEW",
        "IF",      "EXCEPT",  "INTERSECT",  "ESCAPE",  "COLLATE",    "TOP",   "WITH"};
    return words;
}

const QSet<QString>& boundarySymbols()
{
    static const QSet<QString> symbols = {",", "=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return symbols;
}

const WordSet& refusedWords()
{
    static const WordSet words = {"DECLARE", "MERGE",  "OUTPUT", "PIVOT",     "UNPIVOT", "APPLY",
                                  "GO",      "PRINT",  "WHILE",  "RAISERROR", "GOTO",    "TRY",
                                  "CATCH",   "CURSOR", "FETCH",  "OPENQUERY"};
    return words;
}

// SQLite's own statements, which SQL Server does not have: refused by name.
const WordSet& sqliteStatements()
{
    static const WordSet words = {"ATTACH",  "DETACH",    "VACUUM",  "PRAGMA",  "REINDEX",
                                  "ANALYZE", "SAVEPOINT", "RELEASE", "EXPLAIN", "REPLACE"};
    return words;
}

bool isBoundary(const Token& t)
{
    if (t.type == Token::Type::Word)
        return boundaryWords().contains(t.text);
    return t.type == Token::Type::Symbol && boundarySymbols().contains(t.text);
}

// The comparisons a collation asks of LIKE.
enum class Comparison { CaseInsensitive, AccentInsensitive, Exact };

// A LIKE pattern as GLOB reads it: "%" any run, "_" one character, a class
// as it is; GLOB's own "*" and "?" stand for themselves.
QString globOf(const QString& like)
{
    QString glob;
    for (qsizetype i = 0; i < like.size(); ++i) {
        const QChar c = like.at(i);
        if (c == u'%') {
            glob += u'*';
        } else if (c == u'_') {
            glob += u'?';
        } else if (c == u'*' || c == u'?') {
            glob += u'[' + QString(c) + u']';
        } else if (c == u'[') {
            const qsizetype close = like.indexOf(u']', i + 1);
            if (close < 0) {
                glob += QStringLiteral("[[]"); // an unclosed bracket is itself
            } else {
                glob += like.mid(i, close - i + 1);
                i = close;
            }
        } else {
            glob += c;
        }
    }
    return glob;
}

QString stringLiteral(const QString& text)
{
    // SQLite stops reading statement text at a NUL, so NULs travel as char(0).
    QStringList parts;
    for (const QString& piece : text.split(QChar(0))) {
        QString escaped = piece;
        parts.append(u'\'' + escaped.replace(u'\'', QStringLiteral("''")) + u'\'');
    }
    return parts.size() == 1 ? parts.first() : u'(' + parts.join(QStringLiteral(" || char(0) || ")) + u')';
}

QString sqliteType(const QString& type)
{
    const QString t = type.toUpper();
    static const QSet<QString> integers = {"INT", "INTEGER", "SMALLINT", "TINYINT", "BIGINT", "BIT"};
    static const QSet<QString> reals = {"FLOAT", "REAL", "DECIMAL", "NUMERIC", "MONEY", "SMALLMONEY"};
    static const QSet<QString> texts = {"CHAR", "VARCHAR", "NCHAR", "NVARCHAR", "TEXT", "NTEXT"};
    if (integers.contains(t))
        return QStringLiteral("INTEGER");
    if (reals.contains(t))
        return QStringLiteral("REAL");
    if (texts.contains(t))
        return QStringLiteral("TEXT");
    throw unsupported(QStringLiteral("conversão para ") + type);
}

bool isDateType(const QString& type)
{
    const QString t = type.toUpper();
    return t == QLatin1String("DATETIME") || t == QLatin1String("SMALLDATETIME") ||
           t == QLatin1String("DATE") || t == QLatin1String("DATETIME2");
}

class Writer {
  public:
    explicit Writer(const Tokens& tokens) : t_(tokens) {}

    // A full expression context: operands separated by keywords, commas and comparisons.
    QString expression(int b, int e) const
    {
        struct Item {
            bool boundary;
            int b, e;
        };
        QList<Item> items;
        QString limit;
        int runStart = -1;
        for (int i = b; i < e; ++i) {
            if (t_[i].isWord("TOP") && i > b &&
                (t_[i - 1].isWord("SELECT") || t_[i - 1].isWord("DISTINCT"))) {
                i = top(i, e, limit);
                continue;
            }
            if (isBoundary(t_[i])) {
                if (runStart >= 0)
                    items.append({false, runStart, i});
                runStart = -1;
                items.append({true, i, i + 1});
                continue;
            }
            if (runStart < 0)
                runStart = i;
            if (t_[i].isSymbol("("))
                i = matching(i, e);
        }
        if (runStart >= 0)
            items.append({false, runStart, e});

        QStringList out;
        Comparison comparison = Comparison::CaseInsensitive; // set by "x COLLATE …" for the LIKE that follows
        for (int k = 0; k < items.size(); ++k) {
            const Item& item = items[k];
            if (!item.boundary) {
                out.append(run(item.b, item.e));
                continue;
            }
            const Token& word = t_[item.b];
            if (word.isWord("ESCAPE"))
                throw unsupported(QStringLiteral("LIKE … ESCAPE"));
            if (word.isWord("COLLATE") && beforeLike(items, k)) {
                comparison = collation(items, k);
                ++k; // the collation's name
                continue;
            }
            if (word.isWord("COLLATE") && serverCollation(items, k)) {
                // A server's case-insensitive collation (an ORDER BY's) is the
                // catalog's own Portuguese order here.
                out.append(QStringLiteral("COLLATE QV_CI"));
                ++k;
                continue;
            }
            if (!word.isWord("LIKE")) {
                out.append(word.type == Token::Type::Symbol ? symbolText(word) : word.text);
                continue;
            }
            // x [NOT] LIKE p  →  [NOT] qv_like(x, p)
            const bool negated =
                !out.isEmpty() && k >= 1 && items[k - 1].boundary && t_[items[k - 1].b].isWord("NOT");
            if (negated)
                out.removeLast();
            const bool hasLeft = k >= (negated ? 2 : 1) && !items[k - (negated ? 2 : 1)].boundary;
            if (!hasLeft || k + 1 >= items.size() || items[k + 1].boundary)
                throw malformed(QStringLiteral("LIKE sem os dois termos"));
            const QString left = out.takeLast();
            const QString no = negated ? QStringLiteral("NOT ") : QString();
            if (comparison == Comparison::Exact) {
                // Minding case and accents, LIKE is SQLite's GLOB, which an
                // index of trigrams can answer.
                const std::optional<QString> pattern = textConstant(items[k + 1].b, items[k + 1].e);
                if (!pattern)
                    throw unsupported(
                        QStringLiteral("LIKE com um agrupamento binário e um padrão calculado"));
                out.append(left + u' ' + no + QStringLiteral("GLOB ") + stringLiteral(globOf(*pattern)));
            } else {
                out.append(no +
                           (comparison == Comparison::AccentInsensitive ? QStringLiteral("qv_like_ai(")
                                                                        : QStringLiteral("qv_like(")) +
                           left + QStringLiteral(", ") + run(items[k + 1].b, items[k + 1].e) + u')');
            }
            comparison = Comparison::CaseInsensitive;
            ++k;
        }
        QString text = out.join(u' ');
        if (!limit.isEmpty())
            text += QStringLiteral(" LIMIT ") + limit;
        return text;
    }

    // "x COLLATE name [NOT] LIKE p": the collation decides whether LIKE minds
    // accents (case never matters here). Elsewhere (a column's definition)
    // COLLATE is SQLite's own and is left as written.
    template <class Items> bool beforeLike(const Items& items, int k) const
    {
        const auto isWordAt = [&](int at, const char* word) {
            return at < items.size() && items[at].boundary && t_[items[at].b].isWord(word);
        };
        return isWordAt(k + 2, "LIKE") || (isWordAt(k + 2, "NOT") && isWordAt(k + 3, "LIKE"));
    }

    // What the collation minds: accents too (…_AI: neither), or case and
    // accents both (…_BIN, …_BIN2, …_CS_AS: the exact characters).
    template <class Items> Comparison collation(const Items& items, int k) const
    {
        const bool named = k >= 1 && !items[k - 1].boundary && k + 1 < items.size() &&
                           !items[k + 1].boundary && items[k + 1].e == items[k + 1].b + 1 &&
                           t_[items[k + 1].b].type == Token::Type::Word;
        if (!named)
            throw malformed(QStringLiteral("COLLATE sem nome de agrupamento"));
        const QString name = t_[items[k + 1].b].text.toUpper();
        if (name.contains(QStringLiteral("_BIN")) ||
            (name.contains(QStringLiteral("_CS")) && name.contains(QStringLiteral("_AS"))))
            return Comparison::Exact;
        return name.contains(QStringLiteral("_AI")) ? Comparison::AccentInsensitive
                                                    : Comparison::CaseInsensitive;
    }

    // "COLLATE Latin1_General_CI_AI" and the like: a SQL Server collation
    // name, which SQLite does not know; its own (NOCASE, QV_CI) stay.
    template <class Items> bool serverCollation(const Items& items, int k) const
    {
        if (k + 1 >= items.size() || items[k + 1].boundary || items[k + 1].e != items[k + 1].b + 1)
            return false;
        const QString name = t_[items[k + 1].b].text.toUpper();
        return name.contains(QStringLiteral("_CI_")) || name.endsWith(QStringLiteral("_CI"));
    }

    int matching(int open, int e) const
    {
        int depth = 0;
        for (int i = open; i < e; ++i) {
            if (t_[i].isSymbol("("))
                ++depth;
            else if (t_[i].isSymbol(")") && --depth == 0)
                return i;
        }
        throw malformed(QStringLiteral("parêntesis por fechar"));
    }

  private:
    // TOP n / TOP (n) after SELECT: returns the last index used.
    int top(int i, int e, QString& limit) const
    {
        int j = i + 1;
        if (j < e && t_[j].isSymbol("(")) {
            const int close = matching(j, e);
            if (close != j + 2 || t_[j + 1].type != Token::Type::Number)
                throw unsupported(QStringLiteral("TOP com uma expressão"));
            limit = t_[j + 1].text;
            j = close;
        } else if (j < e && t_[j].type == Token::Type::Number) {
            limit = t_[j].text;
        } else {
            throw malformed(QStringLiteral("TOP sem número"));
        }
        if (j + 1 < e && (t_[j + 1].isWord("PERCENT") || t_[j + 1].isWord("WITH")))
            throw unsupported(QStringLiteral("TOP … ") + t_[j + 1].text.toUpper());
        return j;
    }

    bool endsOperand(const Token& t) const { return t.type != Token::Type::Symbol || t.isSymbol(")"); }

    // The additive level: "+" becomes qv_plus, which adds numbers and joins texts.
    QString run(int b, int e) const
    {
        QList<int> ops;
        bool plus = false;
        for (int i = b; i < e; ++i) {
            if (t_[i].isSymbol("(")) {
                i = matching(i, e);
                continue;
            }
            if ((t_[i].isSymbol("+") || t_[i].isSymbol("-")) && i > b && endsOperand(t_[i - 1])) {
                ops.append(i);
                plus = plus || t_[i].isSymbol("+");
            }
        }
        if (!plus)
            return terms(b, e);
        // A leading run of text constants joined by "+" ('O' + CHAR(39) +
        // 'Neil', as apostrophes are written) is one literal: a text with
        // many apostrophes must not nest one call per apostrophe.
        int k = 0;
        QString acc;
        if (const std::optional<QString> first = textConstant(b, ops.first())) {
            QString joined = *first;
            for (; k < ops.size() && t_[ops[k]].isSymbol("+"); ++k) {
                const int end = k + 1 < ops.size() ? ops[k + 1] : e;
                const std::optional<QString> next = textConstant(ops[k] + 1, end);
                if (!next)
                    break;
                joined += *next;
            }
            acc = stringLiteral(joined);
        } else {
            acc = terms(b, ops.first());
        }
        for (; k < ops.size(); ++k) {
            const int end = k + 1 < ops.size() ? ops[k + 1] : e;
            const QString term = terms(ops[k] + 1, end);
            if (term.trimmed().isEmpty())
                throw malformed(QStringLiteral("operador sem termo"));
            acc = t_[ops[k]].isSymbol("+") ? QStringLiteral("qv_plus(%1, %2)").arg(acc, term)
                                           : acc + QStringLiteral(" - ") + term;
        }
        return acc;
    }

    // The text of a constant text operand: a string, or CHAR(n) for a code
    // of the ASCII range; nothing for anything else.
    std::optional<QString> textConstant(int b, int e) const
    {
        while (b < e && t_[b].isSymbol("(") && matching(b, e) == e - 1) {
            ++b; // (('a')) is 'a'
            --e;
        }
        if (e - b == 1 && t_[b].type == Token::Type::String)
            return t_[b].text;
        if (e - b == 4 && (t_[b].isWord("CHAR") || t_[b].isWord("NCHAR")) && t_[b + 1].isSymbol("(") &&
            t_[b + 2].type == Token::Type::Number && t_[b + 3].isSymbol(")")) {
            bool ok = false;
            const int code = t_[b + 2].text.toInt(&ok);
            if (ok && code >= 0 && code <= asciiLast)
                return QString(QChar(code));
        }
        return std::nullopt;
    }

    QString terms(int b, int e) const
    {
        QString out;
        for (int i = b; i < e; ++i) {
            const Token& tok = t_[i];
            const QString space = (tok.spaceBefore && !out.isEmpty()) ? QStringLiteral(" ") : QString();
            if (tok.isWord("INFORMATION_SCHEMA") && i + 2 < e && t_[i + 1].isSymbol(".") &&
                (t_[i + 2].isWord("TABLES") || t_[i + 2].isWord("COLUMNS"))) {
                out += space + QStringLiteral("qv_information_schema_") + t_[i + 2].text.toLower();
                i += 2;
            } else if (tok.type == Token::Type::Word && i + 1 < e && t_[i + 1].isSymbol("(")) {
                const int close = matching(i + 1, e);
                out += space + call(tok.text, i + 2, close);
                i = close;
            } else if (tok.isSymbol("(")) {
                const int close = matching(i, e);
                out += space + u'(' + expression(i + 1, close) + u')';
                i = close;
            } else {
                out += space + single(tok);
            }
        }
        return out;
    }

    QList<std::pair<int, int>> arguments(int b, int e) const
    {
        QList<std::pair<int, int>> args;
        int start = b;
        for (int i = b; i < e; ++i) {
            if (t_[i].isSymbol("("))
                i = matching(i, e);
            else if (t_[i].isSymbol(",")) {
                args.append({start, i});
                start = i + 1;
            }
        }
        if (start < e || !args.isEmpty())
            args.append({start, e});
        return args;
    }

    QString call(const QString& name, int b, int e) const
    {
        const QString upper = name.toUpper();
        const auto args = arguments(b, e);
        const auto arg = [&](int k) { return expression(args[k].first, args[k].second); };
        const auto all = [&] {
            QStringList list;
            for (const auto& a : args)
                list.append(expression(a.first, a.second));
            return list.join(QStringLiteral(", "));
        };
        const auto need = [&](int count) {
            if (args.size() != count)
                throw malformed(QStringLiteral("%1 espera %2 argumentos").arg(upper).arg(count));
        };
        if (upper == QLatin1String("CONVERT"))
            return convert(args);
        if (upper == QLatin1String("CAST"))
            return cast(b, e);
        if (upper == QLatin1String("GETDATE") || upper == QLatin1String("CURRENT_TIMESTAMP")) {
            need(0);
            return QStringLiteral("qv_getdate()");
        }
        if (upper == QLatin1String("SCOPE_IDENTITY")) {
            need(0);
            return QStringLiteral("last_insert_rowid()");
        }
        // A table is known by its name here.
        if (upper == QLatin1String("OBJECT_ID")) {
            need(1);
            return arg(0);
        }
        if (upper == QLatin1String("COLUMNPROPERTY")) {
            need(3);
            return QStringLiteral("qv_columnproperty(") + all() + u')';
        }
        if (upper == QLatin1String("ISNULL")) {
            need(2);
            return QStringLiteral("ifnull(") + all() + u')';
        }
        if (upper == QLatin1String("LEN")) {
            need(1);
            return QStringLiteral("length(rtrim(") + arg(0) + QStringLiteral("))");
        }
        if (upper == QLatin1String("SUBSTRING")) {
            need(3);
            return QStringLiteral("substr(") + all() + u')';
        }
        if (upper == QLatin1String("UPPER") || upper == QLatin1String("LOWER")) {
            need(1);
            return QStringLiteral("qv_") + upper.toLower() + u'(' + arg(0) + u')';
        }
        if (upper == QLatin1String("CHAR") || upper == QLatin1String("NCHAR")) {
            need(1);
            return QStringLiteral("char(") + arg(0) + u')';
        }
        if (upper == QLatin1String("CHARINDEX")) {
            if (args.size() != 2)
                throw unsupported(QStringLiteral("CHARINDEX com posição inicial"));
            return QStringLiteral("instr(") + arg(1) + QStringLiteral(", ") + arg(0) + u')';
        }
        static const QSet<QString> refused = {"DATEADD", "DATEDIFF", "DATEPART", "DATENAME",
                                              "STUFF",   "PATINDEX", "FORMAT",   "IIF",
                                              "NEWID",   "STR",      "SPACE",    "REPLICATE"};
        if (refused.contains(upper))
            throw unsupported(upper);
        return name + u'(' + all() + u')';
    }

    QString typeName(int b, int e) const
    {
        if (b >= e || t_[b].type != Token::Type::Word)
            throw malformed(QStringLiteral("tipo em falta"));
        return t_[b].text; // a length in parentheses after it does not matter here
    }

    QString convert(const QList<std::pair<int, int>>& args) const
    {
        if (args.size() < 2 || args.size() > 3)
            throw malformed(QStringLiteral("CONVERT espera 2 ou 3 argumentos"));
        const QString type = typeName(args[0].first, args[0].second);
        const QString value = expression(args[1].first, args[1].second);
        const QString style =
            args.size() == 3 ? expression(args[2].first, args[2].second) : QStringLiteral("0");
        if (isDateType(type))
            return QStringLiteral("qv_datetime(") + value + QStringLiteral(", ") + style + u')';
        return QStringLiteral("CAST(") + value + QStringLiteral(" AS ") + sqliteType(type) + u')';
    }

    QString cast(int b, int e) const
    {
        int as = -1;
        for (int i = b; i < e; ++i) {
            if (t_[i].isSymbol("("))
                i = matching(i, e);
            else if (t_[i].isWord("AS"))
                as = i;
        }
        if (as < 0)
            throw malformed(QStringLiteral("CAST sem AS"));
        const QString type = typeName(as + 1, e);
        const QString value = expression(b, as);
        if (isDateType(type))
            return QStringLiteral("qv_datetime(") + value + QStringLiteral(", 0)");
        return QStringLiteral("CAST(") + value + QStringLiteral(" AS ") + sqliteType(type) + u')';
    }

    static QString symbolText(const Token& t)
    {
        if (t.text == QLatin1String("!<"))
            return QStringLiteral(">=");
        if (t.text == QLatin1String("!>"))
            return QStringLiteral("<=");
        return t.text;
    }

    QString single(const Token& t) const
    {
        switch (t.type) {
        case Token::Type::String:
            return stringLiteral(t.text);
        case Token::Type::Name: {
            QString name = t.text;
            return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
        }
        case Token::Type::Variable: {
            const QString upper = t.text.toUpper();
            if (upper == QLatin1String("@@TRANCOUNT"))
                return QStringLiteral("qv_trancount()");
            if (upper == QLatin1String("@@IDENTITY"))
                return QStringLiteral("last_insert_rowid()");
            if (upper == QLatin1String("@@ROWCOUNT"))
                return QStringLiteral("changes()");
            throw unsupported(t.text.startsWith(QStringLiteral("@@"))
                                  ? t.text
                                  : QStringLiteral("variáveis locais (") + t.text + u')');
        }
        case Token::Type::Symbol:
            return symbolText(t);
        default:
            return t.text;
        }
    }

    const Tokens& t_;
};

vb::Variant constant(const Tokens& t, int b, int e)
{
    if (e - b == 1 && t[b].type == Token::Type::String)
        return vb::Variant(t[b].text);
    if (e - b == 1 && t[b].isWord("NULL"))
        return vb::Variant::null();
    bool negative = false;
    int i = b;
    if (i < e && (t[i].isSymbol("-") || t[i].isSymbol("+"))) {
        negative = t[i].isSymbol("-");
        ++i;
    }
    if (i + 1 == e && t[i].type == Token::Type::Number) {
        bool ok = false;
        const qint64 whole = t[i].text.toLongLong(&ok);
        if (ok && whole <= std::numeric_limits<qint32>::max())
            return vb::Variant(int(negative ? -whole : whole));
        const double number = t[i].text.toDouble();
        return vb::Variant(negative ? -number : number);
    }
    throw unsupported(QStringLiteral("argumentos de EXECUTE que não são constantes"));
}

Statement executeStatement(const Tokens& t, int b, int e)
{
    Statement s;
    s.kind = Statement::Kind::Execute;
    int i = b + 1;
    if (i >= e || (t[i].type != Token::Type::Word && t[i].type != Token::Type::Name))
        throw malformed(QStringLiteral("EXECUTE sem procedimento"));
    s.procedure = t[i].text;
    while (i + 2 < e && t[i + 1].isSymbol(".") &&
           (t[i + 2].type == Token::Type::Word || t[i + 2].type == Token::Type::Name)) {
        i += 2; // dbo.spNAME: the schema does not matter here
        s.procedure = t[i].text;
    }
    int start = i + 1;
    for (int j = start; j <= e; ++j) {
        if (j == e || t[j].isSymbol(",")) {
            if (j == start) {
                if (j == e && s.arguments.isEmpty())
                    break;
                throw malformed(QStringLiteral("argumento vazio em EXECUTE"));
            }
            s.arguments.append(constant(t, start, j));
            start = j + 1;
        }
    }
    return s;
}

bool transactionWordOnly(const Tokens& t, int b, int e)
{
    int i = b + 1;
    if (i < e && (t[i].isWord("TRAN") || t[i].isWord("TRANSACTION") || t[i].isWord("WORK")))
        ++i;
    if (i < e && (t[i].type == Token::Type::Word || t[i].type == Token::Type::Name))
        ++i; // a transaction name
    return i == e;
}

Statement session(const Tokens& t, int b, int e)
{
    static const QSet<QString> options = {
        "NOCOUNT",    "ANSI_NULLS", "QUOTED_IDENTIFIER", "ANSI_WARNINGS",
        "ARITHABORT", "XACT_ABORT", "ANSI_PADDING",      "CONCAT_NULL_YIELDS_NULL"};
    if (e - b == 3 && t[b + 1].type == Token::Type::Word && options.contains(t[b + 1].text.toUpper()) &&
        (t[b + 2].isWord("ON") || t[b + 2].isWord("OFF")))
        return Statement{Statement::Kind::Nothing, {}, {}, {}};
    // SQLite takes a row's own number in an INTEGER PRIMARY KEY at any time.
    if (e - b == 4 && t[b + 1].isWord("IDENTITY_INSERT") &&
        (t[b + 2].type == Token::Type::Word || t[b + 2].type == Token::Type::Name) &&
        (t[b + 3].isWord("ON") || t[b + 3].isWord("OFF")))
        return Statement{Statement::Kind::Nothing, {}, {}, {}};
    throw unsupported(QStringLiteral("SET ") + (e - b > 1 ? t[b + 1].text : QString()));
}

// The items of an ORDER BY list starting at `i`, each as its words without
// ASC or DESC, until the list ends (a closing parenthesis of its own level,
// the statement's end, or a word that follows a list).
QStringList orderByItems(const Tokens& t, int i, int e)
{
    QStringList items;
    QString item;
    int depth = 0;
    for (; i < e; ++i) {
        const Token& token = t[i];
        if (token.isSymbol("("))
            ++depth;
        if (token.isSymbol(")") && depth-- == 0)
            break;
        if (depth == 0 && (token.isWord("OFFSET") || token.isWord("FOR") || token.isWord("UNION") ||
                           token.isWord("OPTION")))
            break;
        if (depth == 0 && token.isSymbol(",")) {
            items << item;
            item.clear();
        } else if (!(depth == 0 && (token.isWord("ASC") || token.isWord("DESC")))) {
            item += token.text.toLower() + u' ';
        }
    }
    items << item;
    return items;
}

// SQL Server refuses a column named twice in one ORDER BY (Msg 169).
void refuseRepeatedOrderBy(const Tokens& t, int b, int e)
{
    for (int i = b; i + 1 < e; ++i) {
        if (!t[i].isWord("ORDER") || !t[i + 1].isWord("BY"))
            continue;
        const QStringList items = orderByItems(t, i + 2, e);
        for (qsizetype k = 0; k < items.size(); ++k)
            if (items.indexOf(items[k]) != k)
                throw refusedAsTheServerDoes(
                    repeatedOrderByColumn,
                    QStringLiteral(
                        "Uma coluna foi indicada mais de uma vez na lista de ORDER BY. As colunas da "
                        "lista de ORDER BY têm de ser únicas."));
    }
}

Statement statement(const Tokens& t, int b, int e)
{
    refuseRepeatedOrderBy(t, b, e);
    for (int i = b; i < e; ++i)
        if (t[i].type == Token::Type::Word && refusedWords().contains(t[i].text))
            throw unsupported(t[i].text.toUpper());
    const Token& first = t[b];
    if (first.type == Token::Type::Word && sqliteStatements().contains(first.text))
        throw unsupported(first.text.toUpper());
    if (first.isWord("SET"))
        return session(t, b, e);
    if (first.isWord("EXEC") || first.isWord("EXECUTE"))
        return executeStatement(t, b, e);
    if (first.isWord("BEGIN")) {
        if (e - b >= 2 && (t[b + 1].isWord("TRAN") || t[b + 1].isWord("TRANSACTION")) &&
            transactionWordOnly(t, b, e))
            return Statement{Statement::Kind::BeginTransaction, {}, {}, {}};
        throw unsupported(QStringLiteral("BEGIN … END"));
    }
    if ((first.isWord("COMMIT") || first.isWord("ROLLBACK")) && transactionWordOnly(t, b, e))
        return Statement{first.isWord("COMMIT") ? Statement::Kind::CommitTransaction
                                                : Statement::Kind::RollbackTransaction,
                         {},
                         {},
                         {}};
    return Statement{Statement::Kind::Sql, Writer(t).expression(b, e), {}, {}};
}

} // namespace

QList<Statement> translate(const QString& batch)
{
    const Tokens tokens = tokenize(batch);
    QList<Statement> statements;
    Writer probe(tokens);
    int start = 0;
    for (int i = 0; i <= tokens.size(); ++i) {
        if (i < tokens.size() && tokens[i].isSymbol("(")) {
            i = probe.matching(i, int(tokens.size()));
            continue;
        }
        if (i < tokens.size() && !tokens[i].isSymbol(";"))
            continue;
        if (i > start)
            statements.append(statement(tokens, start, i));
        start = i + 1;
    }
    return statements;
}

} // namespace dialect
