#include "documents/vcard/VCardEscaping.h"

namespace vcard {

namespace {

constexpr QChar kBackslash = u'\\';
constexpr QChar kComponentSeparator = u';';
constexpr QChar kListSeparator = u',';
constexpr QChar kCaret = u'^';
constexpr QChar kQuote = u'"';

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// A CR LF pair is one line break; `i` is left on its last character.
void skipLineBreak(const QString& text, qsizetype& i)
{
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
}

QString escaped(const QString& text, bool componentSeparator)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isLineBreak(c)) {
            skipLineBreak(text, i);
            out += QStringLiteral("\\n");
            continue;
        }
        if (c == kBackslash || c == kListSeparator || (componentSeparator && c == kComponentSeparator))
            out += kBackslash;
        out += c;
    }
    return out;
}

} // namespace

QString escapeText(const QString& text)
{
    return escaped(text, false);
}

QString escapeComponent(const QString& text)
{
    return escaped(text, true);
}

QString unescapeText(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != kBackslash || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[i + 1];
        if (next == u'n' || next == u'N') {
            out += u'\n';
            ++i;
        } else if (!next.isLetterOrNumber()) {
            // "\\", "\,", "\;", and the "\"" or "\:" some writers add: the character.
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QList<QStringList> splitComponents(const QString& value)
{
    QList<QStringList> components{QStringList{}};
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == kBackslash && i + 1 < value.size()) {
            item += c;
            item += value[++i];
        } else if (c == kListSeparator) {
            components.last().append(unescapeText(item));
            item.clear();
        } else if (c == kComponentSeparator) {
            components.last().append(unescapeText(item));
            item.clear();
            components.append(QStringList{});
        } else {
            item += c;
        }
    }
    components.last().append(unescapeText(item));
    return components;
}

QString joinComponents(const QList<QStringList>& components)
{
    QStringList parts;
    parts.reserve(components.size());
    for (const QStringList& items : components) {
        QStringList escapedItems;
        escapedItems.reserve(items.size());
        for (const QString& item : items)
            escapedItems.append(escapeComponent(item));
        parts.append(escapedItems.join(kListSeparator));
    }
    return parts.join(kComponentSeparator);
}

QString escapeVersion21(const QString& value)
{
    // Escapes that later versions define are kept: 2.1 writers use them
    // although 2.1 itself names only "\;".
    static const QString kKeptEscapes = QStringLiteral(";,\\nN");
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == kBackslash && i + 1 < value.size() && kKeptEscapes.contains(value[i + 1])) {
            out += c;
            out += value[++i];
        } else if (isLineBreak(c)) {
            skipLineBreak(value, i);
            out += QStringLiteral("\\n");
        } else {
            if (c == kBackslash || c == kListSeparator)
                out += kBackslash;
            out += c;
        }
    }
    return out;
}

QString escapeLineBreaks(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (isLineBreak(value[i])) {
            skipLineBreak(value, i);
            out += QStringLiteral("\\n");
        } else {
            out += value[i];
        }
    }
    return out;
}

QString decodeCaret(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        if (c == kCaret && next == kCaret) {
            out += kCaret;
            ++i;
        } else if (c == kCaret && next == u'n') {
            out += u'\n';
            ++i;
        } else if (c == kCaret && next == u'\'') {
            out += kQuote;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QString encodeParameterValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == kCaret) {
            out += QStringLiteral("^^");
        } else if (isLineBreak(c)) {
            skipLineBreak(value, i);
            out += QStringLiteral("^n");
        } else if (c == kQuote) {
            out += QStringLiteral("^'");
        } else {
            out += c;
        }
    }
    const bool needsQuotes =
        out.contains(u':') || out.contains(kComponentSeparator) || out.contains(kListSeparator);
    return needsQuotes ? kQuote + out + kQuote : out;
}

} // namespace vcard
