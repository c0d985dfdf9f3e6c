#include "platform/ado/SqlCompose.h"

#include "platform/values/VbError.h"

#include <vector>

namespace sql {

namespace {

constexpr int invalidCall = 5; // VB's "Invalid procedure call or argument"
constexpr int maxPieces = 99;

[[noreturn]] void misuse(const QString& what)
{
    throw vb::Error(invalidCall, QStringLiteral("Instrução SQL mal composta: ") + what);
}

} // namespace

QString compose(QStringView pattern, std::initializer_list<Part> parts)
{
    const std::vector<Part> pieces(parts);
    if (pieces.size() > maxPieces)
        misuse(QStringLiteral("demasiadas partes"));
    std::vector<bool> used(pieces.size(), false);
    QString out;
    out.reserve(pattern.size() + 16 * qsizetype(pieces.size()));
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        int number = 0;
        while (j < pattern.size() && j < i + 3 && pattern[j].isDigit()) {
            number = number * 10 + pattern[j].digitValue();
            ++j;
        }
        if (j == i + 1) {
            out += c; // a "%" of the statement itself, as in LIKE '%x'
            continue;
        }
        if (number < 1 || number > int(pieces.size()))
            misuse(QStringLiteral("%") + QString::number(number) + QStringLiteral(" sem parte"));
        out += pieces[number - 1].text();
        used[number - 1] = true;
        i = j - 1;
    }
    for (std::size_t k = 0; k < used.size(); ++k)
        if (!used[k])
            misuse(QStringLiteral("parte %") + QString::number(k + 1) + QStringLiteral(" por usar"));
    return out;
}

QString doubled(const QString& text)
{
    QString out = text;
    return out.replace(u'\'', QStringLiteral("''"));
}

QString likeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'[') {
            out += u'[';
            out += c;
            out += u']';
        } else if (c == u'\'') {
            out += QStringLiteral("''");
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace sql
