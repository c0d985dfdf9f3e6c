#include "platform/values/FormatMask.h"

#include <QHash>

namespace vb::detail {

namespace {

bool isPlaceholder(Tok t)
{
    return t == Tok::Zero || t == Tok::Hash;
}

// Splits at ";" outside quotes and escapes, at most four sections.
std::vector<QString> splitSections(const QString& mask)
{
    std::vector<QString> out(1);
    bool quoted = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('\\') && i + 1 < mask.size()) {
            out.back() += c;
            out.back() += mask.at(++i);
            continue;
        }
        if (!quoted && c == QLatin1Char(';')) {
            if (out.size() == 4)
                break;
            out.emplace_back();
            continue;
        }
        out.back() += c;
    }
    return out;
}

void addLiteral(std::vector<MaskToken>& tokens, const QString& text)
{
    if (!tokens.empty() && tokens.back().kind == Tok::Literal)
        tokens.back().text += text;
    else
        tokens.push_back(MaskToken{Tok::Literal, text});
}

// A quoted text or an escaped character at `i`: appended as a literal, `i`
// moved past it.
bool takeQuoted(const QString& s, qsizetype& i, std::vector<MaskToken>& tokens)
{
    const QChar c = s.at(i);
    if (c == QLatin1Char('"')) {
        const qsizetype end = s.indexOf(QLatin1Char('"'), i + 1);
        const qsizetype stop = end < 0 ? s.size() : end;
        addLiteral(tokens, s.mid(i + 1, stop - i - 1));
        i = stop + 1;
        return true;
    }
    if (c == QLatin1Char('\\')) {
        if (i + 1 < s.size())
            addLiteral(tokens, QString(s.at(i + 1)));
        i += 2;
        return true;
    }
    return false;
}

