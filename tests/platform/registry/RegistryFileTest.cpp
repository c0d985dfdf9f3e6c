#include "platform/registry/RegFormat.h"
#include "platform/registry/Registry.h"
#include "tests/platform/VbFailure.h"
#include "tests/support/QtPrinters.h"
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failures: values as they are.
namespace platform {
static void PrintTo(const RegValue& v, std::ostream* os)
{
    if (v.type == RegValue::Type::Dword)
        *os << "dword:" << v.number;
    else
        *os << '"' << v.text.toStdString() << '"';
}
} // namespace platform

using platform::Registry;
using platform::RegValue;

namespace {

const QString Key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV");

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A registry file of its own for each test.
class RegistryFile : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.reg"));
};

} // namespace

TEST_F(RegistryFile, KeepsEscapesAndNonAsciiTextAcrossARewriteAndSkipsNoOpWrites)
{
    {
        Registry reg(path);
        reg.setValue(Key, QStringLiteral("Pasta"),
                     RegValue::string(QStringLiteral("C:\\Docs\\\"Ação\" 5 €")));
        reg.setValue(Key, QStringLiteral("Linhas"), RegValue::string(QStringLiteral("um\r\ndois\ttrês")));
        reg.setValue(Key, {}, RegValue::string(QStringLiteral("padrão")));
        reg.setValue(Key + QStringLiteral("\\frm001"), QStringLiteral("Left"), RegValue::dword(0xfffffffe));
    }
    const QString text = QString::fromUtf8(readBytes(path));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\n\n[")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Pasta\"=\"C:\\\\Docs\\\\\\\"Ação\\\" 5 €\"\n")))
        << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("@=\"padrão\"\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Left\"=dword:fffffffe\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Linhas\"=hex(1):")));

    // A fresh object reads everything back from the file alone.
    Registry again(path);
    EXPECT_EQ(again.value(Key, QStringLiteral("pasta")),
              RegValue::string(QStringLiteral("C:\\Docs\\\"Ação\" 5 €")));
    EXPECT_EQ(again.value(Key, QStringLiteral("Linhas")),
              RegValue::string(QStringLiteral("um\r\ndois\ttrês")));
    EXPECT_EQ(again.value(Key, {}), RegValue::string(QStringLiteral("padrão")));
    EXPECT_EQ(again.value(Key.toLower() + QStringLiteral("\\FRM001"), QStringLiteral("LEFT")),
              RegValue::dword(0xfffffffe));

    // Writing the same value again leaves the file alone.
    again.setValue(Key, QStringLiteral("Top"), RegValue::dword(10));
    const QByteArray before = readBytes(path);
    // Another writer's spelling of the same file, byte for byte: a no-op
    // write must not rewrite it in our spelling.
    QByteArray edited = before;
    edited.replace("\"Top\"", "\"Top\" ");
    writeBytes(path, edited);
    again.setValue(Key, QStringLiteral("Top"), RegValue::dword(10));
    EXPECT_EQ(readBytes(path), edited);
    again.setValue(Key, QStringLiteral("Top"), RegValue::dword(11));
    EXPECT_EQ(Registry(path).value(Key, QStringLiteral("Top")), RegValue::dword(11));
}

