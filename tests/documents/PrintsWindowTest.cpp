// The prints window with a generator of our own in place of the family's:
// which buttons act for which option, what each position does with the
// document, the receipts mail, and StringRTF.
#include "connection/ConnectionState.h"
#include "documents/frmImpressoes.h"
#include "platform/ado/Recordset.h"
#include "platform/objects/AdminFiscrGeneral.h"
#include "platform/objects/ComponentRegistry.h"
#include "platform/windows/MessageStyle.h"
#include "settings/modRegistry.h"
#include "tests/support/ComponentWorld.h"
#include "tests/support/EnvGuard.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform::msgbox;

namespace {

const QString generatorId = QString::fromLatin1(contracts::AdminFiscrGeneral::ProgId);
const QString productKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses");
const QString NL = QStringLiteral("\n\r");

// What the window asked of the generator, and the letter it hands back.
struct GeneratorLog {
    QStringList calls;
    QStringList connectedAs; // the seven texts and the flags
    QString document;        // returned by Mailing_Personalizado
};

class FakeGenerator : public contracts::AdminFiscrGeneral {
  public:
    explicit FakeGenerator(GeneratorLog& log) : log_(log) {}
    bool SQLConnect(QString& user, QString& password, QString& cnUser, QString& cnPassword, QString& catalog,
                    QString& source, QString& secondary, qint16 flags) override
    {
        log_.connectedAs = {user,    password, cnUser,    cnPassword,
                            catalog, source,   secondary, QString::number(flags)};
        log_.calls << QStringLiteral("SQLConnect");
        return true;
    }
    QString Mailing_Personalizado(qint32& id, const QString& view) override
    {
        log_.calls << QStringLiteral("Mailing_Personalizado ") + QString::number(id) + u' ' + view;
        if (!log_.document.isEmpty()) { // a new letter each time, as the generator makes it
            QFile letter(log_.document);
            letter.open(QIODevice::WriteOnly);
            letter.write("%PDF-1.4 carta");
        }
        return log_.document;
    }
    QString Email_Personalizado(qint32& id, const QString& view) override
    {
        log_.calls << QStringLiteral("Email_Personalizado ") + QString::number(id) + u' ' + view;
        return {};
    }

  private:
    GeneratorLog& log_;
};

class PrintsWindow : public ::testing::Test, public testsupport::ComponentWorld {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(modRegistry::GarantirShadow());
        Conn().strDataServer = QStringLiteral("Quarvenses");
        modRegistry::GravarShadow(productKey, QStringLiteral("ArquivoDocumental"),
                                  files.filePath(QStringLiteral("arquivo")));
        QDir().mkpath(files.filePath(QStringLiteral("arquivo")));
        log.document = files.filePath(QStringLiteral("Mailing 7.pdf"));
        platform::ComponentRegistry::instance().registerFactory(
            generatorId, [this] { return std::make_shared<FakeGenerator>(log); });
        fresh();
    }
    void TearDown() override
    {
        delete window.data();
        platform::ComponentRegistry::instance().unregister(generatorId);
    }
    // A new window for contact 7, the previous one gone (each action closes it).
    void fresh()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete window.data();
        window = new frmImpressoes;
        window->ContactId = 7;
        window->show();
    }
    void click(int position) { window->Toolbar2_ButtonClick(window->button(position)); }
    void clickInFresh(int position)
    {
        fresh();
        click(position);
    }
    // Where the window keeps the letter it was handed, under its plain name.
    QString letter() const { return files.filePath(QStringLiteral("quarvenses-cartas/Mailing 7.pdf")); }
    QStringList verbsAndFiles() const
    {
        QStringList out;
        for (const auto& call : windows->shellCalls())
            out << call.verb + u' ' + call.file;
        return out;
    }

    QTemporaryDir files;
    testsupport::EnvGuard temp{"QUARVENSES_TEMP", files.path().toUtf8()};
    GeneratorLog log;
    QPointer<frmImpressoes> window;
};

} // namespace

