#include "duplicates/Likeness.h"

#include "platform/dialect/LikePattern.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace duplicates {

namespace {

const QString portugalPrefix = QStringLiteral("+351");
const QString portugalPrefixDialled = QStringLiteral("00351");
constexpr int identical = 100;

// Folded as the server's accent- and case-blind comparison folds.
QString folded(const QString& text)
{
    const dialect::LikePattern::Folded f =
        dialect::LikePattern::fold(text, dialect::LikePattern::Accents::Insensitive);
    return QString::fromUcs4(f.constData(), f.size());
}

// Titles and forms of address, as folded words ("Eng.ª" folds to "eng a").
const QSet<QString>& titles()
{
    static const QSet<QString> words = {
        QStringLiteral("dr"),   QStringLiteral("dra"),   QStringLiteral("drs"),  QStringLiteral("eng"),
        QStringLiteral("enga"), QStringLiteral("engo"),  QStringLiteral("arq"),  QStringLiteral("arqa"),
        QStringLiteral("prof"), QStringLiteral("profa"), QStringLiteral("sr"),   QStringLiteral("sra"),
        QStringLiteral("srs"),  QStringLiteral("exmo"),  QStringLiteral("exma"), QStringLiteral("exmos"),
        QStringLiteral("mr"),   QStringLiteral("mrs"),   QStringLiteral("ms"),
    };
    return words;
}

// Company forms, and the small words a name is written with or without.
const QSet<QString>& droppedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("lda"),        QStringLiteral("limitada"), QStringLiteral("ltd"),
        QStringLiteral("unipessoal"), QStringLiteral("sa"),       QStringLiteral("sgps"),
        QStringLiteral("crl"),        QStringLiteral("da"),       QStringLiteral("de"),
        QStringLiteral("do"),         QStringLiteral("das"),      QStringLiteral("dos"),
        QStringLiteral("e"),          QStringLiteral("a"),        QStringLiteral("o"),
    };
    return words;
}

QStringList wordsOf(const QString& name)
{
    // The ordinal signs of "Eng.ª" and "Eng.º" are the letters they stand for.
    QString plain = folded(name).replace(u'ª', u'a').replace(u'º', u'o');
    for (QChar& ch : plain)
        if (!ch.isLetterOrNumber())
            ch = u' ';
    return plain.split(u' ', Qt::SkipEmptyParts);
}

// "s a" (S.A.) and "eng a" (Eng.ª) are one word written with a stop.
QStringList joinAbbreviations(const QStringList& words)
{
    QStringList out;
    for (const QString& word : words) {
        const bool ordinal = word == u"a" || word == u"o";
        if (!out.isEmpty() && ordinal && (titles().contains(out.last() + word) || out.last() == u"s"))
            out.last() += word;
        else
            out << word;
    }
    return out;
}

} // namespace

QString nameKey(const QString& name)
{
    QStringList kept;
    for (const QString& word : joinAbbreviations(wordsOf(name)))
        if (!titles().contains(word) && !droppedWords().contains(word))
            kept << word;
    std::sort(kept.begin(), kept.end());
    return kept.join(u' ');
}

// The edits two texts need at least: each letter one has more of than the
// other must be changed, added or removed.
qsizetype fewestEdits(const QString& a, const QString& b)
{
    constexpr int buckets = 64;
    std::array<int, buckets> count{};
    for (const QChar c : a)
        ++count[c.unicode() % buckets];
    for (const QChar c : b)
        --count[c.unicode() % buckets];
    qsizetype more = 0;
    qsizetype fewer = 0;
    for (const int n : count)
        (n > 0 ? more : fewer) += std::abs(n);
    return std::max(more, fewer);
}

int similarity(const QString& a, const QString& b, int atLeast)
{
    if (a == b)
        return identical;
    const qsizetype longer = std::max(a.size(), b.size());
    if (longer == 0)
        return identical;
    if (atLeast > 0 && (longer - fewestEdits(a, b)) * identical / longer < atLeast)
        return 0;
    // Levenshtein distance, one row at a time.
    std::vector<qsizetype> row(std::size_t(b.size()) + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[std::size_t(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[std::size_t(j)];
            const qsizetype change = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[std::size_t(j)] = std::min({above + 1, row[std::size_t(j - 1)] + 1, change});
            diagonal = above;
        }
    }
    const qsizetype distance = row[std::size_t(b.size())];
    return int((longer - distance) * identical / longer);
}

QString comparableNumber(const QString& number)
{
    QString n = QString(number).remove(u' ');
    if (n.startsWith(portugalPrefixDialled))
        n = n.mid(portugalPrefixDialled.size());
    else if (n.startsWith(portugalPrefix))
        n = n.mid(portugalPrefix.size());
    return n;
}

QString comparableEmail(const QString& email)
{
    return email.trimmed().toLower();
}

QString comparableNif(const QString& nif)
{
    return QString(nif).remove(u' ');
}

} // namespace duplicates
