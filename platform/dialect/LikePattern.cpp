#include "platform/dialect/LikePattern.h"

#include <array>

namespace dialect {

namespace {

constexpr char16_t latin1Limit = 0x100;
constexpr char32_t noSingleFold = 0xFFFFFFFF;

char32_t foldCase(char32_t c)
{
    return QChar::toCaseFolded(c);
}

// The letters without their accents: decomposed, the combining marks left out.
QString withoutAccents(const QString& text)
{
    QString bare;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    return bare;
}

LikePattern::Folded foldedByNormalising(const QString& text, LikePattern::Accents accents)
{
    LikePattern::Folded points;
    for (char32_t u : (accents == LikePattern::Accents::Insensitive ? withoutAccents(text) : text).toUcs4())
        points.append(foldCase(u));
    return points;
}

// Each Latin-1 character folded as a text of its own, made once: a text of
// those characters (nearly every Portuguese name) holds no combining marks,
// so it folds character by character to what its normalisation gives.
using FoldTable = std::array<char32_t, latin1Limit>;

FoldTable latin1Table(LikePattern::Accents accents)
{
    FoldTable table{};
    for (char16_t c = 0; c < latin1Limit; ++c) {
        const LikePattern::Folded one = foldedByNormalising(QString(QChar(c)), accents);
        table[c] = one.size() == 1 ? one.front() : noSingleFold;
    }
    return table;
}

const FoldTable& latin1Folds(LikePattern::Accents accents)
{
    static const FoldTable sensitive = latin1Table(LikePattern::Accents::Sensitive);
    static const FoldTable insensitive = latin1Table(LikePattern::Accents::Insensitive);
    return accents == LikePattern::Accents::Insensitive ? insensitive : sensitive;
}

} // namespace

LikePattern::Folded LikePattern::fold(const QString& text, Accents accents)
{
    const FoldTable& table = latin1Folds(accents);
    Folded points;
    points.reserve(text.size());
    for (const QChar c : text) {
        const char32_t folded = c.unicode() < latin1Limit ? table[c.unicode()] : noSingleFold;
        if (folded == noSingleFold)
            return foldedByNormalising(text, accents);
        points.append(folded);
    }
    return points;
}

bool LikePattern::Element::accepts(char32_t c) const
{
    switch (kind) {
    case Kind::Any:
    case Kind::One:
        return true;
    case Kind::Char:
        return c == ch;
    case Kind::Class:
        for (const auto& [low, high] : ranges)
            if (c >= low && c <= high)
                return !negated;
        return negated;
    }
    return false;
}

LikePattern::LikePattern(const QString& pattern, Accents accents) : accents_(accents)
{
    const Folded p = fold(pattern, accents_);
    for (qsizetype i = 0; i < p.size(); ++i) {
        Element e;
        if (p[i] == U'%') {
            e.kind = Element::Kind::Any;
        } else if (p[i] == U'_') {
            e.kind = Element::Kind::One;
        } else if (p[i] == U'[' && p.indexOf(U']', i + 1) > i + 1) {
            const qsizetype close = p.indexOf(U']', i + 1);
            e.kind = Element::Kind::Class;
            qsizetype j = i + 1;
            if (p[j] == U'^' && close > j + 1) {
                e.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                if (j + 2 < close && p[j + 1] == U'-') {
                    e.ranges.append({p[j], p[j + 2]});
                    j += 2;
                } else {
                    e.ranges.append({p[j], p[j]});
                }
            }
            i = close;
        } else {
            e.ch = p[i];
        }
        elements_.append(e);
    }
}

bool LikePattern::matches(const QString& text) const
{
    return matchesFolded(fold(text, accents_));
}

bool LikePattern::matchesFolded(const Folded& s) const
{
    qsizetype i = 0, p = 0, star = -1, mark = 0;
    const qsizetype n = s.size(), m = elements_.size();
    while (i < n) {
        if (p < m && elements_[p].kind != Element::Kind::Any && elements_[p].accepts(s[i])) {
            ++i;
            ++p;
        } else if (p < m && elements_[p].kind == Element::Kind::Any) {
            star = p++;
            mark = i;
        } else if (star >= 0) {
            p = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (p < m && elements_[p].kind == Element::Kind::Any)
        ++p;
    return p == m;
}

} // namespace dialect