// Whether any of `letters` appears outside quotes and escapes.
bool hasUnquoted(const QString& mask, QLatin1String letters)
{
    bool quoted = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('\\'))
            ++i;
        else if (!quoted && QString(letters).contains(c, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// ---- numbers --------------------------------------------------------------

std::vector<MaskToken> numberTokens(const QString& s, std::vector<qsizetype>& commas)
{
    std::vector<MaskToken> tokens;
    bool point = false;
    qsizetype i = 0;
    while (i < s.size()) {
        if (takeQuoted(s, i, tokens))
            continue;
        const QChar c = s.at(i);
        const QChar next = i + 1 < s.size() ? s.at(i + 1) : QChar();
        if (c == QLatin1Char('0')) {
            tokens.push_back({Tok::Zero});
        } else if (c == QLatin1Char('#')) {
            tokens.push_back({Tok::Hash});
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            tokens.push_back({Tok::Point});
        } else if (c == QLatin1Char(',')) {
            commas.push_back(qsizetype(tokens.size()));
            tokens.push_back({Tok::Comma});
        } else if (c == QLatin1Char('%')) {
            tokens.push_back({Tok::Percent});
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) &&
                   (next == QLatin1Char('+') || next == QLatin1Char('-'))) {
            MaskToken e{Tok::Exponent, QString(c)};
            e.plus = next == QLatin1Char('+');
            i += 2;
            while (i < s.size() && (s.at(i) == QLatin1Char('0') || s.at(i) == QLatin1Char('#')))
                e.digits += s.at(i++) == QLatin1Char('0') ? 1 : 0;
            tokens.push_back(e);
            continue;
        } else {
            addLiteral(tokens, QString(c));
        }
        ++i;
    }
    return tokens;
}

// Commas between digit placeholders group thousands; commas after the last
// whole-part placeholder scale by 1000 each; others are plain text.
void resolveCommas(MaskSection& section, const std::vector<qsizetype>& commas)
{
    auto& t = section.tokens;
    qsizetype wholeEnd = qsizetype(t.size());
    for (qsizetype k = 0; k < qsizetype(t.size()); ++k)
        if (t[size_t(k)].kind == Tok::Point || t[size_t(k)].kind == Tok::Exponent) {
            wholeEnd = k;
            break;
        }
    std::vector<bool> drop(t.size(), false);
    for (qsizetype at : commas) {
        bool before = false, after = false;
        for (qsizetype k = 0; k < at; ++k)
            before = before || isPlaceholder(t[size_t(k)].kind);
        for (qsizetype k = at + 1; k < wholeEnd; ++k)
            after = after || isPlaceholder(t[size_t(k)].kind);
        if (at > wholeEnd) {
            drop[size_t(at)] = true;
        } else if (before && after) {
            section.grouping = true;
            drop[size_t(at)] = true;
        } else if (before) {
            ++section.thousandsScale;
            drop[size_t(at)] = true;
        }
    }
    std::vector<MaskToken> kept;
    for (size_t k = 0; k < t.size(); ++k) {
        if (drop[k])
            continue;
        if (t[k].kind == Tok::Comma)
            addLiteral(kept, QStringLiteral(","));
        else if (t[k].kind == Tok::Literal)
            addLiteral(kept, t[k].text);
        else
            kept.push_back(t[k]);
    }
    t = std::move(kept);
}

MaskSection numberSection(const QString& text)
{
    MaskSection section;
    section.empty = text.isEmpty();
    std::vector<qsizetype> commas;
    section.tokens = numberTokens(text, commas);
    resolveCommas(section, commas);
    bool afterPoint = false;
    for (const MaskToken& t : section.tokens) {
        switch (t.kind) {
        case Tok::Point:
            afterPoint = true;
            break;
        case Tok::Percent:
            ++section.percents;
            break;
        case Tok::Exponent:
            section.scientific = true;
            break;
        case Tok::Zero:
        case Tok::Hash:
            ++(afterPoint ? section.fractionPlaceholders : section.integerPlaceholders);
            break;
        default:
            break;
        }
    }
    return section;
}

// ---- dates -----------------------------------------------------------------

qsizetype runLength(const QString& s, qsizetype i)
{
    const QChar c = s.at(i).toLower();
    qsizetype j = i;
    while (j < s.size() && s.at(j).toLower() == c)
        ++j;
    return j - i;
}

bool startsWithCi(const QString& s, qsizetype i, QLatin1String word)
{
    return QStringView(s).mid(i, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

bool isHour(Tok t)
{
    return t == Tok::Hour || t == Tok::Hour2;
}

// The token for a run of `n` copies of letter `c`; `used` says how many of
// them it takes.
Tok dateLetter(QChar c, qsizetype n, bool afterHour, qsizetype& used)
{
    static constexpr Tok days[] = {Tok::Day,     Tok::Day2,      Tok::DayAbbr,
                                   Tok::DayName, Tok::ShortDate, Tok::LongDate};
    static constexpr Tok months[] = {Tok::Month, Tok::Month2, Tok::MonthAbbr, Tok::MonthName};
    switch (c.unicode()) {
    case 'd':
        used = qMin<qsizetype>(n, 6);
        return days[used - 1];
    case 'm':
        used = qMin<qsizetype>(n, afterHour ? 2 : 4);
        if (afterHour)
            return used == 1 ? Tok::Minute : Tok::Minute2;
        return months[used - 1];
    case 'y':
        if (n >= 4) {
            used = 4;
            return Tok::Year4;
        }
        if (n >= 2) {
            used = 2;
            return Tok::Year2;
        }
        used = 1;
        return Tok::DayOfYear;
    case 'w':
        used = qMin<qsizetype>(n, 2);
        return used == 1 ? Tok::Weekday : Tok::Week;
    case 'h':
        used = qMin<qsizetype>(n, 2);
        return used == 1 ? Tok::Hour : Tok::Hour2;
    case 'n':
        used = qMin<qsizetype>(n, 2);
        return used == 1 ? Tok::Minute : Tok::Minute2;
    case 's':
        used = qMin<qsizetype>(n, 2);
        return used == 1 ? Tok::Second : Tok::Second2;
    case 'q':
        used = 1;
        return Tok::Quarter;
    case 'c':
        used = 1;
        return Tok::GeneralDate;
    case 't':
        if (n >= 5) {
            used = 5;
            return Tok::LongTime;
        }
        break;
    default:
        break;
    }
    used = 1;
    return Tok::Literal;
}

MaskSection dateSection(const QString& s)
{
    MaskSection section;
    section.empty = s.isEmpty();
    auto& tokens = section.tokens;
    Tok lastField = Tok::Literal;
    qsizetype i = 0;
    while (i < s.size()) {
        if (takeQuoted(s, i, tokens))
            continue;
        const QChar c = s.at(i);
        if (startsWithCi(s, i, QLatin1String("AM/PM")) || startsWithCi(s, i, QLatin1String("A/P"))) {
            const bool full = startsWithCi(s, i, QLatin1String("AM/PM"));
            MaskToken t{full ? Tok::AmPm : Tok::AP};
            t.lower = c.isLower();
            tokens.push_back(t);
            section.twelveHour = true;
            i += full ? 5 : 3;
            continue;
        }
        if (startsWithCi(s, i, QLatin1String("AMPM"))) {
            tokens.push_back({Tok::LocaleAmPm});
            section.twelveHour = true;
            i += 4;
            continue;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char(':')) {
            tokens.push_back({c == QLatin1Char('/') ? Tok::DateSep : Tok::TimeSep});
            ++i;
            continue;
        }
        qsizetype used = 1;
        const Tok kind =
            c.isLetter() ? dateLetter(c.toLower(), runLength(s, i), isHour(lastField), used) : Tok::Literal;
        if (kind == Tok::Literal) {
            addLiteral(tokens, s.mid(i, used));
        } else {
            tokens.push_back({kind});
            lastField = kind;
        }
        i += used;
    }
    return section;
}

} // namespace

Mask parseMask(const QString& text)
{
    Mask mask;
    const bool number = hasUnquoted(text, QLatin1String("0#"));
    mask.kind = !number && hasUnquoted(text, QLatin1String("dmyhnswqct")) ? Mask::Date : Mask::Number;
    for (const QString& s : splitSections(text))
        mask.sections.push_back(mask.kind == Mask::Date ? dateSection(s) : numberSection(s));
    return mask;
}

std::shared_ptr<const Mask> parsedMask(const QString& text)
{
    // Per thread, so no lock; bounded, since masks could come from data.
    thread_local QHash<QString, std::shared_ptr<const Mask>> cache;
    const auto found = cache.constFind(text);
    if (found != cache.constEnd())
        return found.value();
    if (cache.size() >= 256)
        cache.clear();
    auto mask = std::make_shared<const Mask>(parseMask(text));
    cache.insert(text, mask);
    return mask;
}

} // namespace vb::detail
