#include "data/TaxNumber.h"
#include <gtest/gtest.h>

TEST(TaxNumber, ChecksTheDigitsTheAuthorityGivesOut)
{
    for (const char* good : {"123456789", "501964843", "509442013", "123 456 789", "245678905"})
        EXPECT_TRUE(TaxNumber::isValidPortuguese(QString::fromLatin1(good))) << good;
    for (const char* bad :
         {"501234567", "123456780", "12345678X", "12345678", "1234567890", "412345678", "", "７23456789"})
        EXPECT_FALSE(TaxNumber::isValidPortuguese(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(TaxNumber::checkDigit(QStringLiteral("12345678")), 9);
    EXPECT_EQ(TaxNumber::checkDigit(QStringLiteral("50123456")), 0) << "rest 1 gives 0";
}
