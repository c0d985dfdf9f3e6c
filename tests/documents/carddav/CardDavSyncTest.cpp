// The contacts file and an address book on a real Radicale, both ways: the
// first sync sends every contact the user may open, a second one finds
// nothing to do, and each change on either side (a change, a new card, a
// deletion) reaches the other; a change on both sides keeps the catalog's
// and files the server's in the contact's archive.
#include "connection/ConnectionState.h"
#include "documents/carddav/AddressBook.h"
#include "documents/carddav/CardDavSync.h"
#include "settings/modRegistry.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/Radicale.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString davUser = QStringLiteral("ana");
const QString davPassword = QStringLiteral("senha-ana");
const QString file = QStringLiteral("Contactos Quarvenses");

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
        QDir().mkpath(archive.path());
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

    testsupport::DemoDatabase db;
    testsupport::Radicale server;
    QTemporaryDir archive;
    QUrl book;
};

} // namespace

TEST_F(CardDavSync, FirstSyncSendsTheFileAndASecondFindsNothing)
{
    const carddav::SyncSummary first = sync(server.base());
    EXPECT_EQ(first.failure, QString());
    EXPECT_EQ(first.book, book.toString()) << "found from the server's own address";
    EXPECT_EQ(first.refused, QStringList());
    EXPECT_GT(first.sent, 30);
    EXPECT_EQ(first.sent, contactsInFile());
    EXPECT_EQ(cardsOnServer(), first.sent);

    const carddav::SyncSummary second = sync();
    EXPECT_TRUE(second.complete()) << second.failure.toStdString();
    EXPECT_EQ(second.totals(), QStringLiteral("Enviados: 0, recebidos: 0, apagados no servidor: 0, retirados do "
                                              "ficheiro: 0, conflitos: 0, por fazer: 0."));
    EXPECT_LE(second.requests, 3);
}
