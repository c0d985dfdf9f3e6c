// The contacts file and an address book on a real Radicale, both ways: the
// first sync sends every contact the user may open, a second one finds
// nothing to do, and each change on either side (a change, a new card, a
// deletion) reaches the other; a change on both sides keeps the catalog's
// and files the server's in the contact's archive.
#include "documents/carddav/CardDavSync.h"
#include "connection/ConnectionState.h"
#include "documents/carddav/AddressBook.h"
#include "settings/modRegistry.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/FaultyProxy.h"
#include "tests/support/Radicale.h"
#include "tests/support/ScopedSettings.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString davUser = QStringLiteral("ana");
const QString davPassword = QStringLiteral("senha-ana");
const QString file = QStringLiteral("Contactos Quarvenses");
const QString nothingToDo = QStringLiteral("Enviados: 0, recebidos: 0, apagados no servidor: 0, retirados do "
                                           "ficheiro: 0, conflitos: 0, por fazer: 0.");

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class CardDavSync : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!server.running())
            GTEST_SKIP() << server.failure().toStdString();
        book = server.makeBook(davUser, davPassword, QStringLiteral("contactos"));
        ASSERT_TRUE(book.isValid());
        ASSERT_TRUE(modRegistry::GarantirShadow());
        Conn().strDataServer = QStringLiteral("Quarvenses");
        modRegistry::GravarShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                                  QStringLiteral("ArquivoDocumental"), archive.path());
    }

    carddav::SyncSummary sync(const QUrl& url = {})
    {
        carddav::DavClient client({davUser, davPassword});
        carddav::CatalogWins catalogWins;
        return carddav::synchronise(client, {url.isEmpty() ? book : url, file, QStringLiteral("sa")},
                                    catalogWins);
    }

    // The server's side, as another client sees it.
    carddav::DavResponse send(const QByteArray& verb, const QString& name, const QByteArray& body = {},
                              const carddav::Headers& headers = {})
    {
        carddav::DavClient client({davUser, davPassword});
        return client.send(verb, book.resolved(QUrl(name)), body, headers);
    }
    // Another client adds `line` to the card that names `name`.
    int changeOnServer(const QString& name, const QByteArray& line)
    {
        const carddav::DavResponse card = send("GET", cardNamed(name));
        QByteArray changed = card.body;
        changed.replace("END:VCARD", line + "\r\nEND:VCARD");
        return send("PUT", cardNamed(name), changed, {{"If-Match", card.etag}}).status;
    }
    // `update` ("table SET ...") made to contact `id` in the catalog, as the sync sees it by its date.
    void changeInCatalog(int id, const QString& update)
    {
        db.value(QStringLiteral("UPDATE %2 WHERE contacto_id = %1; UPDATE tbContactos SET modified_date = "
                                "GETDATE() WHERE contacto_id = %1")
                     .arg(id)
                     .arg(update));
    }
    QString nameOf(int id) const
    {
        return db.value(QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = %1"), id);
    }
    QString cardNamed(const QString& text) const
    {
        const auto cards = server.storedCards(davUser, QStringLiteral("contactos"));
        for (auto it = cards.cbegin(); it != cards.cend(); ++it)
            if (it.value().contains(text.toUtf8()))
                return it.key();
        return {};
    }
    int cardsOnServer() const { return int(server.storedCards(davUser, QStringLiteral("contactos")).size()); }
    int contactsInFile() const
    {
        return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Tipos_Links l INNER JOIN "
                                       "tbContactos_Tipos t ON t.contacto_tipo_id = l.contacto_tipo_id "
                                       "WHERE t.descrit = 'Contactos Quarvenses'"));
    }

    testsupport::ScopedSettings settings; // the archive root is this test's alone
    testsupport::DemoDatabase db;
    testsupport::Radicale server;
    QTemporaryDir archive;
    QUrl book;
};

} // namespace

