#include "platform/dialect/LikePattern.h"

namespace dialect {

namespace {

constexpr char16_t asciiLimit = 0x80;

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

} // namespace

// Plain ASCII, most names and every code, has no accents to take away.
LikePattern::Folded LikePattern::fold(const QString& text, Accents accents)
{
    Folded points;
    points.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= asciiLimit) {
            points.clear();
            for (char32_t u : (accents == Accents::Insensitive ? withoutAccents(text) : text).toUcs4())
                points.append(foldCase(u));
            return points;
        }
        points.append(char32_t(c.toLower().unicode()));
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
