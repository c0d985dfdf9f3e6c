#include "UnderRegional.h"
#include "platform/values/Conversions.h"

#include <QDateTime>

using namespace vb;

namespace {
double serialOf(const char* s)
{
    return CDate(text(s)).get<Date>()->serial;
}
double at(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0)
{
    return ToSerial(QDateTime(QDate(y, m, d), QTime(hh, nn, ss)));
}
} // namespace

TEST_F(UnderRegional, DateSerialsCountDaysFromTheLastDaysOf1899)
{
    EXPECT_EQ(DateSerial(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(DateSerial(QDate(1900, 1, 1)), 2.0);
    EXPECT_EQ(DateSerial(QDate(1900, 3, 1)), 61.0) << "1900 was no leap year";
    EXPECT_EQ(DateSerial(QDate(2024, 3, 5)), 45356.0);
    EXPECT_EQ(DateSerial(QDate(100, 1, 1)), -657434.0);
    EXPECT_EQ(DateSerial(QDate(9999, 12, 31)), 2958465.0);
    EXPECT_DOUBLE_EQ(TimeSerial(QTime(18, 0)), 0.75);
    EXPECT_DOUBLE_EQ(at(2024, 3, 5, 6), 45356.25);

    for (const QDate& d : {QDate(100, 1, 1), QDate(1582, 10, 10), QDate(1899, 12, 29), QDate(1900, 2, 28),
                           QDate(2000, 2, 29), QDate(9999, 12, 31)}) {
        EXPECT_EQ(SerialDate(DateSerial(d)), d) << d.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(FromSerial(DateSerial(d)).date(), d);
    }
    const QDateTime stamp(QDate(2024, 3, 5), QTime(14, 7, 9));
    EXPECT_EQ(FromSerial(ToSerial(stamp)), stamp);

    // Negative serials carry the time as a positive fraction.
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(SerialDate(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(SerialTime(-1.25), QTime(6, 0));

    // Times round to the second and roll into the next day.
    EXPECT_EQ(SerialTime(45356.0 + 1.4 / 86400), QTime(0, 0, 1));
    EXPECT_EQ(SerialTime(45356.0 + 1.6 / 86400), QTime(0, 0, 2));
    EXPECT_EQ(FromSerial(45356.9999999), QDateTime(QDate(2024, 3, 6), QTime(0, 0)));

    // Dates outside the years 100 to 9999 are no dates.
    EXPECT_FALSE(FromSerial(-657435.5).isValid());
    EXPECT_FALSE(FromSerial(2958466.0).isValid());
    EXPECT_FALSE(FromSerial(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_TRUE(FromSerial(2958465.5).isValid());
    EXPECT_EQ(errorOf([] { CDate(Variant(2958466.0)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CDate(Variant(-657435.0)); }), errnum::Overflow);
    EXPECT_EQ(errorOf([] { CDate(Variant(-657434.0)); }), 0);
    EXPECT_EQ(errorOf([] { CStr(Variant::fromDate(1e7)); }), errnum::Overflow);
    EXPECT_FALSE(IsDate(text("01-01-0099")));
    EXPECT_FALSE(IsDate(Variant::fromDate(3e6)));
}

TEST_F(UnderRegional, PortugueseTextsReadDayMonthYearAndAmericanMonthDayYear)
{
    EXPECT_EQ(serialOf("05-03-2024"), at(2024, 3, 5));
    EXPECT_EQ(serialOf("5.3.24"), at(2024, 3, 5)) << "two-digit years below 30 are 20xx";
    EXPECT_EQ(serialOf("5.3.45"), at(1945, 3, 5));
    EXPECT_EQ(serialOf(" 2024-03-05 "), at(2024, 3, 5)) << "ISO year first";
    EXPECT_EQ(serialOf("5/3/2024 14:07:09"), at(2024, 3, 5, 14, 7, 9));
    EXPECT_EQ(serialOf("2024-03-05 14:07"), at(2024, 3, 5, 14, 7));
    EXPECT_DOUBLE_EQ(serialOf("14:07:09"), TimeSerial(QTime(14, 7, 9)));
    EXPECT_DOUBLE_EQ(serialOf("2:07 PM"), TimeSerial(QTime(14, 7)));
    EXPECT_DOUBLE_EQ(serialOf("12:30 am"), TimeSerial(QTime(0, 30)));
    EXPECT_DOUBLE_EQ(serialOf("3 pm"), TimeSerial(QTime(15, 0)));
    EXPECT_EQ(serialOf("29-02-2024"), at(2024, 2, 29));

    for (const char* notDate : {"31-02-2024", "29-02-2023", "13-13-2024", "00-01-2024", "05-03", "12,5",
                                "12.5", "", "hoje", "25:00", "14:60", "14:07:", "13:00 PM", "05-03-2024 x",
                                "05-03-2024 25:00", "1-2-3-4", "123-01-01-01"})
        EXPECT_FALSE(IsDate(text(notDate))) << notDate;
    EXPECT_TRUE(IsDate(text("31/12/9999 23:59:59")));
    EXPECT_TRUE(IsDate(Variant::fromDate(45356.5)));
    EXPECT_FALSE(IsDate(Variant(45356.5))) << "a number is no date for IsDate";

    // American texts read month, day, year.
    useAmerican();
    EXPECT_EQ(serialOf("3/5/2024"), at(2024, 3, 5));
    EXPECT_EQ(serialOf("2024-03-05"), at(2024, 3, 5));
    EXPECT_FALSE(IsDate(text("31/12/2024"))) << "month 31: day and month are not swapped";
    EXPECT_TRUE(IsDate(text("12/31/2024")));
}

TEST_F(UnderRegional, CStrOfADateIsTheShortDateAndTheTimeWhenThereIsOne)
{
    EXPECT_EQ(CStr(Variant::fromDate(at(2024, 3, 5))), "05/03/2024");
    EXPECT_EQ(CStr(Variant::fromDate(at(2024, 3, 5, 9, 7, 3))), "05/03/2024 09:07:03");
    EXPECT_EQ(CStr(Variant::fromDate(0.75)), "18:00:00") << "day 0 shows the time alone";
    EXPECT_EQ(CStr(Variant::fromDate(0)), "00:00:00");
    EXPECT_EQ(CStr(Variant::fromDate(-1.25)), "29/12/1899 06:00:00");
    const double stamp = at(2024, 11, 25, 14, 7, 9);
    EXPECT_EQ(serialOf(CStr(Variant::fromDate(stamp)).toUtf8().constData()), stamp) << "CStr reads back";
    useAmerican();
    EXPECT_EQ(CStr(Variant::fromDate(at(2024, 3, 5))), "3/5/2024");
    EXPECT_EQ(CStr(Variant::fromDate(stamp)), "11/25/2024 2:07:09 PM");
    EXPECT_EQ(serialOf(CStr(Variant::fromDate(stamp)).toUtf8().constData()), stamp);
}