// The first sync sends the file; then every kind of change on either side,
// reconciled by one sync: the phone changes a number, makes a card and
// deletes one (its contact leaves the file only); the catalog changes an
// e-mail and deletes a contact. After it, a sync finds nothing to do. Then a
// change on both sides keeps the catalog's and files the server's.
TEST_F(CardDavSync, TheFirstSyncSendsTheFileEachChangeReachesTheOtherSideAndAChangeOnBothIsFiled)
{
    const carddav::SyncSummary first = sync(server.base());
    ASSERT_TRUE(first.complete()) << first.failure.toStdString() << first.refused.join(u'\n').toStdString();
    EXPECT_EQ(first.book, book.toString()) << "found from the server's own address";
    EXPECT_EQ(first.sent, contactsInFile());
    EXPECT_EQ(cardsOnServer(), first.sent);
    ASSERT_EQ(changeOnServer(nameOf(40), "TEL;TYPE=cell:+351 912 345 678") / 100, 2);
    const QByteArray fresh =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:telemovel-1\r\nFN:Rita Fonseca\r\nN:Fonseca;Rita;;;\r\n"
        "TEL;TYPE=CELL:917 000 111\r\nEND:VCARD\r\n";
    ASSERT_EQ(send("PUT", QStringLiteral("telemovel-1.vcf"), fresh, {{"If-None-Match", "*"}}).status, 201);
    ASSERT_EQ(send("DELETE", cardNamed(nameOf(38))).status / 100, 2);
    changeInCatalog(41, QStringLiteral("tbContactos_Emails SET email = 'novo.endereco@exemplo.pt'"));
    const QString deleted = nameOf(39);
    db.value(QStringLiteral("EXECUTE spDELETE_CONTACTO 39,0"));
    const int inFile = contactsInFile();
    const int cards = cardsOnServer();

    const carddav::SyncSummary s = sync();
    EXPECT_EQ(s.totals(), QStringLiteral("Enviados: 1, recebidos: 2, apagados no servidor: 1, retirados do "
                                         "ficheiro: 1, conflitos: 0, por fazer: 0."))
        << s.lines.join(u'\n').toStdString() << s.refused.join(u'\n').toStdString();
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Telefones WHERE contacto_id = 40 AND "
                                      "numero = '+351 912 345 678'")),
              1);
    EXPECT_GT(
        db.count(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE nome_union = 'Rita Fonseca'")), 0);
    EXPECT_TRUE(send("GET", cardNamed(nameOf(41))).body.contains("novo.endereco@exemplo.pt"));
    EXPECT_EQ(contactsInFile(), inFile) << "one in, one out";
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE contacto_id = 38")), 1);
    EXPECT_EQ(cardsOnServer(), cards - 1);
    EXPECT_EQ(cardNamed(deleted), QString());
    const carddav::SyncSummary after = sync();
    EXPECT_EQ(after.totals(), nothingToDo) << "nothing goes back and forth";
    EXPECT_EQ(after.requests, 2) << "the book, and what changed in it";

    // A change on both sides keeps the catalog's and files the server's.
    const QString name = nameOf(40);
    ASSERT_EQ(changeOnServer(name, "NOTE:escrito no telemóvel") / 100, 2);
    changeInCatalog(40, QStringLiteral("tbContactos_Singulares SET profissao = 'Directora'"));

    const carddav::SyncSummary both = sync();
    EXPECT_EQ(both.conflicts, 1);
    EXPECT_TRUE(both.complete()) << both.refused.join(u'\n').toStdString();
    ASSERT_EQ(both.archived.size(), 1);
    const QStringList kept = QDir(archive.filePath(QStringLiteral("40"))).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(
        contentOf(archive.filePath(QStringLiteral("40/")) + kept.first()).contains("escrito no telem"))
        << "the server's version is kept";
    const QByteArray now = send("GET", cardNamed(name)).body;
    EXPECT_TRUE(now.contains("Directora"));
    EXPECT_FALSE(now.contains("escrito no telem"));
    EXPECT_EQ(
        db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Notas WHERE contacto_id = 40 AND nota "
                                "LIKE 'escrito%'")),
        0);
}

