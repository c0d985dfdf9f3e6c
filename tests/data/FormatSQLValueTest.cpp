#include "data/modCode.h"
#include "data/modData.h"
#include "platform/values/Conversions.h"
#include "platform/values/Regional.h"

#include <QDateTime>
#include <gtest/gtest.h>

using modData::FormatSQLValue;
using vb::Variant;

namespace {

class UnderRegional : public ::testing::Test {
  protected:
    void use(const vb::Regional& r)
    {
        vb::setRegional(r);
        modData::ForgetRegionalSeparators();
    }
    void SetUp() override { use(vb::Regional::ptPT()); }
    void TearDown() override { use(vb::Regional::ptPT()); }
};

Variant dateTime(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0)
{
    return Variant::fromDate(vb::ToSerial(QDateTime(QDate(y, m, d), QTime(hh, nn, ss))));
}

} // namespace

TEST_F(UnderRegional, EachKindGivesItsLiteralAndNumbersKeepEveryDigit)
{
    for (const Variant& blank : {Variant::null(), Variant(), Variant(QStringLiteral("   "))}) {
        const char* const empty[] = {"null", "null", "null", "N''", "null", "N'%%'", "null"}; // kinds 1 to 7
        for (int kind = 1; kind <= 7; ++kind)
            EXPECT_EQ(FormatSQLValue(blank, kind), QString::fromLatin1(empty[kind - 1])) << kind;
    }
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("x")), 9), "");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("x")), 0), "");

    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("O'Neil ")), 3), "N'O' + CHAR(39) + N'Neil'");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("  João Ção € ")), 4), "N'João Ção €'");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("ana silva")), 6), "N'%ana%silva%'");
    // Text is N'…' piece by piece, so that nothing passes through a code page;
    // the pattern keeps the rewrite's blanks, so the literal stays valid SQL.
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("d'arc lda")), 6), "N'%d' + CHAR(39) + N'arc%lda%'");
    QString text = QStringLiteral("a'b'c");
    EXPECT_EQ(modCode::Trtf(text), "a' + CHAR(39) + 'b' + CHAR(39) + 'c");
    EXPECT_EQ(text, "a' + CHAR(39) + 'b' + CHAR(39) + 'c") << "the argument is rewritten too";

    // Dates become CONVERT calls, except the empty dates.
    EXPECT_EQ(FormatSQLValue(dateTime(2024, 3, 5, 14, 7, 9), 5),
              "CONVERT(DATETIME,'2024-03-05 14:07:09',102)");
    EXPECT_EQ(FormatSQLValue(dateTime(2024, 3, 5, 14, 7, 9), 1), "CONVERT(DATETIME,'2024-03-05',102)");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("05-03-2024")), 1), "CONVERT(DATETIME,'2024-03-05',102)");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("05032024")), 1), "CONVERT(DATETIME,'2024-03-05',102)");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("05032024")), 5),
              "CONVERT(DATETIME,'2024-03-05 00:00:00',102)");
    EXPECT_EQ(FormatSQLValue(dateTime(1900, 1, 1), 1), "null");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("01-01-1900")), 5), "null");
    EXPECT_EQ(FormatSQLValue(Variant::fromDate(0.0), 1), "null");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral(" - - - ")), 1), "null");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("31022024")), 1), "null") << "not a date once spelled";
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("amanhã")), 5), "null");

    // Numbers keep every digit, under Portuguese and then American settings.
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("12,5")), 2), "12.5");
    EXPECT_EQ(FormatSQLValue(Variant(true), 2), "1");
    EXPECT_EQ(FormatSQLValue(Variant(false), 7), "0");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("-1234567,89")), 2), "-1234567.89");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("-1.234,5")), 7), "-1234.5");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("-1.234.567,25")), 2), "-1234567.25");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("17")), 2), "17");
    EXPECT_EQ(FormatSQLValue(Variant(12.25), 2), "12.25");
    EXPECT_EQ(FormatSQLValue(Variant(-3), 2), "-3");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("doze")), 2), "null");

    use(vb::Regional::enUS());
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("12.5")), 2), "12.5");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("1,234.5")), 2), "1234.5");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("-1234567.89")), 7), "-1234567.89");
    EXPECT_EQ(FormatSQLValue(Variant(QStringLiteral("-0.25")), 7), "-0.25");
    EXPECT_EQ(FormatSQLValue(Variant(12.25), 2), "12.25");
}
