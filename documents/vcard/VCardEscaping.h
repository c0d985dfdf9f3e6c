#pragma once
// Escaping of values (RFC 6350 section 3.4) and of parameter values (RFC 6868
// caret encoding, DQUOTE quoting).
#include <QList>
#include <QString>
#include <QStringList>

namespace vcard {

// A single text value: "\", "," and line breaks escaped. A ";" is left as it
// is, which vCard 4.0 allows outside structured values.
QString escapeText(const QString& text);
// One item of a structured or list value: as escapeText, and ";" too.
QString escapeComponent(const QString& text);
// "\n" and "\N" become a line break; a backslash before any other
// character that is no letter or digit ("\\", "\,", "\;", "\"") gives that
// character; one before a letter or digit stays, as old writers put lone
// ones in paths.
QString unescapeText(const QString& value);

// Splits on unescaped ";" into components and each on unescaped "," into its
// items, unescaped. An empty value is one component with one empty item.
QList<QStringList> splitComponents(const QString& value);
QString joinComponents(const QList<QStringList>& components);

// A vCard 2.1 text value in the escaped form of later versions: 2.1 knows
// only "\;", so its commas, lone backslashes and line breaks are literal.
QString escapeVersion21(const QString& value);
// Literal line breaks, which no content line can hold, as "\n".
QString escapeLineBreaks(const QString& value);

// RFC 6868: "^^", "^n" and "^'" in a vCard 4.0 parameter value.
QString decodeCaret(const QString& value);
// A parameter value ready to stand in a content line: caret-encoded and in
// double quotes when it holds ":", ";" or ",".
QString encodeParameterValue(const QString& value);

} // namespace vcard