namespace {

// vdirsyncer, an independent client, keeping the book in a folder of cards.
class Vdirsyncer {
  public:
    explicit Vdirsyncer(const QUrl& book)
    {
        QDir().mkpath(cards());
        QFile config(dir.filePath(QStringLiteral("config")));
        config.open(QIODevice::WriteOnly);
        config.write(
            QStringLiteral("[general]\nstatus_path = \"%1/estado/\"\n\n[pair contactos]\na = \"servidor\"\n"
                           "b = \"pasta\"\ncollections = null\nconflict_resolution = \"a wins\"\n\n"
                           "[storage servidor]\ntype = \"carddav\"\nurl = \"%2\"\nusername = \"%3\"\n"
                           "password = \"%4\"\n\n[storage pasta]\ntype = \"filesystem\"\npath = \"%5\"\n"
                           "fileext = \".vcf\"\n")
                .arg(dir.path(), book.toString(), davUser, davPassword, cards())
                .toUtf8());
    }
    QString cards() const { return dir.filePath(QStringLiteral("cartoes")); }
    // True when vdirsyncer ran and said nothing went wrong.
    bool run(const QString& verb)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("vdirsyncer"),
                {QStringLiteral("-c"), dir.filePath(QStringLiteral("config")), verb});
        p.write("y\n");
        p.closeWriteChannel();
        const bool ran = p.waitForFinished(60000) && p.exitCode() == 0;
        output = QString::fromUtf8(p.readAll());
        return ran;
    }
    QString fileWith(const QString& text) const
    {
        for (const QString& name : QDir(cards()).entryList(QDir::Files))
            if (contentOf(QDir(cards()).filePath(name)).contains(text.toUtf8()))
                return QDir(cards()).filePath(name);
        return {};
    }
    QTemporaryDir dir;
    QString output;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

// Changes made by another client reach the catalog, exactly those.
TEST_F(CardDavSync, AnotherClientsChangesComeBackExactly)
{
    if (QStandardPaths::findExecutable(QStringLiteral("vdirsyncer")).isEmpty())
        GTEST_SKIP() << "vdirsyncer não está instalado";
    const carddav::SyncSummary first = sync();
    ASSERT_TRUE(first.complete());
    Vdirsyncer other(book);
    ASSERT_TRUE(other.run(QStringLiteral("discover"))) << other.output.toStdString();
    ASSERT_TRUE(other.run(QStringLiteral("sync"))) << other.output.toStdString();
    ASSERT_EQ(QDir(other.cards()).entryList(QDir::Files).size(), first.sent);

    const QString changedName = nameOf(39);
    const QString changed = other.fileWith(changedName);
    const QString deleted = other.fileWith(nameOf(38));
    ASSERT_FALSE(changed.isEmpty());
    ASSERT_FALSE(deleted.isEmpty());
    QByteArray card = contentOf(changed);
    card.replace("END:VCARD", "EMAIL;TYPE=work:do.telemovel@exemplo.pt\r\nEND:VCARD");
    writeFile(changed, card);
    ASSERT_TRUE(QFile::remove(deleted));
    writeFile(QDir(other.cards()).filePath(QStringLiteral("novo.vcf")),
              "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:6f1c1a52-0d55-4c1e-9d0b-0c7e3f7a0001\r\n"
              "FN:Tomás Valadares\r\nN:Valadares;Tomás;;;\r\nEMAIL:tomas@exemplo.pt\r\nEND:VCARD\r\n");
    ASSERT_TRUE(other.run(QStringLiteral("sync"))) << other.output.toStdString();

    const carddav::SyncSummary back = sync();
    EXPECT_TRUE(back.complete()) << back.refused.join(u'\n').toStdString() << back.failure.toStdString();
    QStringList lines = back.lines;
    lines.sort();
    const int tomas =
        db.count(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE nome_union = 'Tomás Valadares'"));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Criado no catálogo: Tomás Valadares (n.º ") +
                                      QString::number(tomas) + u')',
                                  QStringLiteral("Recebido: ") + changedName + QStringLiteral(" (n.º 39)"),
                                  QStringLiteral("Retirado do ficheiro: n.º 38")}));
    EXPECT_EQ(
        db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Emails WHERE contacto_id = 39 AND email = "
                                "'do.telemovel@exemplo.pt'")),
        1);

    // And the catalog's next change reaches the other client's folder.
    changeInCatalog(39, QStringLiteral("tbContactos_Singulares SET profissao = 'Arquitecta paisagista'"));
    EXPECT_EQ(sync().sent, 1);
    ASSERT_TRUE(other.run(QStringLiteral("sync"))) << other.output.toStdString();
    EXPECT_TRUE(contentOf(other.fileWith(changedName)).contains("Arquitecta paisagista"));
    EXPECT_EQ(sync().totals(), nothingToDo);
}