TEST_F(RegistryFile, ADamagedFileIsRefusedWithItsLineAndLeftAsItWas)
{
    const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                               "\"A\"=dword:1\n\"B\"=\"sem fim\n";
    writeBytes(path, damaged);
    Registry reg(path);
    const auto refused = vbtest::raised([&] { reg.setValue(Key, QStringLiteral("X"), RegValue::dword(1)); });
    ASSERT_TRUE(refused) << "a damaged file was written over";
    EXPECT_EQ(refused->number(), 1015);
    EXPECT_TRUE(refused->description().contains(QStringLiteral("linha 5")))
        << qPrintable(refused->description());
    EXPECT_TRUE(refused->description().contains(path));
    EXPECT_THROW(reg.value(Key, QStringLiteral("A")), vb::Error);
    EXPECT_THROW(
        reg.openKey(platform::rootkey::LocalMachine, QStringLiteral("SOFTWARE"), platform::access::Read),
        vb::Error);
    EXPECT_EQ(readBytes(path), damaged);

    // Text in another encoding is damage too, not something to guess at.
    writeBytes(path, "Windows Registry Editor Version 5.00\n\n[HKEY_USERS\\x]\n\"N\"=\"a\xe7\xe3o\"\n");
    const QString latin1 =
        vbtest::failureOf([&] { (void)reg.value(QStringLiteral("HKEY_USERS\\x"), QStringLiteral("N")); });
    EXPECT_TRUE(latin1.contains(QStringLiteral("linha 4")))
        << "Latin-1 text was accepted: " << qPrintable(latin1);

    // Nor what it cannot keep, refused at its line.
    auto lineOf = [](const char* text) {
        try {
            platform::regformat::parse(QString::fromUtf8(text));
        } catch (const platform::RegSyntaxError& e) {
            return e.line();
        }
        return 0;
    };
    EXPECT_EQ(lineOf("[HKEY_USERS\\x]\n"), 1);                                  // no header
    EXPECT_EQ(lineOf("REGEDIT4\n\n\"A\"=\"x\"\n"), 3);                          // value before key
    EXPECT_EQ(lineOf("REGEDIT4\n[HKEY_NOWHERE\\x]\n"), 2);                      // unknown root
    EXPECT_EQ(lineOf("REGEDIT4\n[HKEY_USERS\\x]\n\"A\"=hex(7):00,00\n"), 3);    // other types
    EXPECT_EQ(lineOf("REGEDIT4\n[HKEY_USERS\\x]\n\"A\"=dword:123456789\n"), 3); // too wide
    EXPECT_EQ(lineOf("REGEDIT4\n[HKEY_USERS\\x]\n\"A\"=\"a\\nb\"\n"), 3);       // bad escape
    EXPECT_EQ(lineOf("REGEDIT4\n; note\n[HKEY_USERS\\x]\n\"A\"=hex(1):41,00,\\\n  42,00,00,00\n"), 0);
}

