// What a user met on the card in a working day: the header's kind and an
// institution's areas always this contact's, the status line saying who made
// or last changed the contact, a new contact's date of entry kept, nothing
// cut or covered, and a value or a table leading where the user expects.
#include "card/WindowPlace.h"
#include "panels/ucIDTulvas.h"
#include "tests/card/CardFixture.h"

#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

using WorkingDayCard = cardtest::CardFixture;

} // namespace
namespace {

QRect inCard(const frmInicial& card, const QWidget* w)
{
    return QRect(w->mapTo(&card, QPoint(0, 0)), w->size());
}

// What a user sees cut or covered: buttons narrower than their text, grid
// headers shorter than their caption, the card's buttons over the first
// tab's panels.
QStringList layoutFaults(frmInicial& card)
{
    QApplication::processEvents();
    QStringList faults;
    const QList<QWidget*> panels = card.findChild<QFrame*>(QStringLiteral("Frame_Identificacao"))
                                       ->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QPushButton* b : card.findChildren<QPushButton*>()) {
        if (!b->isVisibleTo(&card))
            continue;
        const int text = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(u'&'));
        if (b->width() < text + b->iconSize().width() * !b->icon().isNull() + 8)
            faults << QStringLiteral("botão cortado: ") + b->text() + u' ' + QString::number(b->width()) +
                          u'/' + QString::number(text);
        if (b->text() != QStringLiteral("&Gravar") && !b->objectName().startsWith(QStringLiteral("Command")))
            continue; // the card's own buttons, not a panel's
        for (QWidget* panel : panels)
            if (panel->isVisibleTo(&card) && inCard(card, b).intersects(inCard(card, panel)))
                faults << b->text() + QStringLiteral(" sobre ") + panel->objectName();
    }
    for (QHeaderView* h : card.findChildren<QHeaderView*>()) {
        if (!h->isVisibleTo(&card) || h->orientation() != Qt::Horizontal)
            continue;
        for (int i = 0; i < h->count(); ++i) {
            const QString caption = h->model()->headerData(i, Qt::Horizontal).toString();
            const int text = h->fontMetrics().horizontalAdvance(caption);
            if (!h->isSectionHidden(i) && h->sectionSize(i) < text + 8)
                faults << QStringLiteral("cabeçalho cortado: ") + caption + u' ' +
                              QString::number(h->sectionSize(i)) + u'/' + QString::number(text);
        }
    }
    for (const char* grid : {"ucIDTelefones1", "ucIDEmails1"}) {
        const auto* table = card.findChild<QWidget*>(QString::fromLatin1(grid))->findChild<QTableWidget*>();
        for (int r = 0; table && table->isVisibleTo(&card) && r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                if (const QTableWidgetItem* item = table->item(r, c);
                    item && table->columnWidth(c) < table->fontMetrics().horizontalAdvance(item->text()) + 8)
                    faults << QStringLiteral("valor cortado: ") + item->text();
    }
    return faults;
}

} // namespace

