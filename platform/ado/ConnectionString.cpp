#include "platform/ado/ConnectionString.h"

#include "platform/ado/AdoError.h"

namespace ado {

namespace {

vb::Error badString(const QString& why)
{
    return error::provider(QStringLiteral("Cadeia de ligação inválida: %1.").arg(why));
}

// Reads a quoted value starting at text[pos] (the quote); leaves pos after it.
QString readQuoted(const QString& text, qsizetype& pos)
{
    const QChar quote = text[pos++];
    QString value;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c != quote) {
            value += c;
            continue;
        }
        if (pos < text.size() && text[pos] == quote) {
            value += quote;
            ++pos;
            continue;
        }
        return value;
    }
    throw badString(QStringLiteral("falta fechar as aspas"));
}

// Keys may hold "=" written as "==".
QString readKey(const QString& text, qsizetype& pos)
{
    QString key;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == u'=') {
            if (pos + 1 < text.size() && text[pos + 1] == u'=') {
                key += u'=';
                pos += 2;
                continue;
            }
            ++pos;
            return key.trimmed();
        }
        if (c == u';')
            break;
        key += c;
        ++pos;
    }
    if (!key.trimmed().isEmpty())
        throw badString(QStringLiteral("a palavra-chave «%1» não tem valor").arg(key.trimmed()));
    return {};
}

QString readValue(const QString& text, qsizetype& pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
    if (pos < text.size() && (text[pos] == u'"' || text[pos] == u'\'')) {
        const QString value = readQuoted(text, pos);
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
        if (pos < text.size() && text[pos] != u';')
            throw badString(QStringLiteral("texto depois das aspas"));
        return value;
    }
    const qsizetype end = text.indexOf(u';', pos);
    const QString value = text.mid(pos, end < 0 ? -1 : end - pos).trimmed();
    pos = end < 0 ? text.size() : end;
    return value;
}

} // namespace

ConnectionString ConnectionString::parse(const QString& text)
{
    ConnectionString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QString key = readKey(text, pos);
        if (key.isEmpty()) {
            ++pos; // an empty piece between two ";"
            continue;
        }
        result.pairs_.append({key, readValue(text, pos)});
        ++pos; // the ";"
    }
    return result;
}

QString ConnectionString::value(const QString& keyword) const
{
    for (auto it = pairs_.crbegin(); it != pairs_.crend(); ++it)
        if (it->first.compare(keyword, Qt::CaseInsensitive) == 0)
            return it->second;
    return {};
}

bool ConnectionString::contains(const QString& keyword) const
{
    for (const auto& pair : pairs_)
        if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void ConnectionString::set(const QString& keyword, const QString& value)
{
    for (auto& pair : pairs_)
        if (pair.first.compare(keyword, Qt::CaseInsensitive) == 0) {
            pair.second = value;
            return;
        }
    pairs_.append({keyword, value});
}

QString ConnectionString::userId() const
{
    return contains(QStringLiteral("User ID")) ? value(QStringLiteral("User ID"))
                                               : value(QStringLiteral("UID"));
}

QString ConnectionString::password() const
{
    return contains(QStringLiteral("Password")) ? value(QStringLiteral("Password"))
                                                : value(QStringLiteral("PWD"));
}

QString ConnectionString::initialCatalog() const
{
    return contains(QStringLiteral("Initial Catalog")) ? value(QStringLiteral("Initial Catalog"))
                                                       : value(QStringLiteral("Database"));
}

QString ConnectionString::dataSource() const
{
    for (const char* key : {"Data Source", "Server", "Address"})
        if (contains(QString::fromLatin1(key)))
            return value(QString::fromLatin1(key));
    return {};
}

int ConnectionString::connectTimeout() const
{
    for (const char* key : {"Connect Timeout", "Connection Timeout", "Timeout"}) {
        bool ok = false;
        const int seconds = value(QString::fromLatin1(key)).toInt(&ok);
        if (ok)
            return seconds;
    }
    return -1;
}

QString ConnectionString::toString() const
{
    QString text;
    for (const auto& pair : pairs_) {
        QString key = pair.first;
        text += key.replace(u'=', QStringLiteral("==")) + u'=' + quoteValue(pair.second) + u';';
    }
    return text;
}

QString ConnectionString::quoteValue(const QString& value)
{
    const bool outerBlank = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    if (!value.contains(u';') && !value.contains(u'"') && !value.contains(u'\'') && !outerBlank)
        return value;
    if (!value.contains(u'"'))
        return u'"' + value + u'"';
    if (!value.contains(u'\''))
        return u'\'' + value + u'\'';
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

} // namespace ado