// The server lost at each request of a sync in turn, before it hears the
// request or after it carried it out: nothing is half done on either side,
// and the next sync brings both to the same contacts, none twice, none lost.
constexpr int maxRequestsOfASmallSync = 30;

TEST_F(CardDavSync, AServerLostAtAnyRequestLeavesNothingHalfDoneAndTheNextSyncConverges)
{
    testsupport::FaultyProxy proxy(server.port());
    QUrl viaProxy = book;
    viaProxy.setPort(proxy.port());
    ASSERT_TRUE(sync(viaProxy).complete());
    const QString phoneContact = nameOf(39);
    const QString officeContact = nameOf(40);
    int round = 0;
    for (const auto fault :
         {testsupport::FaultyProxy::Fault::BeforeServer, testsupport::FaultyProxy::Fault::AfterServer}) {
        for (int request = 1;; ++request) {
            // A sync of these few changes makes a handful of requests; one that
            // keeps failing at a later one is resending what it already sent.
            ASSERT_LE(request, maxRequestsOfASmallSync);
            const QString r = QString::number(++round);
            SCOPED_TRACE("round " + r.toStdString());
            // A change on each side, a new card and a card deleted on the server.
            ASSERT_EQ(changeOnServer(phoneContact, "EMAIL:r" + r.toUtf8() + "@exemplo.pt") / 100, 2);
            changeInCatalog(40,
                            QStringLiteral("tbContactos_Singulares SET profissao = 'Ofício ") + r + u'\'');
            ASSERT_EQ(send("PUT", QStringLiteral("ronda-") + r + QStringLiteral(".vcf"),
                           "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ronda-" + r.toUtf8() + "\r\nFN:Pessoa Ronda " +
                               r.toUtf8() + "\r\nN:Ronda " + r.toUtf8() + ";Pessoa;;;\r\nEND:VCARD\r\n",
                           {{"If-None-Match", "*"}})
                          .status,
                      201);
            if (round > 1) {
                ASSERT_EQ(send("DELETE", QStringLiteral("ronda-%1.vcf").arg(round - 1)).status / 100, 2);
            }

            proxy.failRequest(request, fault);
            const carddav::SyncSummary faulty = sync(viaProxy);
            const bool hit = proxy.failed();
            proxy.failRequest(0, fault);
            const carddav::SyncSummary again = sync(viaProxy);
            EXPECT_TRUE(again.complete())
                << again.failure.toStdString() << again.refused.join(u'\n').toStdString();
            EXPECT_EQ(sync(viaProxy).totals(), nothingToDo);
            EXPECT_EQ(cardsOnServer(), contactsInFile());
            EXPECT_EQ(
                db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Emails WHERE contacto_id = 39 AND "
                                        "email = 'r%1@exemplo.pt'")
                             .arg(r)),
                1);
            EXPECT_TRUE(send("GET", cardNamed(officeContact)).body.contains(("Ofício " + r).toUtf8()));
            EXPECT_EQ(db.count(QStringLiteral(
                                   "SELECT COUNT(*) FROM tbContactos WHERE nome_union = 'Pessoa Ronda %1'")
                                   .arg(r)),
                      1);
            EXPECT_EQ(testsupport::incompleteContacts(db.folder(), QStringLiteral("Quarvenses")),
                      QStringList());
            if (!hit)
                break;
        }
    }
    EXPECT_GT(round, 8);
}

