// The save-file dialog's options and filters, filing documents in a
// contact's archive, and the archive tab's attach and remove.
#include "connection/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "documents/ImportarFicheiro.h"
#include "documents/modComDlg.h"
#include "panels/ucIDArqDoc.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/windows/MessageStyle.h"
#include "settings/modRegistry.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/ComponentWorld.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;
using namespace platform::msgbox;

namespace {

const QChar nul(u'\0');

class Archive : public ::testing::Test, public testsupport::ComponentWorld {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(modRegistry::GarantirShadow());
        Conn().strDataServer = QStringLiteral("Quarvenses");
        root = files.filePath(QStringLiteral("arquivo"));
        QDir().mkpath(root);
        modRegistry::GravarShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                                  QStringLiteral("ArquivoDocumental"), root);
    }
    QString source(const QString& name, const QByteArray& content = "conteúdo")
    {
        QDir().mkpath(files.filePath(QStringLiteral("origem")));
        const QString path = files.filePath(QStringLiteral("origem/") + name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    int rows(qint32 id)
    {
        return db.count(QStringLiteral("SELECT COUNT(*) FROM tbArquivo_Documental WHERE contacto_id = ") +
                        QString::number(id));
    }

    QTemporaryDir files;
    QString root;
};

} // namespace

TEST(FileDialogs, FilterListsTheDialogsOptionsAndFreeNames)
{
    using modComDlg::MSA_CreateFilterString;
    // The expected lists with "|" for each NUL.
    const auto nuls = [](const char* text) { return QString::fromLatin1(text).replace(u'|', nul); };
    EXPECT_EQ(MSA_CreateFilterString({}), QString());
    EXPECT_EQ(MSA_CreateFilterString({vb::Variant(QString()), vb::Variant(QStringLiteral("doc"))}),
              nuls("|doc|*.*|*.*||"));
    EXPECT_EQ(MSA_CreateFilterString({vb::Variant(QStringLiteral("Cartas"))}), nuls("Cartas|*.*|*.*|*.*||"))
        << "a description without a pattern gets *.*; only a given *.* spares the extra pair";
    EXPECT_EQ(
        MSA_CreateFilterString({vb::Variant(QStringLiteral("Tudo")), vb::Variant(QStringLiteral("*.*"))}),
        nuls("Tudo|*.*||"));

    modComDlg::MSA_OPENFILENAME options;
    options.strInitialFile = QStringLiteral("carta");
    modComDlg::OPENFILENAME dialog;
    modComDlg::MSAOF_to_OF(options, dialog);
    EXPECT_EQ(dialog.lStructSize, 76);
    EXPECT_EQ(dialog.lpstrFile.size(), modComDlg::bufferSize);
    EXPECT_EQ(dialog.nMaxFile, modComDlg::bufferMaximum);
    EXPECT_EQ(dialog.lpstrFileTitle, QString(modComDlg::bufferSize, nul));
    EXPECT_TRUE(dialog.lpstrFilter.startsWith(QStringLiteral("All Files") + nul)) << "no filter: all files";

    ScriptedWindows windows;
    QTemporaryDir folder;
    windows->queueSaveFileName(folder.filePath(QStringLiteral("carta.doc")));
    EXPECT_EQ(modComDlg::SaveFileName(
                  vb::Variant(folder.path()), vb::Variant(QStringLiteral("Mailing Personalizado")),
                  vb::Variant(QString()), vb::Variant(QStringLiteral("doc")), QStringLiteral("proposta")),
              folder.filePath(QStringLiteral("carta.doc")));
    // What the dialog is asked (title, folder, name, filters) is read by the prints window's test.
    EXPECT_TRUE(windows->saveDialogs().back().hideReadOnly);
    const modComDlg::MSA_OPENFILENAME& last = modComDlg::LastOptions();
    EXPECT_EQ(last.strFileTitle.size(), modComDlg::bufferSize);
    EXPECT_EQ(last.intFileOffset, folder.path().size() + 1);
    EXPECT_EQ(last.intFileExtension, folder.path().size() + 7);

    // Free names count before the last dot and honour letter case.
    using documents::freeName;
    EXPECT_EQ(freeName(QStringLiteral("notes"), {QStringLiteral("notes")}), QStringLiteral("notes_1"));
    EXPECT_EQ(freeName(QStringLiteral("notes"), {QStringLiteral("notes"), QStringLiteral("notes_1")}),
              QStringLiteral("notes_2"));
    EXPECT_EQ(freeName(QStringLiteral("a.b.txt"), {QStringLiteral("a.b.txt")}), QStringLiteral("a.b_1.txt"));
    EXPECT_EQ(freeName(QStringLiteral("carta.doc"), {QStringLiteral("CARTA.doc")}),
              QStringLiteral("carta.doc"));
}