TEST_F(PrintsWindow, TheOptionDecidesWhichButtonsActCancelAndEscapeOnlyCloseAndTheReceiptsMailIsWhole)
{
    for (int p = 1; p <= 6; ++p)
        EXPECT_TRUE(window->button(p)->isEnabled()) << p;
    window->Option4->setChecked(true);
    for (int p = 1; p <= 6; ++p)
        EXPECT_EQ(window->button(p)->isEnabled(), p == 4) << p;
    EXPECT_TRUE(window->cancelButton()->isEnabled());

    click(4); // the e-mail, not the mailing
    EXPECT_EQ(log.calls,
              (QStringList{QStringLiteral("SQLConnect"),
                           QStringLiteral("Email_Personalizado 7 vwContactos_Quarvenses_Completos")}));
    const ConnectionState& c = Conn();
    EXPECT_EQ(log.connectedAs,
              (QStringList{c.strUser, c.strPassword, c.strCnUser, c.strCnPassword, c.strInitialCatalog,
                           c.strDataSource, c.strDataSourceSecondary, QStringLiteral("0")}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window closes after its action";
    EXPECT_TRUE(windows->shellCalls().empty());
    EXPECT_TRUE(windows->mails().empty());

    // Cancel and Escape close without producing, and a disabled frame stops the buttons.
    log.calls.clear();
    fresh();
    window->Frame_Contacto->setEnabled(false);
    click(3);
    EXPECT_TRUE(log.calls.isEmpty());
    EXPECT_TRUE(window->isVisible()) << "a click while the frame is unavailable does nothing";
    window->Frame_Contacto->setEnabled(true);

    window->Toolbar2_ButtonClick(window->cancelButton());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(log.calls.isEmpty());

    auto* other = new frmImpressoes;
    other->show();
    QPointer<frmImpressoes> watched(other);
    QTest::keyClick(other, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());

    // The receipts mail carries the letter, the signer and the web address.
    Data().SqlServer.Execute(QStringLiteral("UPDATE tbUsers SET contacto_id = 1 WHERE descrit = 'sa'"));
    modRegistry::GravarShadow(productKey, QStringLiteral("EnderecoWeb"), QStringLiteral("www.exemplo.pt"));
    clickInFresh(4);
    ASSERT_EQ(windows->mails().size(), 1u);
    const platform::MailMessage& mail = windows->mails()[0];
    EXPECT_EQ(mail.attachments, QStringList{letter()});
    EXPECT_EQ(mail.subject, QStringLiteral("Informação sobre Recibos"));
    EXPECT_EQ(mail.recipient, QStringLiteral("escola.profissional.do.minho@exemplo.pt"));
    const QString hyphens(36, u'-');
    EXPECT_EQ(mail.body,
              QStringLiteral(" ") + NL + NL + QStringLiteral("Exmos Senhores,") + NL + NL +
                  QStringLiteral(
                      "Junto envio um ficheiro em anexo com a informação sobre os recibos pretendidos.") +
                  NL + NL + QStringLiteral("Com os nossos melhores cumprimentos.") + NL + NL +
                  QStringLiteral("Quarvenses Demonstração") + NL + NL + NL + NL + hyphens + NL +
                  QStringLiteral(" MENSAGEM PROCESSADA POR COMPUTADOR ") + NL +
                  QStringLiteral("           www.exemplo.pt           ") + NL + hyphens + NL);

    // A signer without a contact and a contact without an address: empty texts.
    Data().SqlServer.Execute(QStringLiteral("UPDATE tbUsers SET contacto_id = NULL WHERE descrit = 'sa'"));
    Data().SqlServer.Execute(QStringLiteral("DELETE FROM tbContactos_Emails WHERE contacto_id = 7"));
    clickInFresh(4);
    ASSERT_EQ(windows->mails().size(), 2u);
    EXPECT_TRUE(windows->mails()[1].recipient.isEmpty());
    EXPECT_TRUE(windows->mails()[1].body.contains(NL + NL + NL + NL + NL + NL + hyphens));
    EXPECT_TRUE(reporter.reports().empty());
}

TEST_F(PrintsWindow, PrintOpenAndProduceHandTheGeneratorsDocumentToTheDesktopOrEndQuietly)
{
    windows->queuePrint(platform::PrintOutcome::Queued);
    click(1);
    clickInFresh(2);
    clickInFresh(3); // produced, nothing else
    ASSERT_EQ(windows->printCalls().size(), 1u);
    EXPECT_EQ(windows->printCalls()[0].title, QStringLiteral("Imprimir carta"));
    EXPECT_EQ(windows->printCalls()[0].pdf, letter());
    EXPECT_EQ(verbsAndFiles(), (QStringList{QStringLiteral("open ") + letter()}));
    EXPECT_EQ(windows->shellCalls()[0].workingFolder, files.path() + u'/');
    EXPECT_EQ(log.calls.count(QStringLiteral("Mailing_Personalizado 7 vwContactos_Quarvenses_Completos")), 3);
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files), QStringList())
        << "three letters leave one copy, in the window's own folder";
    EXPECT_TRUE(QFile::exists(letter()));

    // No printer, or a job the printer refused: said, and nothing else happens.
    windows->queuePrint(platform::PrintOutcome::NoPrinter);
    windows->queuePrint(platform::PrintOutcome::Failed,
                        QStringLiteral("a impressora «sala» recusou o trabalho."));
    windows->queueAnswers({AnswerOK, AnswerOK});
    for (int i = 0; i < 2; ++i)
        clickInFresh(1);
    EXPECT_EQ(
        windows.texts(),
        (QStringList{QStringLiteral("Não há nenhuma impressora instalada neste computador.\n\nInstale uma "
                                    "impressora nas definições do sistema e tente de novo."),
                     QStringLiteral("A impressão não foi feita: a impressora «sala» recusou o trabalho.")}));
    EXPECT_EQ(windows->messageBoxes().back().title, QStringLiteral("Imprimir carta"));

    // No document made, or no generator at all: the action ends quietly.
    log.document.clear();
    clickInFresh(2);
    platform::ComponentRegistry::instance().registerFactory(generatorId, [] { return vb::ObjectRef(); });
    clickInFresh(1);
    fresh();
    window->Option4->setChecked(true);
    click(4);
    EXPECT_EQ(windows->shellCalls().size(), 1u);
    EXPECT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_TRUE(windows->mails().empty());
    EXPECT_TRUE(reporter.reports().empty());
}

