// A host killed (kill -9) in the middle of saving, twenty times: the catalog
// stays sound, every contact is whole, and nothing stays locked.
#include "connection/StringCipher.h"
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kills = 20;
const char* const workerFolder = "QV_SAVE_WORKER_FOLDER";

using cardtest::CardFixture;

} // namespace

// Run by the test below, as a child process of this same program: saves an
// existing contact and creates new ones until it is killed.
TEST(CardSaveWorker, SavesUntilKilled)
{
    const QString folder = qEnvironmentVariable(workerFolder);
    if (folder.isEmpty())
        GTEST_SKIP() << "only as a child of KilledWhileSaving";
    testsupport::ScopedSettings settings;
    ScriptedWindows windows;
    windows->onUnexpected = [](const QString&) {};
    General general; // connected as a host connects it
    const QString password = StringCipher::Encipher(QStringLiteral("pw"));
    ASSERT_TRUE(general.SQLConnect(QStringLiteral("sa"), password, QStringLiteral("sa"), password,
                                   QStringLiteral("Quarvenses"), folder, {}, 0));
    CardFixture::storeWindow(1);
    ado::Recordset list;
    list.Open(QStringLiteral("SELECT contacto_id FROM tbContactos ORDER BY contacto_id"), Data().SqlServer);
    general.ObjectOpen(list, vb::Variant(13));
    const qint64 pid = QCoreApplication::applicationPid();
    for (int i = 0;; ++i) {
        frmInicial& card = *general.card();
        if (i % 2 == 0) {
            CardFixture::type(card.ucIDSingular1, "txtNome", QStringLiteral("Volta ") + QString::number(i));
            card.ucIDMoradas1->addRow(
                {QStringLiteral("Rua ") + QString::number(i), {}, QStringLiteral("Braga"), {}});
        } else {
            general.ObjectNew(QStringLiteral("tbContactos"));
            CardFixture::choose(true);
            CardFixture::type(card.ucIDSingular1, "txtNome",
                              QStringLiteral("Novo ") + QString::number(pid) + u'-' + QString::number(i));
            card.ucIDTelefones1->addRow(
                {QStringLiteral("22") + QString::number(i), QStringLiteral("Telefone")});
        }
        card.setPrpAlteracoes(true);
        const bool saved = CardFixture::save(card);
        std::printf("gravado %d %d\n", i, saved);
        std::fflush(stdout);
        if (i % 2 == 1)
            general.ObjectOpen(list, vb::Variant(13));
    }
}

TEST(KilledWhileSaving, TheCatalogStaysSoundAndEveryContactWhole)
{
    testsupport::DemoDatabase db;
    const QString folder = db.folder();
    Data().SqlServer.Close(); // the children are the only writers
    int saves = 0;
    for (int round = 0; round < kills; ++round) {
        QProcess worker;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(workerFolder), folder);
        worker.setProcessEnvironment(env);
        worker.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=CardSaveWorker.*")});
        ASSERT_TRUE(worker.waitForStarted());
        // Some saves through, then the kill lands somewhere in the next ones.
        while (!worker.readAllStandardOutput().contains("gravado"))
            ASSERT_TRUE(worker.waitForReadyRead(30000)) << "the worker saved nothing";
        QThread::msleep(QRandomGenerator::global()->bounded(5, 120));
        ::kill(pid_t(worker.processId()), SIGKILL);
        ASSERT_TRUE(worker.waitForFinished(30000));
        saves += worker.readAllStandardOutput().count("gravado");
        ASSERT_EQ(testsupport::catalogIntegrity(folder, QStringLiteral("Quarvenses")), QStringLiteral("ok"))
            << round;
        const QStringList broken = testsupport::incompleteContacts(folder, QStringLiteral("Quarvenses"));
        ASSERT_TRUE(broken.isEmpty()) << broken.join(u'\n').toStdString();
        ASSERT_TRUE(testsupport::catalogWritableNow(folder, QStringLiteral("Quarvenses"))) << round;
    }
    std::printf("%d processos mortos a meio da gravação, catálogo íntegro e contactos completos\n", kills);
}
