#include "UnderRegional.h"
#include "platform/values/Conversions.h"
#include "platform/values/Twips.h"

#include <QGuiApplication>
#include <QScreen>

using namespace vb;

TEST(Regional, ReadsSeparatorsOrderAndClockFromALocale)
{
    const Regional us = Regional::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.thousandsSeparator, ",");
    EXPECT_EQ(us.decimalSeparator, ".");
    EXPECT_EQ(us.dateSeparator, "/");
    EXPECT_EQ(us.timeSeparator, ":");
    EXPECT_EQ(us.dateOrder, DateOrder::MonthDayYear);
    EXPECT_TRUE(us.twelveHourClock);
    EXPECT_FALSE(us.dayMonthLeadingZero);

    const Regional de = Regional::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.thousandsSeparator, ".");
    EXPECT_EQ(de.decimalSeparator, ",");
    EXPECT_EQ(de.dateSeparator, ".");
    EXPECT_EQ(de.dateOrder, DateOrder::DayMonthYear);
    EXPECT_FALSE(de.twelveHourClock);

    const Regional jp = Regional::fromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(jp.dateOrder, DateOrder::YearMonthDay);
    EXPECT_EQ(jp.dateSeparator, "/");
}

TEST_F(UnderRegional, ConversionsFollowTheSettingsOfTheMoment)
{
    Regional swiss = Regional::ptPT();
    swiss.thousandsSeparator = QStringLiteral("'");
    swiss.decimalSeparator = QStringLiteral(".");
    setRegional(swiss);
    EXPECT_DOUBLE_EQ(CDbl(Variant("1'234.5")), 1234.5);
    EXPECT_EQ(CStr(Variant(1234.5)), "1234.5");

    Regional spaced = Regional::ptPT();
    spaced.thousandsSeparator = QString(QChar(0x00A0));
    setRegional(spaced);
    EXPECT_DOUBLE_EQ(CDbl(Variant("1 234,5")), 1234.5) << "a no-break space is typed as a space";
}

TEST(Twips, FifteenToAPixelRoundedAndTheScreensSize)
{
    EXPECT_EQ(pixelsToTwips(1920), 28800);
    EXPECT_EQ(twipsToPixels(28800), 1920);
    EXPECT_EQ(twipsToPixels(22), 1);
    EXPECT_EQ(twipsToPixels(23), 2);
    EXPECT_EQ(twipsToPixels(-23), -2);
    EXPECT_EQ(twipsToPixels(0), 0);

    // The screen's size is the primary screen's full geometry.
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr) << "the test main runs a GUI application";
    const QSize size = screenSizeTwips();
    EXPECT_EQ(size.width(), screen->geometry().width() * 15);
    EXPECT_EQ(size.height(), screen->geometry().height() * 15);
    EXPECT_GT(size.width(), 0);
}
