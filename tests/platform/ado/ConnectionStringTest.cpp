#include "platform/ado/ConnectionString.h"
#include "platform/values/VbError.h"
#include <gtest/gtest.h>

using ado::ConnectionString;

TEST(ConnectionString, ReadsTheSystemsStringsAndOleDbQuotingAndQuotesValuesBackUnchanged)
{
    const ConnectionString plain = ConnectionString::parse(
        QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=pw;Encrypt=yes;"
                       "Initial Catalog=Quarvenses;Data Source=SRV01\\SQL;Connect Timeout=15"));
    EXPECT_EQ(plain.userId(), QStringLiteral("sa"));
    EXPECT_EQ(plain.password(), QStringLiteral("pw"));
    EXPECT_EQ(plain.initialCatalog(), QStringLiteral("Quarvenses"));
    EXPECT_EQ(plain.dataSource(), QStringLiteral("SRV01\\SQL"));
    EXPECT_EQ(plain.connectTimeout(), 15);
    EXPECT_EQ(plain.value(QStringLiteral("persist security info")), QStringLiteral("False"));

    const ConnectionString quoted =
        ConnectionString::parse(QStringLiteral("user id = ana ;PASSWORD=\"a;b\"\"c\";Data Source='x''y'"));
    EXPECT_EQ(quoted.userId(), QStringLiteral("ana"));
    EXPECT_EQ(quoted.password(), QStringLiteral("a;b\"c"));
    EXPECT_EQ(quoted.dataSource(), QStringLiteral("x'y"));
    EXPECT_EQ(quoted.connectTimeout(), -1);

    for (const char* bad : {"Password=\"aberto", "Password=\"a\"b;", "Sozinho;"})
        EXPECT_THROW(ConnectionString::parse(QString::fromUtf8(bad)), vb::Error) << bad;

    // Quoted values read back unchanged.
    EXPECT_EQ(ConnectionString::quoteValue(QStringLiteral("simples")), QStringLiteral("simples"));
    for (const char* value : {"a;b", "com \"aspas\"", "O'Neill", "os 'dois' \"tipos\";", " margem ", "x=y"}) {
        const QString v = QString::fromUtf8(value);
        const ConnectionString parsed = ConnectionString::parse(
            QStringLiteral("Password=") + ConnectionString::quoteValue(v) + QStringLiteral(";User ID=u"));
        EXPECT_EQ(parsed.password(), v) << value;
        EXPECT_EQ(parsed.userId(), QStringLiteral("u")) << value << ": nothing injected";
    }
}
