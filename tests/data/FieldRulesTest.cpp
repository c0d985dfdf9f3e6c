#include "data/FieldRules.h"
#include "connection/ConnectionState.h"
#include "data/TaxNumber.h"
#include "platform/ado/Recordset.h"
#include "platform/values/Conversions.h"
#include "tests/support/DemoDatabase.h"
#include <gtest/gtest.h>

using namespace FieldRules;

TEST(FieldRules, EveryFieldsRuleAndTheDemonstrationDataFollowingIt)
{
    for (const char* good : {"ana@exemplo.pt", " joao.sousa+recibos@mail.exemplo.com ",
                             "conceição@exemplo.pt", "o'neil@exemplo.ie", "a@b-c.pt"})
        EXPECT_TRUE(isEmailAddress(QString::fromUtf8(good))) << good;
    for (const char* bad :
         {"sem arroba", "ana@", "@exemplo.pt", "ana@exemplo", "ana@@exemplo.pt", "ana silva@exemplo.pt",
          ".ana@exemplo.pt", "ana..s@exemplo.pt", "ana@-x.pt", "ana@exemplo..pt", ""})
        EXPECT_FALSE(isEmailAddress(QString::fromUtf8(bad))) << bad;

    for (const char* good : {"+351 210 000 000", "(+351) 22-123.45.67", "112", "21 000 00 00"})
        EXPECT_TRUE(isTelephoneNumber(QString::fromLatin1(good))) << good;
    for (const char* bad :
         {"12", "ext. 21", "21 000 00 00 ou 91", "++351 210", "", "+-()", "1234567890123456789012345678901"})
        EXPECT_FALSE(isTelephoneNumber(QString::fromLatin1(bad))) << bad;

    // Postal codes follow the country.
    for (const char* country : {"Portugal", "portugal", " PT "}) {
        EXPECT_TRUE(isPostalCodeFor(QStringLiteral("1100-148"), QString::fromLatin1(country)));
        for (const char* bad : {"1100", "1100 148", "1100-14", "A100-148", "11001-48"})
            EXPECT_FALSE(isPostalCodeFor(QString::fromLatin1(bad), QString::fromLatin1(country)))
                << bad << " in " << country;
    }
    EXPECT_TRUE(isPostalCodeFor(QStringLiteral("28013"), QStringLiteral("Espanha")));
    EXPECT_TRUE(isPostalCodeFor(QStringLiteral("SW1A 1AA"), QStringLiteral("Reino Unido")));
    EXPECT_TRUE(isPostalCodeFor(QStringLiteral("1100"), QString())) << "no country named: not checked";

    // The NIF's check digit, as the tax authority gives numbers out.
    for (const char* good : {"123456789", "501964843", "509442013", "123 456 789", "245678905"})
        EXPECT_TRUE(TaxNumber::isValidPortuguese(QString::fromLatin1(good))) << good;
    for (const char* bad :
         {"501234567", "123456780", "12345678X", "12345678", "1234567890", "412345678", "", "７23456789"})
        EXPECT_FALSE(TaxNumber::isValidPortuguese(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(TaxNumber::checkDigit(QStringLiteral("12345678")), 9);
    EXPECT_EQ(TaxNumber::checkDigit(QStringLiteral("50123456")), 0) << "rest 1 gives 0";

    // The demonstration contacts carry valid NIFs, apart from the deliberate
    // duplicate pair and one written with spaces.
    testsupport::DemoDatabase db;
    ado::Recordset rs = Data().SqlServer.Execute(
        QStringLiteral("SELECT no_contribuinte FROM tbContactos WHERE no_contribuinte IS NOT NULL"));
    int checked = 0;
    for (; !rs.Eof(); rs.MoveNext(), ++checked) {
        const QString nif = vb::CStr(rs.Fields(0).Value());
        EXPECT_TRUE(TaxNumber::isValidPortuguese(nif)) << nif.toStdString();
    }
    EXPECT_GT(checked, 40);
    EXPECT_EQ(
        db.count("SELECT COUNT(*) FROM (SELECT no_contribuinte FROM tbContactos GROUP BY no_contribuinte "
                 "HAVING COUNT(*) > 1) d"),
        1)
        << "the duplicate pair stays";
}