TEST_F(RegistryFile, MergesRemovesAndIsAllOrNothing)
{
    Registry reg(path);
    reg.setValue(Key, QStringLiteral("Keep"), RegValue::string(QStringLiteral("k")));
    reg.setValue(Key, QStringLiteral("Gone"), RegValue::string(QStringLiteral("g")));
    reg.setValue(Key + QStringLiteral("\\frm001"), QStringLiteral("Left"), RegValue::dword(1));

    // regedit's own export: UTF-16LE with its mark and CRLF line ends.
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV]\r\n"
                                        "\"DataServer\"=\"Fiscora\"\r\n\"Gone\"=-\r\n\r\n"
                                        "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001]\r\n");
    QByteArray utf16("\xff\xfe", 2);
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    const QString file = dir.filePath(QStringLiteral("site.reg"));
    writeBytes(file, utf16);
    reg.importFile(file);
    EXPECT_EQ(reg.value(Key, QStringLiteral("DataServer")), RegValue::string(QStringLiteral("Fiscora")));
    EXPECT_EQ(reg.value(Key, QStringLiteral("Keep")), RegValue::string(QStringLiteral("k")));
    EXPECT_FALSE(reg.value(Key, QStringLiteral("Gone")));
    EXPECT_FALSE(reg.keyExists(Key + QStringLiteral("\\frm001")));

    const QString before = reg.exportText();
    EXPECT_THROW(reg.importText(QStringLiteral("REGEDIT4\n[HKEY_USERS\\a]\n\"A\"=\"1\"\n\"B\"=oops\n")),
                 vb::Error);
    EXPECT_EQ(reg.exportText(), before);

    // An export of one key moves to another site unchanged.
    QTemporaryDir other;
    Registry site(other.filePath(QStringLiteral("registry.reg")));
    site.importText(reg.exportText(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel")));
    EXPECT_EQ(site.exportText(), reg.exportText());
}

TEST_F(RegistryFile, OpenQuerySetCloseAsTheSettingsStoreDoes)
{
    Registry reg(path);
    using namespace platform;
    EXPECT_EQ(reg.openKey(rootkey::LocalMachine, QStringLiteral("SOFTWARE\\Varnadel"), access::Read), 0u);
    EXPECT_EQ(reg.openKey(0x12345, QStringLiteral("SOFTWARE"), access::Read), 0u);

    const quint32 created =
        reg.createKey(rootkey::LocalMachine, QStringLiteral("SOFTWARE\\Varnadel\\Fiscora"), access::Write);
    ASSERT_NE(created, 0u);
    reg.setDword(created, QStringLiteral("Width"), 11175);
    reg.setString(created, QStringLiteral("dtUser"), QStringLiteral("sa"));
    EXPECT_THROW(reg.queryValue(created, QStringLiteral("Width")), vb::Error); // write-only access
    reg.closeKey(created);
    EXPECT_THROW(reg.setDword(created, QStringLiteral("Width"), 1), vb::Error); // closed

    // A key above one that exists is there too, as in Windows.
    const quint32 parent =
        reg.openKey(rootkey::LocalMachine, QStringLiteral("software\\varnadel"), access::Read);
    EXPECT_NE(parent, 0u);
    reg.closeKey(parent);

    const quint32 key =
        reg.openKey(rootkey::LocalMachine, QStringLiteral("SOFTWARE\\Varnadel\\Fiscora"), access::Read);
    ASSERT_NE(key, 0u);
    EXPECT_EQ(reg.queryValue(key, QStringLiteral("Width")), RegValue::dword(11175));
    EXPECT_EQ(reg.queryValue(key, QStringLiteral("dtUser")), RegValue::string(QStringLiteral("sa")));
    EXPECT_FALSE(reg.queryValue(key, QStringLiteral("Height")));
    EXPECT_THROW(reg.setDword(key, QStringLiteral("Width"), 1), vb::Error); // read-only access
    reg.closeKey(key);

    EXPECT_EQ(platform::rootHandle(QStringLiteral("hkey_local_machine")), 0u);
}

// Run as a child of the test below: writes 1 000 values with its own prefix.
TEST(RegistryWriter, WritesOnlyWhenAsked)
{
    const QString path = qEnvironmentVariable("QV_REGISTRY_WRITER_FILE");
    if (path.isEmpty())
        GTEST_SKIP() << "only run as a writer child";
    const QString prefix = qEnvironmentVariable("QV_REGISTRY_WRITER_PREFIX");
    Registry& reg = Registry::at(path);
    for (int i = 0; i < 1000; ++i)
        reg.setValue(Key, prefix + QString::number(i), RegValue::dword(quint32(i)));
}

TEST_F(RegistryFile, TwoProcessesWritingAtOnceLoseNothing)
{
    if (!qEnvironmentVariable("QV_REGISTRY_WRITER_FILE").isEmpty())
        GTEST_SKIP();
    QProcess writers[2];
    for (int w = 0; w < 2; ++w) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QV_REGISTRY_WRITER_FILE"), path);
        env.insert(QStringLiteral("QV_REGISTRY_WRITER_PREFIX"),
                   w == 0 ? QStringLiteral("a") : QStringLiteral("b"));
        writers[w].setProcessEnvironment(env);
        writers[w].start(QCoreApplication::applicationFilePath(),
                         {QStringLiteral("--gtest_filter=RegistryWriter.WritesOnlyWhenAsked")});
    }
    for (QProcess& p : writers) {
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString();
    }
    Registry reg(path);
    int found = 0;
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < 1000; ++i)
            found +=
                reg.value(Key, QLatin1String(prefix) + QString::number(i)) == RegValue::dword(quint32(i));
    EXPECT_EQ(found, 2000);
}