// A letter to a contact without an address is made only when the user says so.
TEST_F(PrintsWindow, ALetterWithoutAnAddressIsMadeOnlyWhenTheUserSaysSo)
{
    Data().SqlServer.Execute(QStringLiteral("DELETE FROM tbContactos_Moradas WHERE contacto_id = 7"));
    windows->queueAnswers({AnswerNo, AnswerYes});
    click(2);
    EXPECT_TRUE(log.calls.filter(QStringLiteral("Mailing_Personalizado")).isEmpty());
    clickInFresh(2);
    EXPECT_EQ(log.calls.filter(QStringLiteral("Mailing_Personalizado")).size(), 1);
    const QString noAddress = QStringLiteral("Este contacto não tem morada: a carta sai sem o endereço do "
                                             "destinatário.\n\nDeseja fazê-la assim mesmo?");
    EXPECT_EQ(windows.texts(), (QStringList{noAddress, noAddress}));
    EXPECT_EQ(verbsAndFiles(), QStringList{QStringLiteral("open ") + letter()});
}

TEST_F(PrintsWindow, SaveAsAsksFirstAndKeepsACopyUnderTheChosenName)
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    windows->queueSaveFileName(QString()); // cancelled
    click(5);
    EXPECT_TRUE(verbsAndFiles().isEmpty()) << "a cancelled dialog saves and opens nothing";
    ASSERT_EQ(windows->saveDialogs().size(), 1u);
    const platform::SaveFileRequest& asked = windows->saveDialogs()[0];
    EXPECT_EQ((QStringList{asked.title, asked.initialFolder, asked.proposedName}),
              (QStringList{QStringLiteral("Guardar a carta como"), desktop, QStringLiteral("Mailing 7.pdf")}))
        << "the letter's own name and kind are proposed";
    EXPECT_FALSE(asked.confirmOverwrite) << "the window asks itself, under the final name";
    ASSERT_EQ(asked.filters.size(), 2u);
    EXPECT_EQ(asked.filters[0].description + u' ' + asked.filters[0].pattern,
              QStringLiteral("Documento PDF *.pdf"));

    // The copy keeps the letter's own kind, whatever the name typed.
    const struct {
        const char* chosen;
        const char* copy;
    } cases[] = {{"carta", "carta.pdf"}, {"CARTA.DOC", "CARTA.pdf"}, {"nota.PDF", "nota.PDF"}};
    for (const auto& c : cases) {
        fresh();
        windows->queueSaveFileName(files.filePath(QString::fromLatin1(c.chosen)));
        click(5);
        const QString copy = files.filePath(QString::fromLatin1(c.copy));
        EXPECT_TRUE(QFile::exists(copy)) << c.chosen;
        EXPECT_EQ(verbsAndFiles().last(), QStringLiteral("open ") + copy);
    }
    EXPECT_TRUE(QFile::exists(letter())) << "the letter stays where the window keeps it";

    // A file of that name is replaced only when the user says so, and the
    // file the user named is never touched for another.
    QFile other(files.filePath(QStringLiteral("outra.pdf")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("não é a carta");
    other.close();
    for (const qint32 answer : {AnswerNo, AnswerYes}) {
        fresh();
        windows->clear();
        windows->queueSaveFileName(files.filePath(QStringLiteral("outra.doc")));
        windows->queueAnswer(answer);
        click(5);
        ASSERT_EQ(windows.texts(),
                  QStringList{QStringLiteral("O ficheiro «outra.pdf» já existe. Deseja substituí-lo?")});
        QFile kept(files.filePath(QStringLiteral("outra.pdf")));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray(answer == AnswerNo ? "não é a carta" : "%PDF-1.4 carta"))
            << "the letter, as the generator made it, or the file as it was";
        EXPECT_FALSE(QFile::exists(files.filePath(QStringLiteral("outra.doc"))));
    }
}

