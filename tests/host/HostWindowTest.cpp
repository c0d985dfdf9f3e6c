// The host's main window as an office user works it: the keyboard, the
// search that waits for a pause and ignores accents, the layout kept between
// runs, and quitting with unsaved changes on the card.
#include "card/frmNovo.h"
#include "panels/ucIDSingular.h"
#include "platform/values/Twips.h"
#include "platform/windows/MessageStyle.h"
#include "tests/host/HostFixture.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

using namespace platform::msgbox;

namespace {

class HostWindowTest : public hosttest::HostFixture {};

} // namespace

// Ctrl+F goes to the search box; the search waits for a pause in the typing
// and ignores accents, a search that finds nothing keeps the columns, and Esc
// gives the whole list back. A read the server refuses leaves the list as it
// was and says why, whether F5 asked for it or a search did.
TEST_F(HostWindowTest, SearchWaitsForAPauseEscGivesTheListBackAndAFailedReadKeepsIt)
{
    HostWindow& window = start();
    const int all = window.rows().rowCount();
    press(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.searchBox()) << "Ctrl+F goes to the search box";
    QTest::keyClicks(window.searchBox(), QStringLiteral("antonio"));
    EXPECT_EQ(window.rows().rowCount(), all) << "no search while typing";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.rows().rowCount() != all; }, 2000));
    EXPECT_EQ(names(window),
              (QStringList{QStringLiteral("António Jesus"), QStringLiteral("António Marques")}));

    window.searchBox()->clear();
    QTest::keyClicks(window.searchBox(), QStringLiteral("ninguem com este nome"));
    window.refreshList();
    EXPECT_EQ(window.rows().rowCount(), 0);
    EXPECT_FALSE(window.list()->isHeaderHidden()) << "the columns stay when nothing is found";
    press(window.searchBox(), Qt::Key_Escape);
    EXPECT_TRUE(window.searchBox()->text().isEmpty());
    EXPECT_EQ(window.rows().rowCount(), all);
    EXPECT_FALSE(window.list()->isHeaderHidden());

    // The server can no longer read the list.
    search(window, QStringLiteral("marques"));
    const QStringList shown = names(window);
    ASSERT_EQ(shown.size(), 2);
    Data().SqlServer.Execute(QStringLiteral("DROP TABLE tbContactos_Lista"));
    press(&window, Qt::Key_F5);
    EXPECT_EQ(names(window), shown);
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Não foi possível listar os contactos: ")))
        << window.statusText().toStdString();
    search(window, QStringLiteral("ma"));
    EXPECT_EQ(names(window), shown);
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Não foi possível listar os contactos: ")));
}

// Every command is reached from the keyboard; quitting with unsaved changes
// on the card asks once, and Cancel keeps everything.
TEST_F(HostWindowTest, EveryCommandIsReachedFromTheKeyboardAndQuittingAsksOnce)
{
    HostWindow& window = start();
    window.searchBox()->setFocus();
    QTest::keyClicks(window.searchBox(), QStringLiteral("marques"));
    press(window.searchBox(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), window.list()) << "Down goes from the search to the list";
    ASSERT_EQ(window.rows().rowCount(), 2) << "Down searched what was typed";
    window.setCurrentRow(1);
    press(window.list(), Qt::Key_Return);
    ASSERT_NE(card(), nullptr);
    EXPECT_TRUE(card()->isVisible()) << "Enter opens the selected contact";
    const qint32 opened = card()->Contacto_ID;
    EXPECT_EQ(window.rows().keyAt(1), opened);
    card()->close();

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.setCurrentRow(0);
    press(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(card()->isVisible()) << "Ctrl+O opens";
    EXPECT_NE(card()->Contacto_ID, opened);
    card()->close();

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    press(&window, Qt::Key_N, Qt::ControlModifier);
    frmNovo* chooser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<frmNovo*>(w); c && c->isVisible())
            chooser = c;
    ASSERT_NE(chooser, nullptr) << "Ctrl+N offers the kind of the new contact";
    // Nothing else is used while it decides what the card will hold: a row
    // activated meanwhile never puts an existing contact under the new one.
    EXPECT_EQ(chooser->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), chooser);
    window.setCurrentRow(1);
    emit window.list()->activated(window.rows().index(1, 0));
    EXPECT_FALSE(card()->isVisible());
    chooser->Option2->setChecked(true);
    chooser->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(card()->isVisible());
    EXPECT_TRUE(card()->isNew);
    card()->setPrpAlteracoes(false);
    card()->close();

    // Quitting with a change on the card.
    search(window, QString());
    window.openContact(13);
    ASSERT_TRUE(card()->isVisible());
    auto* name = card()->ucIDSingular1->findChild<QLineEdit*>(QStringLiteral("txtProfissao"));
    name->setText(QStringLiteral("Outra"));
    emit name->textEdited(name->text());

    windows->queueAnswer(AnswerCancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(card()->isVisible());
    EXPECT_TRUE(card()->prpAlteracoes());
    ASSERT_EQ(windows->messageBoxes().size(), 1u);

    windows->queueAnswer(AnswerNo);
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(card()->isVisible());
    EXPECT_EQ(windows->messageBoxes().size(), 2u) << "asked once per attempt";
}

