#include "connection/ConnectionState.h"
#include "platform/objects/AdminFiscrGeneral.h"
#include "platform/objects/CreateObject.h"
#include "tests/components/PluginFixture.h"
#include "tests/support/EnvGuard.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using contracts::AdminFiscrGeneral;

const QString view = QStringLiteral("vwContactos_Quarvenses_Completos");
const QString generatorKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Admin_Fiscr");

// What poppler's tools print for a file; empty when the tool failed.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The letter's text as a reader would search it: the typesetter's "fi" and
// "fl" ligatures are read as their two letters.
QString pdfText(const QString& path)
{
    QString text = run(QStringLiteral("pdftotext"),
                       {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    return text.replace(QChar(0xFB01), QStringLiteral("fi")).replace(QChar(0xFB02), QStringLiteral("fl"));
}

// "7 de Dezembro de 2026" for today, from the locale's own month names.
QString todayInWords()
{
    const QDate today = QDate::currentDate();
    QString month = QLocale(QLocale::Portuguese, QLocale::Portugal).monthName(today.month());
    month[0] = month[0].toUpper();
    return QStringLiteral("%1 de %2 de %3").arg(today.day()).arg(month).arg(today.year());
}

class Generator : public plugintest::PluginFixture {
  protected:
    void SetUp() override
    {
        PluginFixture::SetUp();
        ASSERT_TRUE(out.isValid());
        generator = vb::CreateObjectAs<AdminFiscrGeneral>(QString::fromLatin1(AdminFiscrGeneral::ProgId));
        ASSERT_TRUE(connect(*generator, valuesFor(QStringLiteral("ana"))));
    }

    QString mailing(qint32 id, const QString& viewName = view)
    {
        return generator->Mailing_Personalizado(id, viewName);
    }
    QString email(qint32 id) { return generator->Email_Personalizado(id, view); }
    QString letterText(qint32 id)
    {
        const QString path = mailing(id);
        EXPECT_FALSE(path.isEmpty()) << "no letter for " << id;
        return path.isEmpty() ? QString() : pdfText(path);
    }
    static void execute(const QString& statement) { Data().SqlServer.Execute(statement); }

    QTemporaryDir out;
    testsupport::EnvGuard temp{"QUARVENSES_TEMP", out.path().toUtf8()};
    std::shared_ptr<AdminFiscrGeneral> generator;
};

} // namespace

// A letter to an institution is an A4 PDF with embedded fonts and the
// collective greeting; a person is greeted by title and surname in the right
// gender.
TEST_F(Generator, ALetterOrAnEmailCarriesTheRightGreeting)
{
    const QString path = mailing(4);
    EXPECT_EQ(path, out.filePath(QStringLiteral("Carta - Clínica Médica da Foz.pdf")));
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Clínica Médica da Foz\nRua Direita, 14\n3810-064 Aveiro\n")))
        << "the address block, line by line:\n"
        << text.toStdString();
    const QString flowing = text.simplified(); // where lines break is the layout's business
    for (const QString& expected :
         {QStringLiteral("Quarvenses Demonstração, Lda."), QStringLiteral("Avenida da Liberdade, 11"),
          QStringLiteral("Lisboa, ") + todayInWords(),
          QStringLiteral("Assunto: Actualização dos dados de contacto"), QStringLiteral("Exmos. Senhores,"),
          QStringLiteral("pedir a V. Ex.as que confirmem"), QStringLiteral("que lhes dirigimos"),
          QStringLiteral("agradecemos que nos informem,"), QStringLiteral("504938266"),
          QStringLiteral("clinica.medica.da.foz@exemplo.pt"), QStringLiteral("Com os melhores cumprimentos,"),
          QStringLiteral("Ana Ferreira")})
        EXPECT_TRUE(flowing.contains(expected)) << expected.toStdString() << "\n---\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("\nPortugal\n"))) << "no country line inside the country";
    EXPECT_FALSE(text.contains(QStringLiteral("{{")));

    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {path}).contains(QStringLiteral("(A4)")));
    const QStringList fonts = run(QStringLiteral("pdffonts"), {path}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts) {
        // name, type (of one or two words), encoding, then: emb sub uni object ID
        const QStringList columns = font.split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(columns.value(columns.size() - 5), QStringLiteral("yes")) << font.toStdString();
    }

    execute(QStringLiteral("UPDATE tbContactos_Singulares SET sexo = NULL WHERE contacto_id = 17"));
    const std::pair<qint32, const char*> cases[] = {
        {16, "Exma. Senhora Dra. Santos,"},     // a woman with a title
        {14, "Exmo. Senhor Martins,"},          // "Sr." adds nothing to "Senhor"
        {13, "Exma. Senhora Silva,"},           // no title
        {17, "Exmo.(a) Senhor(a) Dr. Jesus,"}}; // the sex not known
    for (const auto& [id, greeting] : cases) {
        const QString text = letterText(id);
        EXPECT_TRUE(text.contains(QString::fromUtf8(greeting))) << id << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("Exmos. Senhores"))) << id;
        EXPECT_TRUE(text.simplified().contains(QStringLiteral("que confirme os dados"))) << id;
    }

    // An e-mail goes to the default address with the greeting, or the user is
    // told why not.
    execute(QStringLiteral("UPDATE tbContactos_Emails SET email_default = 0 WHERE contacto_id = 16"));
    execute(QStringLiteral("INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
                           "VALUES (16, 'ana.santos@escritorio.pt', 'Escritório', 1)"));
    EXPECT_EQ(email(16), QStringLiteral("ana.santos@escritorio.pt"));
    ASSERT_EQ(windows->mails().size(), 1u);
    const platform::MailMessage& mail = windows->mails()[0];
    EXPECT_EQ(mail.recipient, QStringLiteral("ana.santos@escritorio.pt"));
    EXPECT_EQ(mail.subject, QStringLiteral("Actualização dos dados de contacto"));
    EXPECT_TRUE(mail.body.contains(QStringLiteral("pedir a V. Ex.ª que confirme")));
    EXPECT_TRUE(mail.body.startsWith(QStringLiteral("Exma. Senhora Dra. Santos,\n")))
        << mail.body.toStdString();
    EXPECT_TRUE(mail.body.contains(QStringLiteral("Morada: Rua de Santa Catarina, 26, 4000-322 Porto\n")));
    EXPECT_TRUE(mail.body.contains(
        QStringLiteral("Com os melhores cumprimentos,\n\nAna Ferreira\nQuarvenses Demonstração, Lda.")));
    EXPECT_TRUE(mail.attachments.isEmpty());

    EXPECT_EQ(email(4), QStringLiteral("clinica.medica.da.foz@exemplo.pt"));
    ASSERT_EQ(windows->mails().size(), 2u);
    EXPECT_TRUE(windows->mails()[1].body.startsWith(QStringLiteral("Exmos. Senhores,\n")));
    EXPECT_TRUE(windows->mails()[1].body.contains(QStringLiteral("que confirmem os dados")));

    // Without an address or a mail client no mail goes, and the user is told.
    windows->clear();
    execute(QStringLiteral("DELETE FROM tbContactos_Emails WHERE contacto_id = 16"));
    windows->queueAnswer(platform::msgbox::AnswerOK);
    EXPECT_TRUE(email(16).isEmpty());
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_TRUE(windows->messageBoxes()[0].text.contains(
        QStringLiteral("Ana Santos não tem endereço de correio electrónico")));

    windows->mailClientConfigured = false;
    windows->queueAnswer(platform::msgbox::AnswerOK);
    EXPECT_TRUE(email(4).isEmpty());
    EXPECT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_TRUE(windows->mails().empty());
}

