// "Sincronizar contactos" as a user does it: the address book's place asked
// in a modal window (remembered, the password enciphered), the sync, a
// question where a contact changed on both sides, and the summary.
#include "host/SyncDialog.h"
#include "platform/windows/MessageStyle.h"
#include "settings/modRegistry.h"
#include "tests/host/HostFixture.h"
#include "tests/support/Radicale.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class SyncTest : public hosttest::HostFixture {
  protected:
    // Fills and sends the modal window when it shows.
    void fillWhenShown(const QUrl& url, const QString& password = QStringLiteral("senha-ana"))
    {
        QTimer::singleShot(0, [url, password] {
            auto* dialog = qobject_cast<SyncDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the sync decides what the file holds: modal";
            dialog->findChild<QLineEdit*>(QStringLiteral("txtEndereco"))->setText(url.toString());
            dialog->findChild<QLineEdit*>(QStringLiteral("txtUtilizador"))->setText(QStringLiteral("ana"));
            dialog->findChild<QLineEdit*>(QStringLiteral("txtSenha"))->setText(password);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdSincronizar"))->click();
        });
    }
    testsupport::Radicale server;
};

} // namespace

TEST_F(SyncTest, TheFileGoesToTheAddressBookAndTheSummarySaysSo)
{
    if (!server.running())
        GTEST_SKIP() << server.failure().toStdString();
    const QUrl book =
        server.makeBook(QStringLiteral("ana"), QStringLiteral("senha-ana"), QStringLiteral("escritorio"));
    ASSERT_TRUE(book.isValid());
    HostWindow& host = start();
    fillWhenShown(server.base());
    windows->queueAnswer(platform::msgbox::AnswerOK);
    host.synchronise();
    ASSERT_EQ(windows.texts().size(), 1);
    const QStringList summary = windows.texts().first().split(u'\n');
    const int sent = int(server.storedCards(QStringLiteral("ana"), QStringLiteral("escritorio")).size());
    EXPECT_GT(sent, 30);
    EXPECT_EQ(summary.value(0), QStringLiteral("Enviados: ") + QString::number(sent) +
                                    QStringLiteral(", recebidos: 0, apagados no servidor: 0, retirados do "
                                                   "ficheiro: 0, conflitos: 0, por fazer: 0."));
    EXPECT_EQ(summary.value(1).left(9), QStringLiteral("Enviado: "));
    EXPECT_EQ(summary.last(), QStringLiteral("… e mais ") + QString::number(sent - 15) + u'.');

    // Remembered for next time; the password only enciphered.
    const QString key = SyncDialog::settingsKey(QStringLiteral("sa"));
    EXPECT_EQ(modRegistry::LerShadow(key, QStringLiteral("Endereco")), server.base().toString());
    EXPECT_EQ(modRegistry::LerShadow(key, QStringLiteral("Senha")), QString()) << "not asked to remember it";
    SyncDialog again(QStringLiteral("sa"));
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("txtUtilizador"))->text(), QStringLiteral("ana"));
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("txtFicheiro"))->text(),
              QStringLiteral("Contactos Quarvenses"));
    SyncDialog anotherUser(QStringLiteral("joao"));
    EXPECT_EQ(anotherUser.findChild<QLineEdit*>(QStringLiteral("txtUtilizador"))->text(), QString())
        << "another user of the contacts does not get this one's address book";

    // A wrong password: nothing done, and said so.
    windows->clear();
    fillWhenShown(server.base(), QStringLiteral("errada"));
    windows->queueAnswer(platform::msgbox::AnswerOK);
    host.synchronise();
    EXPECT_EQ(windows.texts(), QStringList{QStringLiteral(
                                   "A sincronização parou: o servidor recusou o utilizador ou a senha.\n"
                                   "Enviados: 0, recebidos: 0, apagados no servidor: 0, retirados do "
                                   "ficheiro: 0, conflitos: 0, por fazer: 0.")});
}
