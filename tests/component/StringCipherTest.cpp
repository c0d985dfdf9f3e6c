#include "component/StringCipher.h"
#include "platform/values/VbError.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

void expectRefused(const QString& text)
{
    try {
        StringCipher::Decipher(text);
        ADD_FAILURE() << "deciphered " << text.toStdString();
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.description(), QStringLiteral("O texto indicado não é um texto cifrado válido."));
    }
}

} // namespace

TEST(StringCipher, RoundTripsAnyTextAndNeverRepeatsItsOutput)
{
    for (const QString& plain : {QString(), QStringLiteral("segredo"), QStringLiteral("pa;ss'wo\"rd €ção"),
                                 QString(QChar(0)) + QStringLiteral("x")}) {
        const QString once = StringCipher::Encipher(plain);
        EXPECT_TRUE(StringCipher::LooksEnciphered(once));
        EXPECT_EQ(StringCipher::Decipher(once), plain);
        EXPECT_NE(StringCipher::Encipher(plain), once) << "a fresh nonce each time";
        for (QChar c : once)
            EXPECT_TRUE(c.unicode() > 32 && c.unicode() < 127) << "printable, no separators";
    }
}

TEST(StringCipher, RefusesTextsItDidNotWrite)
{
    const QString good = StringCipher::Encipher(QStringLiteral("segredo"));
    expectRefused(QStringLiteral("segredo"));
    expectRefused(QString());
    expectRefused(QStringLiteral("qv1:"));
    QString tampered = good;
    tampered[tampered.size() - 2] =
        tampered[tampered.size() - 2] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
    expectRefused(tampered);

    qputenv("QUARVENSES_FAMILY_KEY", "another family");
    expectRefused(good);
    qunsetenv("QUARVENSES_FAMILY_KEY");
    EXPECT_EQ(StringCipher::Decipher(good), QStringLiteral("segredo"));
}

TEST(StringCipher, ToolEnciphersAndDeciphersForAnAdministrator)
{
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/quarvenses-cipher");
    QProcess p;
    p.start(tool, {QStringLiteral("palavra passe")});
    ASSERT_TRUE(p.waitForFinished());
    ASSERT_EQ(p.exitCode(), 0);
    const QString enciphered = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    EXPECT_EQ(StringCipher::Decipher(enciphered), QStringLiteral("palavra passe"));

    p.start(tool, {QStringLiteral("-d"), enciphered});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QStringLiteral("palavra passe"));

    p.start(tool, {QStringLiteral("-d"), QStringLiteral("lixo")});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 1);
}
