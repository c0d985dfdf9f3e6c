#include "platform/values/Format.h"
#include "UnderRegional.h"
#include "platform/values/Conversions.h"

#include <QDateTime>

using namespace vb;

namespace {
Variant dateAt(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0)
{
    return Variant::fromDate(ToSerial(QDateTime(QDate(y, m, d), QTime(hh, nn, ss))));
}
QString fmt(const Variant& v, const char* mask)
{
    return Format(v, QString::fromUtf8(mask));
}
} // namespace

TEST_F(UnderRegional, TheSystemsDisplayMasksUnderPortugueseAndAmericanSettings)
{
    EXPECT_EQ(fmt(Variant(-1234.5), "#,##0.00;- #,##0.00"), "- 1.234,50");
    EXPECT_EQ(fmt(Variant(-1234.5), "€ #,##0.00;€ -#,##0.00"), "€ -1.234,50");
    EXPECT_EQ(fmt(Variant(Currency{123456789}), "€ #,##0.00;€ -#,##0.00"), "€ 12.345,68");
    EXPECT_EQ(fmt(Variant(0.125), "0.00 %"), "12,50 %");
    EXPECT_EQ(fmt(Variant(1234567), "#,##0"), "1.234.567");
    EXPECT_EQ(fmt(Variant(0), "#,##0"), "0");
    EXPECT_EQ(fmt(Variant(999.999), "#,##0.00"), "1.000,00");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 9, 7, 3), "dd/mm/yyyy h:Nn:Ss"), "05/03/2024 9:07:03");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 9, 7, 3), "yyyy-mm-dd Hh:Nn:Ss"), "2024-03-05 09:07:03");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 14, 7, 9), "dd-mm-yyyy Hh:Nn:Ss"), "05-03-2024 14:07:09");

    // The same masks under American settings: a mask read once follows later regional changes.
    useAmerican();
    EXPECT_EQ(fmt(Variant(-1234.5), "#,##0.00;- #,##0.00"), "- 1,234.50");
    EXPECT_EQ(fmt(Variant(0.125), "0.00 %"), "12.50 %");
    EXPECT_EQ(fmt(text("12.5"), "0.00"), "12.50");
    EXPECT_EQ(fmt(text("12,5"), "0.00"), "125.00");
}

TEST_F(UnderRegional, SectionsChooseByTheSignOfTheValue)
{
    const char* four = "+0.0;(0.0);\"zero\";\"nada\"";
    EXPECT_EQ(fmt(Variant(1.25), four), "+1,3") << "Format rounds halves away from zero";
    EXPECT_EQ(fmt(Variant(-1.25), four), "(1,3)");
    EXPECT_EQ(fmt(Variant(0), four), "zero");
    EXPECT_EQ(fmt(Variant::null(), four), "nada");
    EXPECT_EQ(fmt(Variant::null(), "0.00"), "");
    EXPECT_EQ(fmt(Variant(-5), "0.00"), "-5,00") << "one section: the minus sign comes first";
    EXPECT_EQ(fmt(Variant(-5), "€ 0"), "-€ 5");
    EXPECT_EQ(fmt(Variant(-0.001), "0.00"), "0,00") << "no minus on a value rounded to nothing";
    EXPECT_EQ(fmt(Variant(-5), "0;;\"zero\""), "-5") << "an empty section falls back to the first";
    EXPECT_EQ(fmt(Variant(0), "0;-0"), "0");
}

TEST_F(UnderRegional, DigitPlaceholdersLiteralsAndScaling)
{
    EXPECT_EQ(fmt(Variant(5), "000"), "005");
    EXPECT_EQ(fmt(Variant(0.5), "#.##"), ",5");
    EXPECT_EQ(fmt(Variant(5), "#.##"), "5,") << "VB keeps the decimal separator";
    EXPECT_EQ(fmt(Variant(0), "#,###"), "");
    EXPECT_EQ(fmt(Variant(1.5), "0.0#"), "1,5");
    EXPECT_EQ(fmt(Variant(1.005), "0.00"), "1,01") << "rounded on the value's decimal digits";
    EXPECT_EQ(fmt(Variant(12.5), ".00"), "12,50");
    EXPECT_EQ(fmt(Variant(123456), "00-00-00"), "12-34-56");
    EXPECT_EQ(fmt(Variant(1234567), "0,"), "1235") << "a comma before the point divides by 1000";
    EXPECT_EQ(fmt(Variant(1234567), "#,##0,,\" M\""), "1 M");
    EXPECT_EQ(fmt(Variant(0.5), "0%"), "50%");
    EXPECT_EQ(fmt(Variant(42), "\"Nº \"0\\#"), "Nº 42#");
    EXPECT_EQ(fmt(Variant(42), "0 \"dias\""), "42 dias") << "letters in quotes are no date tokens";
    EXPECT_EQ(fmt(Variant(1234.5), "0.00E+00"), "1,23E+03");
    EXPECT_EQ(fmt(Variant(0.000123), "0.0e-0"), "1,2e-4");
    EXPECT_EQ(fmt(Variant(9.999), "0.00E+00"), "1,00E+01");
}

