// quarvenses-vcard as an administrator runs it: every contact the user may
// open out to a file, the file in again without doubling anyone, and the
// exit status saying whether a card was refused.
#include "platform/ado/embedded/CatalogBuilder.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/ToolRun.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::ToolRun;

// A command and its options, then the files it names.
QStringList words(const char* text, const QStringList& files = {})
{
    return QString::fromUtf8(text).split(u' ') + files;
}

} // namespace

// Every way an export or an import can fail is told in Portuguese, names what
// is at fault, and leaves the catalog as it was; then every contact the user
// may open goes out to a file and comes back in without doubling anyone.
TEST(VCardTool, FailuresChangeNothingAndAnExportComesBackInWithoutDoubling)
{
    QTemporaryDir dir;
    const QString server = dir.filePath(QStringLiteral("servidor"));
    ado::embedded::createCatalogFromSchema(server, QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                           QStringLiteral("pw"), true, ado::embedded::HashStrength::Minimal);
    const auto vcardTool = [&](const QStringList& arguments,
                               const QString& catalog = QStringLiteral("Quarvenses")) {
        const QStringList connection =
            QStringList{QStringLiteral("-S"), server, QStringLiteral("-d"), catalog} + words("-U sa -P pw");
        return testsupport::runTool(QStringLiteral("quarvenses-vcard"),
                                    arguments.mid(0, 1) + connection + arguments.mid(1), 60000);
    };
    const QByteArray before = testsupport::catalogFingerprint(server, QStringLiteral("Quarvenses"));
    const QString nowhere = dir.filePath(QStringLiteral("nao-ha/todos.vcf"));
    const QString empty = dir.filePath(QStringLiteral("vazio.vcf"));
    QFile(empty).open(QIODevice::WriteOnly);
    struct Case {
        QStringList arguments;
        int exitCode;
        QString err;
    };
    const QList<Case> cases{
        {words("export -o", {nowhere}), 1,
         QStringLiteral("Não foi possível escrever «") + nowhere + QStringLiteral("»: a pasta «") +
             dir.filePath(QStringLiteral("nao-ha")) +
             QStringLiteral("» não existe. Nada foi alterado no catálogo «Quarvenses».\n")},
        {words("export --user ninguem"), 2,
         QStringLiteral("«ninguem» não é utilizador dos contactos no catálogo «Quarvenses».\n")},
        {words("export --id 9999 -o", {dir.filePath(QStringLiteral("x.vcf"))}), 1,
         QStringLiteral("n.º 9999: o contacto já não existe\nNão foi possível escrever «") +
             dir.filePath(QStringLiteral("x.vcf")) +
             QStringLiteral(
                 "»: nenhum contacto pôde ser exportado. Nada foi alterado no catálogo «Quarvenses».\n")},
        {words("import", {empty}), 1, empty + QStringLiteral(": o ficheiro não tem nenhum cartão vCard.\n")},
    };
    for (const Case& c : cases) {
        const ToolRun run = vcardTool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.vcf"))));
    EXPECT_EQ(testsupport::catalogFingerprint(server, QStringLiteral("Quarvenses")), before)
        << "no UID given by an export that wrote no file";

    const ToolRun single = vcardTool(words("export --id 13 -o", {dir.filePath(QStringLiteral("um.vcf"))}));
    EXPECT_EQ(single.exitCode, 0);
    EXPECT_EQ(single.err, QStringLiteral("Exportado 1 contacto.\n"));
    EXPECT_NE(testsupport::catalogFingerprint(server, QStringLiteral("Quarvenses")), before)
        << "the UID is stored with the file";

    const ToolRun missing = vcardTool(words("export"), QStringLiteral("Outra"));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err,
              QStringLiteral("Não foi possível ligar ao catálogo «Outra» em «") + server +
                  QStringLiteral("»: Não é possível abrir a base de dados «Outra» pedida pelo início "
                                 "de sessão. O início de sessão falhou.\n"));

    const QString file = dir.filePath(QStringLiteral("todos.vcf"));
    const ToolRun exported = vcardTool(words("export -o", {file}));
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.err, QStringLiteral("Exportados 43 contactos.\n"));
    QFile cards(file);
    ASSERT_TRUE(cards.open(QIODevice::ReadOnly));
    EXPECT_EQ(cards.readAll().count("BEGIN:VCARD"), 43);

    const ToolRun again = vcardTool(words("import", {file}));
    EXPECT_EQ(again.exitCode, 1) << "cards not imported (there already) are told by the status too";
    EXPECT_TRUE(
        again.out.endsWith(QStringLiteral("Criados: 0, actualizados: 0, ignorados: 43, recusados: 0.\n")))
        << again.out.toStdString();

    const QString one = dir.filePath(QStringLiteral("novo.vcf"));
    QFile card(one);
    ASSERT_TRUE(card.open(QIODevice::WriteOnly));
    card.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nova;Pessoa;;;\r\nFN:Pessoa Nova\r\nEND:VCARD\r\n");
    card.close();
    const ToolRun trial = vcardTool(words("import --dry-run", {one}));
    EXPECT_EQ(trial.exitCode, 0);
    EXPECT_TRUE(trial.out.contains(QStringLiteral("  Criado: Pessoa Nova\n")));
    EXPECT_TRUE(trial.out.contains(QStringLiteral("Simulação: nada foi gravado.")));
    const ToolRun refused = vcardTool(words("import --user joao", {one}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.contains(
        QStringLiteral("  Recusado: Pessoa Nova (não tem permissão para criar contactos)\n")))
        << refused.out.toStdString();
    const ToolRun created = vcardTool(words("import", {one}));
    EXPECT_EQ(created.exitCode, 0);
    EXPECT_TRUE(created.out.contains(QStringLiteral("Criados: 1,")));

    const ToolRun wrong = vcardTool(words("export --id x"));
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(
        wrong.err.startsWith(QStringLiteral("--id quer um número de contacto, não «x».\nUtilização:")));
}