TEST_F(Archive, TheWorkedExampleAndWithoutARootNothingIsMadeAndTheUserIsTold)
{
    EXPECT_EQ(documents::ImportarFicheiro(QString(), 123), QString())
        << "an empty path: nothing, not even a message";
    EXPECT_TRUE(windows->messageBoxes().empty());

    const QString carta = source(QStringLiteral("carta.doc"));
    const QString first = documents::ImportarFicheiro(carta, 4);
    EXPECT_EQ(first, root + QStringLiteral("/4/carta.doc"));
    const QString second = documents::ImportarFicheiro(carta, 4); // the folder is there already
    EXPECT_EQ(second, root + QStringLiteral("/4/carta_1.doc"));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(rows(4), 2);
    EXPECT_EQ(db.value("SELECT path FROM tbArquivo_Documental WHERE filename = 'carta_1.doc'"),
              root + QStringLiteral("/4/"));
    EXPECT_EQ(db.value("SELECT created_by FROM tbArquivo_Documental WHERE filename = 'carta_1.doc'"),
              QStringLiteral("sa"));
    // Names with apostrophes are data too.
    EXPECT_EQ(documents::ImportarFicheiro(source(QStringLiteral("d'Ávila.txt")), 4),
              root + QStringLiteral("/4/d'Ávila.txt"));
    EXPECT_EQ(rows(4), 3);
    EXPECT_TRUE(windows->messageBoxes().empty());
    EXPECT_TRUE(reporter.reports().empty());

    // Without a root nothing is made and the user is told.
    modRegistry::GravarShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                              QStringLiteral("ArquivoDocumental"), QString());
    Conn().strDataServer = QStringLiteral("OutroProduto"); // a product without the setting
    windows->queueAnswer(AnswerOK);
    EXPECT_EQ(documents::ImportarFicheiro(source(QStringLiteral("carta.doc")), 4), QString());
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_EQ(
        windows->messageBoxes()[0].text,
        QStringLiteral(
            "Não pode anexar o ficheiro porque não foi possível determinar o directório de armazenamento."));
    EXPECT_EQ(windows->messageBoxes()[0].title, QStringLiteral("Arquivo Documental"));
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("4")});
    EXPECT_EQ(QDir(root + QStringLiteral("/4")).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(rows(4), 3);

    // A root named but not there (a share not mounted) is not made locally.
    Conn().strDataServer = QStringLiteral("Quarvenses");
    const QString unmounted = files.filePath(QStringLiteral("partilha/arquivo"));
    modRegistry::GravarShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                              QStringLiteral("ArquivoDocumental"), unmounted);
    windows->queueAnswer(AnswerOK);
    EXPECT_EQ(documents::ImportarFicheiro(source(QStringLiteral("carta.doc")), 4), QString());
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(
        windows->messageBoxes()[1].text,
        QStringLiteral("Ocorreu um erro na abertura da pasta de armazenamento.\n\r\n\rA pasta do arquivo "
                       "documental «") +
            unmounted + QStringLiteral("» não existe ou não está acessível."));
    EXPECT_EQ(windows->messageBoxes()[1].title, QStringLiteral("Importar Ficheiro"));
    EXPECT_FALSE(QFileInfo::exists(files.filePath(QStringLiteral("partilha"))));
    EXPECT_EQ(rows(4), 3);
}

TEST_F(Archive, AFileNeverStaysWithoutItsRowNorARowWithoutItsFileAndTheTabRemovesAndAttaches)
{
    const QString carta = source(QStringLiteral("carta.doc"));
    int points = 0;
    for (auto kind : {EmbeddedServer::FaultKind::Fail, EmbeddedServer::FaultKind::Kill}) {
        for (int k = 1;; ++k) {
            EmbeddedServer::armFault(k, kind);
            const QString archived = documents::ImportarFicheiro(carta, 5);
            const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
            EmbeddedServer::disarmFault();
            const QStringList onDisk = QDir(root + QStringLiteral("/5")).entryList(QDir::Files);
            modSQLConnection::CheckSQLConnection();
            EXPECT_EQ(onDisk.size(), rows(5)) << "fault at " << k;
            EXPECT_TRUE(testsupport::catalogWritableNow(db.folder(), QStringLiteral("Quarvenses")));
            if (!faulted) {
                EXPECT_FALSE(archived.isEmpty());
                break;
            }
            ++points;
            EXPECT_TRUE(archived.isEmpty() || QFile::exists(archived));
        }
    }
    EXPECT_GT(points, 0);
    windows->discardQueued();
    reporter.clear();

    // The tab removes what it filed: the row goes, the file moves aside.
    ucIDArqDoc tab;
    tab.setConnection(Data().SqlServer);
    qint32 id = 5;
    tab.LoadContact(id);
    const int before = tab.documentCount();
    ASSERT_GT(before, 0);
    const QString path = tab.documentPath(0);
    windows->queueAnswer(AnswerNo);
    EXPECT_FALSE(tab.removeDocument(0));
    EXPECT_TRUE(QFile::exists(path));
    windows->queueAnswer(AnswerYes);
    EXPECT_TRUE(tab.removeDocument(0));
    EXPECT_EQ(tab.documentCount(), before - 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(
        QFile::exists(QFileInfo(path).path() + QStringLiteral("/removidos/") + QFileInfo(path).fileName()));

    // It attaches chosen files, and needs the change right.
    windows->queueOpenFileNames({source(QStringLiteral("a.pdf")), source(QStringLiteral("b.odt"))});
    EXPECT_EQ(tab.attachChosen(), 2);
    EXPECT_EQ(tab.documentCount(), before + 1);
    EXPECT_EQ(windows->openDialogs().back().title, QStringLiteral("Anexar ficheiro ao arquivo documental"));
    windows->queueOpenFileNames({}); // cancelled
    EXPECT_EQ(tab.attachChosen(), 0);
    tab.MayWrite = [] { return false; }; // the card refuses: no change right
    EXPECT_EQ(tab.attachFiles({source(QStringLiteral("c.pdf"))}), 0);
    EXPECT_EQ(rows(5), before + 1);
}
