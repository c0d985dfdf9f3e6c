// "Possíveis duplicados": the groups a user may open, opened on the card
// between themselves, and pairs said not to be one kept apart for good.
#include "data/modSQLConnection.h"
#include "host/DuplicatesWindow.h"
#include "host/MergeDialog.h"
#include "platform/windows/MessageStyle.h"
#include "tests/host/HostFixture.h"
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

// The groups shareAcrossContacts makes.
const QString byNif = QStringLiteral("o mesmo NIF 999 888 777");
const QString byEmail = QStringLiteral("o mesmo e-mail o'brien@exemplo.pt");

class DuplicatesTest : public hosttest::HostFixture {
  protected:
    // The groups' members that are contact `id`, in the window's order.
    static QList<QTreeWidgetItem*> found(const DuplicatesWindow& window, int id)
    {
        return window.tree().findItems(QString::number(id), Qt::MatchExactly | Qt::MatchRecursive, 1);
    }
    // The groups (their description and members' numbers) holding contact `id`, by reason.
    static QStringList groupsWith(const DuplicatesWindow& window, int id)
    {
        QStringList out;
        for (const QTreeWidgetItem* item : found(window, id)) {
            QStringList members;
            for (int i = 0; i < item->parent()->childCount(); ++i)
                members << item->parent()->child(i)->text(1);
            out << item->parent()->text(0) + QStringLiteral(": ") + members.join(u',');
        }
        return out;
    }
    static QTreeWidgetItem* member(const DuplicatesWindow& window, const QString& description, int id)
    {
        for (QTreeWidgetItem* item : found(window, id))
            if (item->parent()->text(0) == description)
                return item;
        return nullptr;
    }
    static void choose(DuplicatesWindow& window, const QList<QTreeWidgetItem*>& items)
    {
        window.tree().clearSelection();
        for (QTreeWidgetItem* item : items)
            item->setSelected(true);
    }
    static QPushButton* button(const DuplicatesWindow& window, const char* name)
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

// joao may open contacts 1, 13 and 33 only: the NIF 13 shares with 1 (spaced
// otherwise) and the e-mail 33 shares with 13 (in capitals) make groups; the
// e-mail contact 2 shares with 13 does not show contact 2.
void shareAcrossContacts()
{
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbTulvas_Contactos_Permitions SET group_code = REPLACE(group_code, '$00041000', '$00040000') "
        "WHERE contacto_id NOT IN (1, 13, 33)"));
    Data().SqlServer.Execute(
        QStringLiteral("UPDATE tbContactos SET no_contribuinte = N'999 888 777' WHERE contacto_id = 1; "
                       "UPDATE tbContactos SET no_contribuinte = N'999888777' WHERE contacto_id = 13; "
                       "INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
                       "VALUES (13, N'o''brien@exemplo.pt', N'Outro', 0); "
                       "INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
                       "VALUES (33, N'O''BRIEN@Exemplo.pt', N'Outro', 0); "
                       "INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
                       "VALUES (2, N'o''brien@exemplo.pt', N'Outro', 0)"));
}

} // namespace

