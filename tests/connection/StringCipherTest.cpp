#include "connection/StringCipher.h"
#include "platform/values/VbError.h"

#include "tests/support/ScopedSettings.h"
#include "tests/support/ToolRun.h"

#include <QFileInfo>
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

TEST(StringCipher, RoundTripsRefusesWhatItDidNotWriteAndKeepsTheSitesKey)
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

    // The key is the site's: made at first use beside the settings, readable by
    // the site's group and nobody else, shared by the tool and the component; a
    // value written with the family's old built-in key still reads.
    testsupport::ScopedSettings settings;
    const QString keyFile = StringCipher::SiteKeyFile();
    ASSERT_FALSE(QFileInfo::exists(keyFile));
    const QString mine = StringCipher::Encipher(QStringLiteral("senha do sítio"));
    ASSERT_TRUE(QFileInfo::exists(keyFile));
    EXPECT_EQ(QFileInfo(keyFile).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::WriteGroup),
              QFile::Permissions());

    // the administrator's tool reads and writes with the same key
    const auto cipher = [](const QStringList& arguments) {
        return testsupport::runTool(QStringLiteral("quarvenses-cipher"), arguments);
    };
    EXPECT_EQ(cipher({QStringLiteral("-d"), mine}).out.trimmed(), QStringLiteral("senha do sítio"));
    const testsupport::ToolRun enciphered = cipher({QStringLiteral("palavra passe")});
    ASSERT_EQ(enciphered.exitCode, 0);
    EXPECT_EQ(StringCipher::Decipher(enciphered.out.trimmed()), QStringLiteral("palavra passe"));
    EXPECT_EQ(cipher({QStringLiteral("-d"), QStringLiteral("lixo")}).exitCode, 1);

    qputenv("QUARVENSES_FAMILY_KEY", "Varnadel/Quarvenses family key 2026"); // the old built-in passphrase
    const QString old = StringCipher::Encipher(QStringLiteral("senha antiga"));
    qunsetenv("QUARVENSES_FAMILY_KEY");
    EXPECT_EQ(StringCipher::Decipher(old), QStringLiteral("senha antiga"));

    // A new site key does not read what the other one wrote (the old
    // built-in key, which every site had, still reads its own values).
    QFile::remove(keyFile);
    expectRefused(mine);
    EXPECT_EQ(StringCipher::Decipher(old), QStringLiteral("senha antiga"));
}