TEST_F(UnderRegional, ValuesOfOtherTypesUnderNumberMasks)
{
    EXPECT_EQ(fmt(text("1.234,5"), "#,##0.00"), "1.234,50") << "a numeric text is converted";
    EXPECT_EQ(fmt(text("abc"), "#,##0.00"), "abc") << "other texts are shown as they are";
    EXPECT_EQ(fmt(Variant(true), "0"), "-1");
    EXPECT_EQ(fmt(Variant(), "0.00"), "0,00");
    EXPECT_EQ(fmt(Variant(float(0.1f)), "0.000000000"), "0,100000000");
    EXPECT_EQ(fmt(dateAt(1900, 1, 1, 12), "0.0"), "2,5");
    EXPECT_EQ(errorOf([] { Format(Variant::missing(), QStringLiteral("0")); }), errnum::TypeMismatch);
    EXPECT_EQ(errorOf([] { Format(Variant(std::make_shared<Object>()), QStringLiteral("0")); }),
              errnum::TypeMismatch);
}

TEST_F(UnderRegional, DateTokensAreCaseInsensitiveAndUseTheRegionalSeparators)
{
    const Variant d = dateAt(2024, 3, 5, 14, 7, 9); // a Tuesday
    EXPECT_EQ(fmt(d, "D/M/YY"), "5/3/24");
    EXPECT_EQ(fmt(d, "h:m:s"), "14:7:9");
    EXPECT_EQ(fmt(d, "hh:mm"), "14:07") << "m after an hour is minutes";
    EXPECT_EQ(fmt(d, "mm:ss"), "03:09") << "m elsewhere is the month";
    EXPECT_EQ(fmt(d, "hh:nn AM/PM"), "02:07 PM");
    EXPECT_EQ(fmt(d, "h:nn a/p"), "2:07 p");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 0, 30), "h:nn am/pm"), "12:30 am");
    EXPECT_EQ(fmt(d, "w ww q y"), "3 10 1 65");
    EXPECT_EQ(fmt(d, "dddd, d \"de\" mmmm"), "terça-feira, 5 de março");
    EXPECT_EQ(fmt(d, "ddddd"), "05/03/2024");
    EXPECT_EQ(fmt(d, "c"), "05/03/2024 14:07:09");
    EXPECT_EQ(fmt(d, "ttttt"), "14:07:09");
    EXPECT_EQ(fmt(d, "dd\\/mm"), "05/03") << "an escaped slash is a plain slash";

    vb::Regional dotted = vb::Regional::ptPT();
    dotted.dateSeparator = QStringLiteral(".");
    dotted.timeSeparator = QStringLiteral("h");
    vb::setRegional(dotted);
    EXPECT_EQ(fmt(d, "dd/mm/yyyy hh:nn"), "05.03.2024 14h07");
    EXPECT_EQ(fmt(d, "dd-mm-yyyy"), "05-03-2024") << "a hyphen is a literal";

    useAmerican();
    EXPECT_EQ(fmt(d, "dddd mmm"), "Tuesday Mar");
    EXPECT_EQ(fmt(d, "c"), "3/5/2024 2:07:09 PM");
}

TEST_F(UnderRegional, ValuesOfOtherTypesUnderDateMasks)
{
    EXPECT_EQ(fmt(text("05-03-2024"), "yyyy-mm-dd"), "2024-03-05") << "a date text is read";
    EXPECT_EQ(fmt(Variant(45356.5), "dd-mm-yyyy hh:nn"), "05-03-2024 12:00") << "a number is a serial";
    EXPECT_EQ(fmt(text("45356"), "dd-mm-yyyy"), "05-03-2024");
    EXPECT_EQ(fmt(text("amanhã"), "dd-mm-yyyy"), "amanhã");
    EXPECT_EQ(fmt(Variant::fromDate(-1.25), "dd-mm-yyyy hh:nn"), "29-12-1899 06:00");
    EXPECT_EQ(errorOf([] { Format(Variant(1e9), QStringLiteral("dd-mm-yyyy")); }), errnum::Overflow);
}

// Without a mask Format is the general form; named formats.
TEST_F(UnderRegional, TheGeneralFormAndNamedFormats)
{
    EXPECT_EQ(Format(Variant(12.5)), "12,5");
    EXPECT_EQ(Format(Variant(true)), "True");
    EXPECT_EQ(Format(Variant::null()), "");
    EXPECT_EQ(Format(Variant()), "");
    EXPECT_EQ(Format(dateAt(2024, 3, 5)), "05/03/2024");
    EXPECT_EQ(Format(text("abc")), "abc");
    EXPECT_EQ(fmt(Variant(1234.5), "Standard"), "1.234,50");
    EXPECT_EQ(fmt(Variant(1234.5), "fixed"), "1234,50");
    EXPECT_EQ(fmt(Variant(0.5), "Percent"), "50,00%");
    EXPECT_EQ(fmt(Variant(1234.5), "General Number"), "1234,5");
    EXPECT_EQ(fmt(Variant(3), "Yes/No"), "Yes");
    EXPECT_EQ(fmt(Variant(0), "On/Off"), "Off");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 14, 7, 9), "Short Time"), "14:07");
    EXPECT_EQ(fmt(dateAt(2024, 3, 5, 14, 7, 9), "Short Date"), "05/03/2024");
}
