#pragma once
// The criteria of Recordset::Find: one column, one comparison, one value.
#include "platform/values/Variant.h"
#include <QString>
#include <optional>

namespace ado {

struct FindCriteria {
    QString field;
    QString op;        // "=", "<>", "<", ">", "<=", ">=", "LIKE"
    vb::Variant value; // a text, a number or a date
    // The operator, read once: Find tries every row against it.
    enum class Comparison { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual, Like };
    Comparison comparison = Comparison::Equal;
    // Throws the ADO argument error (3001) when the text is not such a criteria.
    static FindCriteria parse(const QString& text);
    bool matches(const vb::Variant& fieldValue) const
    {
        // "key=123" against a whole-number column, as a card's opening looks
        // its contact up among the host's rows: no conversion, inline.
        if (wholeKey)
            if (const qint32* whole = fieldValue.get<qint32>())
                return *whole == *wholeKey;
        return matchesAnyKind(fieldValue);
    }

  private:
    std::optional<qint32> wholeKey; // the value of an "=" with a whole number
    bool matchesAnyKind(const vb::Variant& fieldValue) const;
    bool holds(int order) const;
};

} // namespace ado
