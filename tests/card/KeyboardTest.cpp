// The card worked from the keyboard: Qt's own buttons in Portuguese, each
// shortcut reaching its command on the real window, Delete only from the
// toolbar, and the focus where typing starts.
#include "documents/frmImpressoes.h"
#include "panels/GridTable.h"
#include "tests/card/CardFixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>

using namespace platform::msgbox;

namespace {

class Keyboard : public cardtest::CardFixture {
  protected:
    frmInicial& shown(int id)
    {
        frmInicial& card = open(id);
        card.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&card));
        QApplication::processEvents();
        return card;
    }
    static void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
};

} // namespace

// Qt's own buttons speak Portuguese; each shortcut reaches its command on
// the real window, Insert adds to the grid the cursor is in, a new contact is
// typed from its name, Delete removes only from the toolbar, and Escape and
// Ctrl+W close through the save question; Tab walks each page.
TEST_F(Keyboard, EachShortcutReachesItsCommand)
{
    // General started the component: no further set-up.
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Sim"));
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QStringLiteral("&Não"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));

    frmInicial& card = shown(13);
    EXPECT_EQ(card.focusWidget(), field(card.ucIDSingular1, "txtNome")) << "typing starts in the name";

    QLineEdit* profession = field(card.ucIDSingular1, "txtProfissao");
    profession->setFocus();
    QTest::keyClicks(profession, QStringLiteral(" e tradutora"));
    const QString typed = profession->text();
    ASSERT_TRUE(card.prpAlteracoes());
    press(profession, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(card.prpAlteracoes());
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), typed);

    // The host's list holds contacts 1, 2, 3… in order.
    press(&card, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(card.Contacto_ID, 1);
    press(&card, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(card.Contacto_ID, 2);
    press(&card, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(card.Contacto_ID, 3);
    press(&card, Qt::Key_Left, Qt::AltModifier);
    press(&card, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(card.Contacto_ID, 1);
    press(&card, Qt::Key_End, Qt::AltModifier);
    EXPECT_EQ(card.Contacto_ID, db.count("SELECT MAX(contacto_id) FROM tbContactos"));

    press(&card, Qt::Key_P, Qt::ControlModifier);
    frmImpressoes* prints = shownWindow<frmImpressoes>();
    ASSERT_NE(prints, nullptr) << "Ctrl+P opens the prints window";
    EXPECT_EQ(prints->ContactId, card.Contacto_ID);
    prints->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    card.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&card));

    auto* phones = card.ucIDTelefones1->findChild<QTableWidget*>();
    auto* addresses = card.ucIDMoradas1->findChild<QTableWidget*>();
    const int phoneRows = phones->rowCount();
    const int addressRows = addresses->rowCount();
    phones->setFocus();
    press(phones, Qt::Key_Insert);
    EXPECT_EQ(phones->rowCount(), phoneRows + 1);
    EXPECT_EQ(addresses->rowCount(), addressRows) << "a key in the telephones adds no address";
    EXPECT_FALSE(phones->styleSheet().isEmpty()) << "the grid with the cursor shows it";

    windows->queueAnswer(AnswerNo); // the pending row is not saved
    press(&card, Qt::Key_N, Qt::ControlModifier);
    choose(true); // Ctrl+N offers the kind of the new contact
    EXPECT_EQ(card.focusWidget(), field(card.ucIDSingular1, "txtNome"));
    EXPECT_TRUE(card.findChild<QAction*>(QStringLiteral("mnGravar"))->isEnabled())
        << "Ctrl+S on an empty new card says what is missing";

    // Delete edits a field and removes only from the toolbar; Escape and Ctrl+W close through the save
    // question.
    shown(13);
    windows->clear();
    QLineEdit* name = field(card.ucIDSingular1, "txtNome");
    name->setFocus();
    name->setCursorPosition(0);
    const QString before = name->text();
    press(name, Qt::Key_Delete);
    EXPECT_EQ(name->text(), before.mid(1)) << "Delete edits the field";
    EXPECT_TRUE(windows->messageBoxes().empty()) << "and asks nothing about removing";

    QToolButton* button = nullptr;
    for (QToolButton* b : card.Toolbar1->findChildren<QToolButton*>())
        if (b->defaultAction() && b->defaultAction()->objectName() == QLatin1String("btApagar"))
            button = b;
    ASSERT_NE(button, nullptr);
    button->setFocus();
    windows->queueAnswers({AnswerNo, AnswerNo, AnswerNo});
    press(button, Qt::Key_Delete);
    EXPECT_FALSE(windows->messageBoxes().empty()) << "from the toolbar, Delete asks to remove";
    windows->discardQueued();
    EXPECT_EQ(rows("tbContactos", 13), 1);

    windows->clear();
    name->setFocus();
    windows->queueAnswer(AnswerCancel);
    press(name, Qt::Key_Escape);
    EXPECT_TRUE(card.isVisible()) << "Cancel keeps the card";
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    windows->queueAnswer(AnswerNo);
    press(name, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(card.isVisible());
    EXPECT_EQ(windows->messageBoxes().size(), 2u);

    frmInicial& again = shown(14);
    press(&again, Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible()) << "nothing changed: no question";
    EXPECT_EQ(windows->messageBoxes().size(), 2u);

    // Tab from the tab strip walks the shown page and comes back, never into a
    // hidden page nor round inside a grid; everything it stops at has a name,
    // and a right is chosen in its cell.
    shown(13);
    for (int tab = 1; tab <= 4; ++tab) {
        card.selectTab(tab);
        QApplication::processEvents();
        card.TabStrip1->setFocus(Qt::TabFocusReason);
        QStringList stops;
        QWidget* previous = nullptr;
        for (int i = 0; i < 80; ++i) {
            press(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            ASSERT_NE(w, nullptr);
            if (w == card.TabStrip1)
                break;
            EXPECT_TRUE(w->isVisible()) << "tab " << tab << ": " << w->objectName().toStdString();
            const auto* button = qobject_cast<QAbstractButton*>(w);
            const QString name = !w->accessibleName().isEmpty() ? w->accessibleName()
                                 : button                       ? button->text().remove(u'&')
                                                                : QString();
            EXPECT_FALSE(name.isEmpty()) << "tab " << tab << ": " << w->objectName().toStdString();
            stops << w->objectName();
            ASSERT_NE(w, previous) << "Tab stuck on " << w->objectName().toStdString();
            previous = w;
        }
        ASSERT_EQ(QApplication::focusWidget(), card.TabStrip1)
            << "tab " << tab << ": " << stops.join(u' ').toStdString();
        EXPECT_EQ(stops.last(), QStringLiteral("cboTipo"))
            << "the type, above the tabs, comes just before them";
        if (tab == 1) {
            EXPECT_EQ(stops.mid(0, 7), (QStringList{"txtTitulo", "txtNome", "txtApelido", "txtProfissao",
                                                    "txtNIF", "txtNascimento", "txtNacionalidade"}));
        }
        if (tab == 3) {
            EXPECT_EQ(stops.count(QStringLiteral("lstPermissoes")), 1) << "the rights' boxes are not stops";
        }
    }

    // A right is chosen from the keyboard in its cell.
    card.selectTab(3);
    auto* grid = card.findChild<GridTable*>(QStringLiteral("lstPermissoes"));
    ASSERT_NE(grid, nullptr);
    grid->setFocus();
    grid->setCurrentCell(0, 3);
    auto* rights = qobject_cast<QComboBox*>(grid->cellWidget(0, 3));
    ASSERT_NE(rights, nullptr);
    EXPECT_TRUE(rights->accessibleName().endsWith(QStringLiteral(": Abrir")));
    press(grid, Qt::Key_Space);
    EXPECT_TRUE(rights->view()->isVisible()) << "Space opens the cell's choices";
    rights->hidePopup();
}
