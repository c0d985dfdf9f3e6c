// The card's File menu gives the shown contact as a vCard: to a file the user
// names, or attached to a message; never a contact with unsaved changes.
#include "documents/vcard/VCardReader.h"
#include "tests/card/CardFixture.h"

#include <QFile>
#include <QTemporaryDir>

using namespace platform::msgbox;

namespace {

class VCardCommands : public cardtest::CardFixture {
  protected:
    static void trigger(frmInicial& card, const char* name)
    {
        QAction* action = card.findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    QTemporaryDir files;
};

} // namespace

TEST_F(VCardCommands, TheShownContactGoesToAFileOrAMessage)
{
    frmInicial& card = open(13);
    const QString path = files.filePath(QStringLiteral("maria.vcf"));
    windows->queueSaveFileName(path);
    trigger(card, "mnExportarVCard");
    ASSERT_EQ(windows->saveDialogs().size(), 1u);
    EXPECT_EQ(windows->saveDialogs()[0].title, QStringLiteral("Exportar vCard"));
    EXPECT_EQ(windows->saveDialogs()[0].proposedName, QStringLiteral("Maria Silva.vcf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<vcard::Card> cards = vcard::read(file.readAll());
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[0].text(QStringLiteral("FN")), QStringLiteral("Maria Silva"));
    EXPECT_EQ(cards[0].text(QStringLiteral("X-NIF")), stored("no_contribuinte", "tbContactos", 13));
    EXPECT_TRUE(windows->messageBoxes().empty());

    trigger(card, "mnEnviarVCard");
    ASSERT_EQ(windows->mails().size(), 1u);
    EXPECT_EQ(windows->mails()[0].subject, QStringLiteral("Contacto: Maria Silva"));
    ASSERT_EQ(windows->mails()[0].attachments.size(), 1);
    EXPECT_TRUE(windows->mails()[0].attachments[0].endsWith(QStringLiteral("/Maria Silva.vcf")));
    EXPECT_TRUE(QFile::exists(windows->mails()[0].attachments[0]));

    // Unsaved changes: the file would not say what the card shows.
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Mariana"));
    windows->queueAnswer(AnswerOK);
    trigger(card, "mnExportarVCard");
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_EQ(windows->messageBoxes()[0].text,
              QStringLiteral("Grave primeiro o contacto: o vCard leva o contacto tal como está gravado."));
    EXPECT_EQ(windows->saveDialogs().size(), 1u) << "no dialog";
}
