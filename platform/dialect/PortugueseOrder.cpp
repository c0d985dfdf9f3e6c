#include "platform/dialect/PortugueseOrder.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <vector>

namespace dialect {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString single(char c)
{
    return QString(QLatin1Char(c));
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

} // namespace

PortugueseOrder::PortugueseOrder() : collator_(QLocale(QLocale::Portuguese, QLocale::Portugal))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
    buildAsciiTable();
}

// The printable ASCII characters in the collator's order, equal ones (a
// letter and its capital) sharing a rank. The table stands for the collator
// only if each step between ranks is a difference of the letters themselves
// (decided before anything later in the texts), and ranks are shared only
// by a letter and its capital; otherwise it stays unused.
void PortugueseOrder::buildAsciiTable()
{
    std::vector<char> characters;
    for (int c = firstPrintable; c <= lastPrintable; ++c)
        characters.push_back(char(c));
    std::stable_sort(characters.begin(), characters.end(),
                     [this](char x, char y) { return collator_.compare(single(x), single(y)) < 0; });
    const QString lowest = single(characters.front());
    const QString highest = single(characters.back());
    std::uint8_t rank = 1;
    rank_[std::size_t(characters.front())] = rank;
    for (std::size_t i = 1; i < characters.size(); ++i) {
        const char before = characters[i - 1];
        const char here = characters[i];
        if (collator_.compare(single(before), single(here)) == 0) {
            if (lowered(before) != lowered(here))
                return;
        } else {
            if (collator_.compare(single(before) + highest, single(here) + lowest) >= 0)
                return;
            ++rank;
        }
        rank_[std::size_t(here)] = rank;
    }
    asciiTable_ = true;
}

// A character followed by another ASCII one (or by nothing) cannot be joined
// by what follows into something that sorts differently.
bool PortugueseOrder::endsOrAscii(std::string_view text, std::size_t at)
{
    return at >= text.size() || static_cast<unsigned char>(text[at]) < asciiLimit;
}

std::optional<int> PortugueseOrder::compareAscii(std::string_view a, std::string_view b) const
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int left = rankOf(a[i]);
        const int right = rankOf(b[i]);
        if (left == 0 || right == 0)
            return std::nullopt;
        if (left != right) {
            if (endsOrAscii(a, i + 1) && endsOrAscii(b, i + 1))
                return left - right;
            return std::nullopt;
        }
    }
    if (a.size() == b.size())
        return 0;
    const std::string_view longer = a.size() > b.size() ? a : b;
    if (rankOf(longer[common]) == 0)
        return std::nullopt;
    return a.size() < b.size() ? -1 : 1;
}

int PortugueseOrder::compareByCollator(std::string_view a, std::string_view b) const
{
    const QString left = fromUtf8(a);
    const QString right = fromUtf8(b);
    const int order = collator_.compare(left, right);
    return order != 0 ? order : left.compare(right, Qt::CaseInsensitive);
}

int PortugueseOrder::compare(std::string_view a, std::string_view b) const
{
    if (asciiTable_)
        if (const std::optional<int> order = compareAscii(a, b))
            return *order;
    return compareByCollator(a, b);
}

} // namespace dialect
