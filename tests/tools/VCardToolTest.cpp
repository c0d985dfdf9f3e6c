// quarvenses-vcard as an administrator runs it: every contact the user may
// open out to a file, the file in again without doubling anyone, and the
// exit status saying whether a card was refused.
#include "platform/ado/embedded/CatalogBuilder.h"
#include "tests/support/ToolRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::ToolRun;

ToolRun vcardTool(const QTemporaryDir& dir, const QStringList& arguments)
{
    const QStringList connection{QStringLiteral("-S"), dir.filePath(QStringLiteral("servidor")),
                                 QStringLiteral("-d"), QStringLiteral("Quarvenses"),
                                 QStringLiteral("-U"), QStringLiteral("sa"),
                                 QStringLiteral("-P"), QStringLiteral("pw")};
    return testsupport::runTool(QStringLiteral("quarvenses-vcard"),
                                arguments.mid(0, 1) + connection + arguments.mid(1), 60000);
}

} // namespace

TEST(VCardTool, ExportsWhatTheUserMayOpenAndImportsWithoutDoubling)
{
    QTemporaryDir dir;
    ado::embedded::createCatalogFromSchema(dir.filePath(QStringLiteral("servidor")),
                                           QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                           QStringLiteral("pw"), true, ado::embedded::HashStrength::Minimal);
    const QString file = dir.filePath(QStringLiteral("todos.vcf"));
    const ToolRun exported = vcardTool(dir, {QStringLiteral("export"), QStringLiteral("-o"), file});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.err, QStringLiteral("Exportados 43 contactos.\n"));
    QFile cards(file);
    ASSERT_TRUE(cards.open(QIODevice::ReadOnly));
    EXPECT_EQ(cards.readAll().count("BEGIN:VCARD"), 43);

    const ToolRun again = vcardTool(dir, {QStringLiteral("import"), file});
    EXPECT_EQ(again.exitCode, 1) << "cards not imported (there already) are told by the status too";
    EXPECT_TRUE(
        again.out.endsWith(QStringLiteral("Criados: 0, actualizados: 0, ignorados: 43, recusados: 0.\n")))
        << again.out.toStdString();

    const QString one = dir.filePath(QStringLiteral("novo.vcf"));
    QFile card(one);
    ASSERT_TRUE(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nova;Pessoa;;;\r\nFN:Pessoa Nova\r\nEND:VCARD\r\n");
    card.close();
    const ToolRun trial = vcardTool(dir, {QStringLiteral("import"), QStringLiteral("--dry-run"), one});
    EXPECT_EQ(trial.exitCode, 0);
    EXPECT_TRUE(trial.out.contains(QStringLiteral("  Criado: Pessoa Nova\n")));
    EXPECT_TRUE(trial.out.contains(QStringLiteral("Simulação: nada foi gravado.")));
    const ToolRun refused =
        vcardTool(dir, {QStringLiteral("import"), QStringLiteral("--user"), QStringLiteral("joao"), one});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.contains(
        QStringLiteral("  Recusado: Pessoa Nova (não tem permissão para criar contactos)\n")))
        << refused.out.toStdString();
    const ToolRun created = vcardTool(dir, {QStringLiteral("import"), one});
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_TRUE(created.out.contains(QStringLiteral("Criados: 1,")));

    const ToolRun wrong =
        vcardTool(dir, {QStringLiteral("export"), QStringLiteral("--id"), QStringLiteral("x")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(
        wrong.err.startsWith(QStringLiteral("--id quer um número de contacto, não «x».\nUtilização:")));
}