// The list holds what the user may open, by the masks the card checks with;
// "sa" sees everything only because the masks say so. The window's place,
// size, column widths and sort survive a restart.
TEST_F(HostWindowTest, TheListShowsWhatTheUserMayOpenKeepsItsLayoutAndTakesAndGivesVCards)
{
    HostWindow& window = start(QStringLiteral("joao"), [] {
        // joao opens through his group ($0004) only; it keeps the right on three contacts.
        Data().SqlServer.Execute(QStringLiteral("UPDATE tbTulvas_Contactos_Permitions SET group_code = "
                                                "REPLACE(group_code, '$00041000', '$00040000') "
                                                "WHERE contacto_id NOT IN (1, 13, 33)"));
    });
    EXPECT_EQ(window.rows().rowCount(), 3);
    EXPECT_EQ(window.statusText(), QStringLiteral("Estão listados 3 registos."));
    stop();

    HostWindow& first = start();
    EXPECT_EQ(first.list()->header()->sectionSize(0), vb::twipsToPixels(4800))
        << "a first run shows the columns at their own widths";
    first.resize(1111, 666);
    first.list()->header()->resizeSection(1, 222);
    first.list()->header()->setSortIndicator(1, Qt::DescendingOrder); // by NIF, largest first
    EXPECT_NE(names(first), QStringList()) << "the click lists again";
    EXPECT_GE(first.rows().textAt(0, 1), first.rows().textAt(1, 1));
    first.refreshList();
    EXPECT_EQ(first.list()->header()->sectionSize(1), 222) << "a new search keeps the user's widths";
    first.close();
    stop();
    HostWindow& again = start();
    EXPECT_EQ(again.size(), QSize(1111, 666));
    EXPECT_EQ(again.list()->header()->sectionSize(1), 222);
    EXPECT_EQ(again.list()->header()->sortIndicatorSection(), 1);
    EXPECT_EQ(again.list()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_GE(again.rows().textAt(0, 1), again.rows().textAt(1, 1));
    EXPECT_EQ(again.rows().rowCount(), 43);
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbTulvas_Contactos_Permitions SET user_code = REPLACE(user_code, '$10011111', '$10010111'), "
        "group_code = REPLACE(group_code, '$00011111', '$00010111') WHERE contacto_id = 1"));
    again.refreshList();
    EXPECT_EQ(again.rows().rowCount(), 42) << "no way round the masks for sa";

    // vCard files dropped on the list are imported once: dropped again, their
    // contacts are found and left alone unless the user says to update them.
    // The selection, or the whole list, goes out to a vCard file.
    const int listed = again.rows().rowCount();
    const QString path = dir.filePath(QStringLiteral("nova.vcf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Nova;Pessoa;;;\r\nFN:Pessoa Nova\r\n"
               "EMAIL:pessoa.nova@exemplo.pt\r\nEND:VCARD\r\n");
    file.close();
    const auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* target = again.list()->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
    };
    windows->queueAnswer(AnswerOK);
    drop();
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_EQ(
        windows->messageBoxes()[0].text,
        QStringLiteral("Criados: 1, actualizados: 0, ignorados: 0, recusados: 0.\n\nCriado: Pessoa Nova"));
    EXPECT_EQ(windows->messageBoxes()[0].title, QStringLiteral("Importar vCard"));
    EXPECT_EQ(again.rows().rowCount(), listed + 1);

    windows->clear();
    windows->queueAnswers({AnswerNo, AnswerOK});
    drop();
    const QString made =
        answer(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE nome_union = N'Pessoa Nova'"));
    const QString found = QStringLiteral("Pessoa Nova (já existe como n.º ") + made +
                          QStringLiteral(" Pessoa Nova, com o mesmo e-mail)");
    EXPECT_EQ(windows.texts(),
              (QStringList{
                  QStringLiteral("Este cartão corresponde a um contacto que já existe:\n  ") + found +
                      QStringLiteral("\n\nDeseja actualizar esse contacto com os dados do cartão?"),
                  QStringLiteral("Criados: 0, actualizados: 0, ignorados: 1, recusados: 0.\n\nIgnorado: ") +
                      found}));
    EXPECT_EQ(again.rows().rowCount(), listed + 1);

    windows->clear();
    again.selectRows({0, 2});
    const QString chosen = dir.filePath(QStringLiteral("escolhidos.vcf"));
    windows->queueSaveFileName(chosen);
    windows->queueAnswer(AnswerOK);
    trigger(again, "actExportarVCard");
    ASSERT_EQ(windows->saveDialogs().size(), 1u);
    EXPECT_EQ(windows->saveDialogs()[0].proposedName, QStringLiteral("Contactos.vcf"));
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral("Exportados 2 contacto(s) para «") + chosen + QStringLiteral("».")});
    const QByteArray cards = contents(chosen);
    EXPECT_EQ(cards.count("BEGIN:VCARD"), 2);
    EXPECT_TRUE(cards.contains(("FN:" + again.rows().textAt(2, 0)).toUtf8()));

    windows->clear();
    windows->queueSaveFileName(chosen);
    windows->queueAnswer(AnswerOK);
    trigger(again, "actExportarListaVCard");
    EXPECT_EQ(contents(chosen).count("BEGIN:VCARD"), again.rows().rowCount());
}