// The window as joao and then sa use it, step by step: the groups a user may
// open, opened on the card between themselves; a pair said apart, kept apart
// for good, and stored whole even when the server fails; two contacts merged
// and the merge undone.
TEST_F(DuplicatesTest, GroupsOpenOnTheCardPairsSaidApartStayApartAndAMergeIsUndone)
{
    HostWindow& host = start(QStringLiteral("joao"), shareAcrossContacts);
    trigger(host, "actDuplicados");
    DuplicatesWindow* window = host.duplicatesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal()) << "the card is used beside it";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Possíveis duplicados"));
    EXPECT_EQ(groupsWith(*window, 13),
              (QStringList{byNif + QStringLiteral(": 1,13"), byEmail + QStringLiteral(": 13,33")}));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblResumo"))->text(),
              QString::number(window->tree().topLevelItemCount()) +
                  QStringLiteral(" grupos de possíveis duplicados."));

    // Opened, the contact's group is the card's list: next is the other one.
    choose(*window, {member(*window, byEmail, 33)});
    ASSERT_TRUE(button(*window, "cmdAbrir")->isEnabled());
    EXPECT_FALSE(button(*window, "cmdNaoSaoOMesmo")->isEnabled()) << "two contacts of one group";
    button(*window, "cmdAbrir")->click();
    ASSERT_NE(card(), nullptr);
    ASSERT_TRUE(card()->isVisible());
    EXPECT_EQ(card()->Contacto_ID, 33);
    QSet<qint32> seen{card()->Contacto_ID};
    trigger(*card(), "mnSeguinte");
    seen << card()->Contacto_ID;
    trigger(*card(), "mnAnterior");
    seen << card()->Contacto_ID;
    EXPECT_EQ(seen, QSet<qint32>({13, 33})) << "the card moves between the two only";
    card()->close();

    // Not one: never shown together again, for this user and after a restart.
    choose(*window, {member(*window, byNif, 1), member(*window, byNif, 13)});
    ASSERT_TRUE(button(*window, "cmdNaoSaoOMesmo")->isEnabled());
    button(*window, "cmdNaoSaoOMesmo")->click();
    EXPECT_EQ(groupsWith(*window, 13), QStringList{byEmail + QStringLiteral(": 13,33")});
    EXPECT_EQ(
        answer(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Duplicados_Rejeitados WHERE contacto_id = 1 "
                              "AND outro_contacto_id = 13 AND created_by = N'joao'")),
        QStringLiteral("1"));
    stop();
    HostWindow& again = start();
    again.showDuplicates();
    DuplicatesWindow& shown = *again.duplicatesWindow();
    EXPECT_EQ(groupsWith(shown, 1), QStringList()) << "sa sees the pair apart too";

    // Saying two contacts are not one, with the server failing or killed at
    // each of its statements: the pair is stored and nothing said, or it is
    // not stored and the user is told so; no transaction is left open, and
    // the next try stores it once.
    const QString stored = QStringLiteral("SELECT COUNT(*) FROM tbContactos_Duplicados_Rejeitados WHERE "
                                          "contacto_id = 1 AND outro_contacto_id = 13");
    using ado::embedded::EmbeddedServer;
    int points = 0;
    for (auto kind : {EmbeddedServer::FaultKind::Fail, EmbeddedServer::FaultKind::Kill})
        for (int k = 1;; ++k) {
            modSQLConnection::CheckSQLConnection();
            Data().SqlServer.Execute(QStringLiteral("DELETE FROM tbContactos_Duplicados_Rejeitados"));
            shown.refill();
            ASSERT_NE(member(shown, byNif, 1), nullptr);
            choose(shown, {member(shown, byNif, 1), member(shown, byNif, 13)});
            windows->clear();
            // A failure is told in a box (a failed reading of the rights, in two).
            windows->queueAnswer(platform::msgbox::AnswerOK);
            windows->queueAnswer(platform::msgbox::AnswerOK);
            EmbeddedServer::armFault(k, kind);
            button(shown, "cmdNaoSaoOMesmo")->click();
            const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
            EmbeddedServer::disarmFault();
            windows->discardQueued();
            modSQLConnection::CheckSQLConnection();
            const int rows = answer(stored).toInt();
            EXPECT_EQ(Data().SqlServer.TransactionLevel(), 0) << k;
            if (!faulted) {
                EXPECT_EQ(rows, 1);
                EXPECT_TRUE(windows.texts().isEmpty());
                break;
            }
            ++points;
            const QString told = windows.texts().join(u'|');
            EXPECT_TRUE(
                (rows == 1 && told.isEmpty()) ||
                (rows == 0 && told.startsWith(QStringLiteral("Não foi possível guardar que os contactos "
                                                             "n.º 1 e n.º 13 não são o mesmo: "))) ||
                (rows == 1 && told.contains(QStringLiteral("Não foi possível procurar duplicados: "))))
                << k << " " << told.toStdString();
        }
    EXPECT_GE(points, 4) << "the check, the look-up and the insert, failing and killed";

    // Two contacts of a group merged, side by side in a modal dialog, and the
    // merge undone: the host's list follows each step.
    SCOPED_TRACE("merging");
    const int listed = again.rows().rowCount();
    choose(shown, {member(shown, byEmail, 13), member(shown, byEmail, 33)});
    ASSERT_TRUE(button(shown, "cmdFundir")->isEnabled());
    QStringList fields;
    QString keptFirst;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<MergeDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "the merge decides what the kept contact holds: modal";
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Fundir contactos"));
        keptFirst = dialog->keepFirst().text();
        for (int row = 0; row < dialog->table().rowCount(); ++row)
            fields << dialog->table().item(row, 0)->text();
        windows->queueAnswer(platform::msgbox::AnswerYes);
        windows->queueAnswer(platform::msgbox::AnswerOK);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdFundir"))->click();
    });
    button(shown, "cmdFundir")->click();
    EXPECT_TRUE(keptFirst.startsWith(QStringLiteral("n.º 13 "))) << keptFirst.toStdString();
    EXPECT_TRUE(fields.contains(QStringLiteral("Nome"))) << fields.join(u',').toStdString();
    EXPECT_EQ(windows.texts().value(0).left(28), QStringLiteral("O contacto n.º 33 passa para"));
    EXPECT_EQ(windows.texts().value(1),
              QStringLiteral("Os contactos foram fundidos: o n.º 33 está agora no n.º 13."));
    EXPECT_EQ(again.rows().rowCount(), listed - 1);
    EXPECT_EQ(groupsWith(shown, 33), QStringList());

    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerYes);
    windows->queueAnswer(platform::msgbox::AnswerOK);
    button(shown, "cmdDesfazerFusao")->click();
    EXPECT_TRUE(windows.texts().value(0).startsWith(
        QStringLiteral("Desfazer a fusão do n.º 33 no n.º 13, feita por sa em ")))
        << windows.texts().value(0).toStdString();
    EXPECT_EQ(windows.texts().value(1),
              QStringLiteral("A fusão foi desfeita: os contactos n.º 13 e n.º 33 estão como antes dela."));
    EXPECT_EQ(again.rows().rowCount(), listed);
    EXPECT_EQ(groupsWith(shown, 33), QStringList{byEmail + QStringLiteral(": 2,13,33")});

    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerOK);
    button(shown, "cmdDesfazerFusao")->click();
    EXPECT_EQ(windows.texts(), QStringList{QStringLiteral("Não há fusões por desfazer.")});
}
