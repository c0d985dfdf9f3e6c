#pragma once
// The order of the embedded server's QV_CI collation: Portuguese, as SQL
// Server's case-insensitive, accent-sensitive collations sort ("Câmara"
// before "Clínica"); two texts are equal only when they differ in letter
// case alone.
//
// Sorting a large list asks for hundreds of thousands of comparisons, most
// of them decided within a few plain ASCII letters. Those are answered from
// a table of the collator's own ranks of the printable ASCII characters;
// everything else goes to the collator. The table is checked against the
// collator when it is made and left unused if the two would ever disagree,
// so the order is the collator's either way and no index needs rebuilding.
#include <QCollator>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace dialect {

class PortugueseOrder {
  public:
    PortugueseOrder();

    // Negative, zero or positive, as a comes before, with or after b (UTF-8).
    int compare(std::string_view a, std::string_view b) const;
    // The same through the collator alone.
    int compareByCollator(std::string_view a, std::string_view b) const;
    // Whether the ASCII table is in use (it is unless the collator's ranks
    // of ASCII characters could not be read as a simple table).
    bool hasAsciiTable() const { return asciiTable_; }

  private:
    static constexpr int firstPrintable = 0x20;
    static constexpr int lastPrintable = 0x7e;
    static constexpr int asciiLimit = 0x80;

    void buildAsciiTable();
    std::optional<int> compareAscii(std::string_view a, std::string_view b) const;
    // Inline: index builds call it for every letter they compare.
    int rankOf(char c) const
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte < asciiLimit ? rank_[byte] : 0;
    }
    static bool endsOrAscii(std::string_view text, std::size_t at);

    QCollator collator_;
    std::array<std::uint8_t, asciiLimit> rank_{}; // 0: not in the table
    bool asciiTable_ = false;
};

} // namespace dialect
