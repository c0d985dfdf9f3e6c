// Find's criteria against the kinds of values a recordset holds: each
// comparison, numbers of both widths, texts without regard to case, dates,
// Null, and a text met by a number.
#include "platform/ado/FindCriteria.h"
#include "platform/values/VbError.h"

#include <gtest/gtest.h>

using ado::FindCriteria;

namespace {

bool finds(const char* criteria, const vb::Variant& value)
{
    return FindCriteria::parse(QString::fromLatin1(criteria)).matches(value);
}

TEST(FindCriteria, EachComparisonOnEachKindOfValue)
{
    const vb::Variant seven(7);
    const vb::Variant sevenAndHalf(7.5);
    EXPECT_TRUE(finds("id=7", seven));
    EXPECT_FALSE(finds("id=7", vb::Variant(70)));
    EXPECT_FALSE(finds("id=7", sevenAndHalf));
    EXPECT_TRUE(finds("id <> 8", seven));
    EXPECT_FALSE(finds("id<>7", seven));
    EXPECT_TRUE(finds("id<7.5", seven));
    EXPECT_FALSE(finds("id<7", seven));
    EXPECT_TRUE(finds("id<=7", seven));
    EXPECT_TRUE(finds("id>6.9", seven));
    EXPECT_FALSE(finds("id>7", seven));
    EXPECT_TRUE(finds("id>=7", seven));
    EXPECT_FALSE(finds("id>=7.5", seven));
    EXPECT_TRUE(finds("id>=7.5", sevenAndHalf));
    EXPECT_TRUE(finds("id=-3", vb::Variant(qint16(-3))));
    EXPECT_TRUE(finds("id='7'", seven)) << "a quoted number is compared as text";

    // Texts, dates, Null and mismatched kinds.
    EXPECT_TRUE(finds("nome<'b'", vb::Variant(QStringLiteral("Ana"))));
    EXPECT_TRUE(finds("nome LIKE 'a*'", vb::Variant(QStringLiteral("Ana"))));
    EXPECT_FALSE(finds("nome LIKE 'b*'", vb::Variant(QStringLiteral("Ana"))));
    EXPECT_TRUE(finds("dia>=#2026-12-01#", vb::Variant::fromDate(46364.0)));
    EXPECT_FALSE(finds("dia<#2026-12-01#", vb::Variant::fromDate(46364.0)));
    EXPECT_TRUE(finds("campo=null", vb::Variant::null()));
    EXPECT_FALSE(finds("campo=null", vb::Variant(0)));
    EXPECT_TRUE(finds("campo<>null", vb::Variant(0)));
    EXPECT_FALSE(finds("campo=0", vb::Variant::null()));
    EXPECT_FALSE(finds("campo<>0", vb::Variant::null())) << "Null matches no comparison";
    EXPECT_FALSE(finds("id=7", vb::Variant(QStringLiteral("sete")))) << "a text is no number";
    EXPECT_THROW(FindCriteria::parse(QStringLiteral("id ~ 7")), vb::Error);
}

} // namespace
