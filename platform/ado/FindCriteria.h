#pragma once
// The criteria of Recordset::Find: one column, one comparison, one value.
#include "platform/values/Variant.h"
#include <QString>

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
    bool matches(const vb::Variant& fieldValue) const;

  private:
    bool holds(int order) const;
};

} // namespace ado