// Cards put elsewhere than the book (a server that files them apart): each
// card sent in a batch follows its redirection and is not asked again at the
// first address.
TEST_F(CardDavSync, ARedirectedCardIsFollowedOnce)
{
    testsupport::FaultyProxy moved(server.port());
    moved.redirectRequests("PUT");
    QUrl oldAddress = book;
    oldAddress.setPort(moved.port());
    const carddav::SyncSummary first = sync(oldAddress);
    EXPECT_TRUE(first.complete()) << first.failure.toStdString();
    EXPECT_EQ(first.sent, contactsInFile());
    EXPECT_EQ(cardsOnServer(), contactsInFile());
    EXPECT_EQ(moved.redirected(), first.sent);
}

// The password never goes where it could be read: a server whose certificate
// the system does not trust, or plain HTTP beyond this computer, stops the
// sync before anything is sent, and the summary says why.
TEST_F(CardDavSync, AnUntrustedCertificateOrPlainHttpElsewhereStopsTheSync)
{
    testsupport::Radicale selfSigned({davUser + u':' + davPassword}, true);
    if (!selfSigned.running())
        GTEST_SKIP() << selfSigned.failure().toStdString();
    const carddav::SyncSummary untrusted = sync(selfSigned.base());
    EXPECT_EQ(
        untrusted.failure,
        QStringLiteral("o certificado do servidor «127.0.0.1» não é de confiança (assinado por si próprio)"));
    EXPECT_EQ(untrusted.sent, 0);
    const carddav::SyncSummary plain = sync(QUrl(QStringLiteral("http://contactos.exemplo.pt/")));
    EXPECT_EQ(plain.failure,
              QStringLiteral("o endereço «http://contactos.exemplo.pt/» usa HTTP sem cifra: a senha "
                             "passaria às claras; use HTTPS"));
    EXPECT_EQ(plain.requests, 0);
}

// A multistatus as servers spell it (prefixes of their own, a property the
// server lacks in a 404 propstat): what the sync reads of it.
TEST(CardDavAnswers, AMultistatusIsReadWhateverItsPrefixes)
{
    const carddav::Multistatus m = carddav::parseMultistatus(
        "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
        "<sync-token>http://s/ns/sync/7</sync-token><response><href>/ana/livro/</href><propstat><prop>"
        "<resourcetype><collection/><C:addressbook/></resourcetype><C:supported-address-data>"
        "<C:address-data-type content-type=\"text/vcard\" version=\"3.0\"/></C:supported-address-data>"
        "<current-user-principal><href>/ana/</href></current-user-principal></prop>"
        "<status>HTTP/1.1 200 OK</status></propstat><propstat><prop><getctag/></prop>"
        "<status>HTTP/1.1 404 Not "
        "Found</status></propstat></response><response><href>/ana/livro/x%20y.vcf</href>"
        "<status>HTTP/1.1 404 Not Found</status></response></multistatus>");
    ASSERT_TRUE(m.read);
    EXPECT_EQ(m.token, QStringLiteral("http://s/ns/sync/7"));
    ASSERT_EQ(m.entries.size(), 2);
    const carddav::DavEntry& book = m.entries[0];
    EXPECT_EQ(book.status, 200);
    EXPECT_EQ(book.children.value(QStringLiteral("resourcetype")),
              (QStringList{QStringLiteral("collection"), QStringLiteral("addressbook")}));
    EXPECT_EQ(book.versions, QStringList{QStringLiteral("3.0")}) << "a server taking only 3.0 gets 3.0";
    EXPECT_EQ(book.hrefs.value(QStringLiteral("current-user-principal")), QStringLiteral("/ana/"));
    EXPECT_FALSE(book.text.contains(QStringLiteral("getctag"))) << "a property the server lacks is not there";
    EXPECT_EQ(m.entries[1].status, 404);
    EXPECT_FALSE(carddav::parseMultistatus("<html>erro</html>").read);
}