// One working day on the card: this contact's header and status line, the
// layout at every size, and where a value or a table of words leads.
TEST_F(WorkingDayCard, TheHeaderAndStatusLineAreThisContactsAndNothingIsCutAtAnySize)
{
    // A card that opens on the permissions or archive tab shows this contact's
    // kind in its header, not the one of the contact shown before; a new
    // institution chooses its area at once. The status line names who made a
    // contact never changed since; saving its notes and events is a change, and
    // a new contact keeps the entry date its filing gave it.
    for (const int tab : {3, 4}) {
        storeWindow(tab);
        for (const int id : {1, 2}) {
            frmInicial& card = open(id);
            ASSERT_EQ(card.selectedTab(), tab);
            EXPECT_EQ(card.ucIDTulvas1->currentType(),
                      db.value("SELECT t.descrit FROM tbTulvas_Contactos c JOIN tbTulvas_Contactos_Tipos t "
                               "ON t.tipo_id = c.tipo_id WHERE c.contacto_id = %1",
                               id))
                << "tab " << tab << ", contact " << id;
            card.close();
        }
    }
    storeWindow(1);

    sql("UPDATE tbContactos SET modified_by = NULL, modified_date = NULL, "
        "created_by = N'ana', created_date = '2024-01-02 10:00:00' "
        "WHERE contacto_id = 13");
    frmInicial& card = open(13);
    EXPECT_EQ(card.statusPanel1->text(), QStringLiteral("Criado por ana em 02/01/2024 10:00:00"));
    card.selectTab(2);
    card.prpEventos = true;
    ASSERT_TRUE(save(card, 2));
    EXPECT_EQ(stored("modified_by", "tbContactos", 13), QStringLiteral("sa"));
    EXPECT_TRUE(card.statusPanel1->text().startsWith(QStringLiteral("Modificado por sa em ")))
        << card.statusPanel1->text().toStdString();
    card.close();

    general.ObjectNew(QStringLiteral("tbContactos"));
    choose(false);
    const auto* areas = general.card()->ucIDInstitucional1->findChild<QComboBox*>(QStringLiteral("cboArea"));
    EXPECT_EQ(areas->count(), db.count("SELECT COUNT(*) FROM tbContactos_Institucionais_Areas_Negocio") + 1);

    general.ObjectNew(QStringLiteral("tbContactos"));
    choose(true);
    frmInicial& fresh = *general.card();
    type(fresh.ucIDSingular1, "txtNome", QStringLiteral("Rita"));
    type(fresh.ucIDSingular1, "txtApelido", QStringLiteral("Sá"));
    ASSERT_TRUE(save(fresh));
    EXPECT_NE(stored("data_entrada", "tbTulvas_Contactos", fresh.Contacto_ID), QStringLiteral("NULL"));
    EXPECT_TRUE(fresh.statusPanel1->text().startsWith(QStringLiteral("Criado por sa em ")))
        << fresh.statusPanel1->text().toStdString();

    // The card at the smallest screen, the default size and a large screen,
    // and a card enlarged once then opened again at the default size:
    // nothing covered anywhere, and nothing cut at the card's own size.
    open(13);
    const QSize initial = card.size();
    const auto covered = [](const QStringList& faults) { return faults.filter(QStringLiteral(" sobre ")); };
    for (const QSize size : {QSize(800, 600), QSize(1920, 1080)}) {
        card.resize(size);
        EXPECT_EQ(covered(layoutFaults(card)), QStringList()) << size.width() << "x" << size.height();
    }
    card.resize(initial);
    for (const int tab : {1, 2, 3, 4}) {
        card.selectTab(tab);
        EXPECT_EQ(layoutFaults(card), QStringList()) << "at the card's own size, tab " << tab;
    }
    card.selectTab(2); // enlarged on another tab, then opened again on the first at the usual size
    card.resize(QSize(1920, 1080));
    card.close();
    storeWindow(1);
    frmInicial& again = open(35);
    ASSERT_EQ(again.size(), initial);
    const QRect frame = inCard(again, again.findChild<QFrame*>(QStringLiteral("Frame_Identificacao")));
    for (QWidget* panel : again.findChild<QFrame*>(QStringLiteral("Frame_Identificacao"))
                              ->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (panel->isVisibleTo(&again)) {
            EXPECT_TRUE(frame.contains(inCard(again, panel)) && panel->width() > 0 && panel->height() > 0)
                << panel->objectName().toStdString() << " lies outside the page";
        }
    EXPECT_EQ(layoutFaults(again), QStringList()) << "opened again after being enlarged";

    // Stored on a larger screen, the card still opens whole on this one.
    again.close();
    card::keepWindowPlace({-3000, 900, 45000, 30000, 1});
    frmInicial& large = open(13);
    const QRect screen = large.screen()->availableGeometry();
    // The desktop's own borders are put on after it is placed; the window itself fits.
    EXPECT_LE(large.width(), screen.width());
    EXPECT_LE(large.height(), screen.height());
    EXPECT_TRUE(screen.contains(large.frameGeometry().topLeft()));
    EXPECT_EQ(covered(layoutFaults(large)), QStringList());

    // A value on the card leads to the desktop: an e-mail address to a message,
    // a telephone to a call, an address to a map; a table of words to its editor.
    const auto quick = [&](RowListPanel* panel) {
        QMenu menu;
        panel->fillRowMenu(menu, 0);
        QAction* action = menu.findChild<QAction*>(QStringLiteral("mnAccaoRapida"));
        if (!action)
            return QString();
        action->trigger();
        return action->text() + u'|' + windows->shellCalls().back().verb + u' ' +
               windows->shellCalls().back().file;
    };
    card.ucIDTelefones1->addRow({QStringLiteral("+351 912 345 678"), QStringLiteral("Móvel")});
    card.ucIDMoradas1->addRow({QStringLiteral("Rua de São João, 12"), QStringLiteral("4000-123"),
                               QStringLiteral("Porto"), QStringLiteral("Portugal")});
    card.ucIDEmails1->addRow({QStringLiteral("ana@exemplo.pt"), QString()});
    const QString firstPhone = card.ucIDTelefones1->rowValues(0).value(0);
    EXPECT_TRUE(quick(card.ucIDTelefones1).startsWith(QStringLiteral("Ligar para ") + firstPhone + u'|'));
    EXPECT_TRUE(windows->shellCalls().back().file.startsWith(QStringLiteral("tel:")));
    EXPECT_FALSE(windows->shellCalls().back().file.contains(u' '));
    const QString firstMail = card.ucIDEmails1->rowValues(0).value(0);
    EXPECT_EQ(quick(card.ucIDEmails1),
              QStringLiteral("Escrever a ") + firstMail + QStringLiteral("|open mailto:") + firstMail);
    EXPECT_TRUE(
        quick(card.ucIDMoradas1)
            .startsWith(QStringLiteral("Ver no mapa|open https://www.openstreetmap.org/search?query=")));

    // Without a program for it, the user is told; the manual likewise.
    windows->programsInstalled = false;
    windows->queueAnswers({platform::msgbox::AnswerOK, platform::msgbox::AnswerOK});
    quick(card.ucIDEmails1);
    card.findChild<QAction*>(QStringLiteral("mnManual"))->trigger();
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_TRUE(windows->messageBoxes()[0].text.startsWith(
        QStringLiteral("Não há neste computador nenhum programa que abra «mailto:")));
    EXPECT_TRUE(windows->messageBoxes()[1].text.startsWith(
        QStringLiteral("Não há neste computador nenhum programa que abra «")));
    EXPECT_EQ(windows->messageBoxes()[1].title, QStringLiteral("Manual de utilização"));

    // The Tabelas menu opens each table's editor, modal over the card.
    QStringList opened;
    for (const char* item : {"mnTitulos", "mnProfissoes", "mnNacionalidades", "mnPaises"}) {
        QTimer::singleShot(0, [&opened] {
            if (auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened << editor->windowTitle() + u' ' +
                              QString::number(editor->findChild<QListWidget*>()->count());
                editor->reject();
            }
        });
        card.findChild<QAction*>(QString::fromLatin1(item))->trigger();
    }
    EXPECT_EQ(opened, (QStringList{"Títulos 8", "Profissões 8", "Nacionalidades 6", "Países 6"}));

    // The fields offer the tables' words as the user types.
    card.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&card));
    for (const auto& [name, count] : {std::pair{"txtTitulo", 8}, std::pair{"txtNacionalidade", 6}}) {
        QLineEdit* edit = field(card.ucIDSingular1, name);
        edit->setFocus();
        QApplication::processEvents();
        ASSERT_NE(edit->completer(), nullptr) << name;
        EXPECT_EQ(edit->completer()->model()->rowCount(), count) << name;
    }
}