TEST_F(PrintsWindow, FilingStoresUnderTheNextFreeNameAndOpensThatCopy)
{
    windows->queueAnswer(AnswerOK);
    click(6);
    windows->queueAnswer(AnswerOK);
    clickInFresh(6);
    const QString folder = files.filePath(QStringLiteral("arquivo/7/"));
    EXPECT_EQ(verbsAndFiles(),
              (QStringList{QStringLiteral("open ") + folder + QStringLiteral("Mailing 7.pdf"),
                           QStringLiteral("open ") + folder + QStringLiteral("Mailing 7_1.pdf")}));
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbArquivo_Documental WHERE contacto_id = 7"), 2);
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(windows->messageBoxes()[1].text,
              QStringLiteral("O documento foi guardado com sucesso no arquivo documental.") + NL + NL +
                  QStringLiteral("Para ver os documentos anexados deste contacto abra o separador 'Arquivo "
                                 "Documental'."));
    EXPECT_EQ(windows->messageBoxes()[1].title, QStringLiteral("Arquivo Documental"));
    EXPECT_EQ(windows->messageBoxes()[1].style & 0xF0, Information);

    // No archive root: the filing message, then the window's own.
    modRegistry::GravarShadow(productKey, QStringLiteral("ArquivoDocumental"), QString());
    Conn().strDataServer = QStringLiteral("SemArquivo");
    windows->queueAnswer(AnswerOK);
    windows->queueAnswer(AnswerOK);
    clickInFresh(6);
    ASSERT_EQ(windows->messageBoxes().size(), 4u);
    EXPECT_EQ(windows->messageBoxes()[3].text,
              QStringLiteral("Não foi possível guardar o ficheiro no arquivo documental do contacto."));
    EXPECT_EQ(windows->messageBoxes()[3].style & 0xF0, Critical);
    EXPECT_EQ(windows->shellCalls().size(), 2u);
}

TEST(PrintsWindowText, StringRtfKeepsTheBodyBetweenHeaderAndTrailer)
{
    frmImpressoes window;
    EXPECT_EQ(window.StringRTF(QStringLiteral("Olá {mundo}\\")), QStringLiteral("Ol\\u225? \\{mundo\\}\\\\"));
    EXPECT_EQ(window.StringRTF(QStringLiteral("a\nb")), QStringLiteral("a\\par\r\nb"));
    EXPECT_EQ(window.StringRTF(QString()), QString());
}