TEST_F(Generator, NamesAreEscapedAndTheSitesTemplateCompanyAndFormatSettingsAreUsed)
{
    execute(QStringLiteral("UPDATE tbContactos SET nome_union = 'Sá/Irmãos & <b>Filhos</b>' + CHAR(9) + "
                           "'..' WHERE contacto_id = 4"));
    const QString first = mailing(4);
    const QString second = mailing(4);
    EXPECT_EQ(first, out.filePath(QStringLiteral("Carta - Sá-Irmãos & <b>Filhos<-b>...pdf")));
    EXPECT_EQ(second, out.filePath(QStringLiteral("Carta - Sá-Irmãos & <b>Filhos<-b>.. (2).pdf")));
    EXPECT_TRUE(pdfText(first).contains(QStringLiteral("Sá/Irmãos & <b>Filhos</b>")))
        << pdfText(first).toStdString();

    // Nothing left of the name: the contact's number names the file.
    execute(QStringLiteral("UPDATE tbContactos SET nome_union = '..' + CHAR(1) WHERE contacto_id = 4"));
    EXPECT_EQ(mailing(4), out.filePath(QStringLiteral("Carta - contacto 4.pdf")));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 3);

    // The site's template, company and format settings are used.
    QFile site(modRegistry::PastaShadow() + QStringLiteral("/carta_personalizada.html"));
    ASSERT_TRUE(site.open(QIODevice::WriteOnly));
    site.write("<html><body><p>Modelo do s\xc3\xadtio: {{nome}} | {{ saudacao }} | {{data}} | "
               "{{desconhecido}} | {{empresa}}</p>"
               "</body></html>");
    site.close();
    ASSERT_TRUE(modRegistry::GravarShadow(generatorKey, QStringLiteral("EmpresaLocalidade"),
                                          QStringLiteral("Porto")));
    // Settings' names in tbConfig compare without regard to case, as the server compares them.
    execute(QStringLiteral("UPDATE tbConfig SET variavel = 'EMPRESA' WHERE variavel = 'Empresa'"));

    const QString text = letterText(16).simplified(); // the line breaks are the layout's
    EXPECT_TRUE(
        text.contains(QStringLiteral("Modelo do sítio: Ana Santos | Exma. Senhora Dra. Santos, | Porto, ") +
                      todayInWords() + QStringLiteral(" | {{desconhecido}} | Quarvenses Demonstração, Lda.")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Com os melhores cumprimentos")));

    // The ODF setting writes an ODF text document instead of a PDF.
    ASSERT_TRUE(
        modRegistry::GravarShadow(generatorKey, QStringLiteral("FormatoCartas"), QStringLiteral("ODT")));
    const QString path = mailing(16);
    ASSERT_TRUE(path.endsWith(QStringLiteral("/Carta - Ana Santos.odt"))) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(200);
    EXPECT_TRUE(head.startsWith("PK"));
    EXPECT_TRUE(head.contains("application/vnd.oasis.opendocument.text"));
}

// Failures answer empty text, are reported and leave no document behind;
// SQLConnect opens a connection of the generator's own and refuses wrong
// credentials (which are no error to report).
TEST_F(Generator, FailuresAnswerEmptyTextAndSQLConnectIsItsOwn)
{
    EXPECT_TRUE(mailing(16, QStringLiteral("tbContactos; DELETE FROM tbContactos")).isEmpty());
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE contacto_id = 16")), 1);
    EXPECT_TRUE(mailing(999).isEmpty());
    EXPECT_TRUE(mailing(16, QStringLiteral("vwQueNaoExiste")).isEmpty());
    {
        testsupport::EnvGuard gone("QUARVENSES_TEMP", out.filePath(QStringLiteral("nao-existe")).toUtf8());
        EXPECT_TRUE(mailing(16).isEmpty());
    }
    const QString site = modRegistry::PastaShadow() + QStringLiteral("/carta_personalizada.html");
    ASSERT_TRUE(QDir().mkpath(site));
    EXPECT_TRUE(mailing(16).isEmpty()) << "a site template that cannot be read is not replaced silently";
    ASSERT_TRUE(QDir().rmdir(site));
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty()) << "no document was left behind";

    ResetConnectionStateForTests();
    auto other = vb::CreateObjectAs<AdminFiscrGeneral>(QString::fromLatin1(AdminFiscrGeneral::ProgId));
    EXPECT_FALSE(connect(*other, valuesFor(QStringLiteral("ana"), QStringLiteral("errada"))));
    qint32 id = 16;
    EXPECT_TRUE(other->Mailing_Personalizado(id, view).isEmpty());
    ASSERT_TRUE(connect(*other, valuesFor(QStringLiteral("ana"))));
    EXPECT_FALSE(other->Mailing_Personalizado(id, view).isEmpty());
    EXPECT_FALSE(Conn().bSQLConnected);
    EXPECT_NE(Data().SqlServer.State(), ado::adStateOpen);

    const auto& reports = reporter.reports();
    ASSERT_EQ(reports.size(), 6u) << "five failures and the letter asked for while not connected";
    for (const QStringList& r : reports) {
        EXPECT_EQ(r.value(0), QStringLiteral("Admin_Fiscr"));
        EXPECT_EQ(r.value(3), QStringLiteral("Mailing_Personalizado"));
    }
    EXPECT_TRUE(reports[1].value(4).contains(QStringLiteral("999")));
    reporter.clear();
}
