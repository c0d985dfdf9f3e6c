// The host's main window as an office user works it: the keyboard, the
// search that waits for a pause and ignores accents, the layout kept between
// runs, and quitting with unsaved changes on the card.
#include "host/HostWindow.h"
#include "card/frmInicial.h"
#include "card/frmNovo.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "host/HostSession.h"
#include "host/LoginDialog.h"
#include "panels/ucIDSingular.h"
#include "platform/ado/StatementTrace.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"
#include "platform/values/Twips.h"
#include "platform/windows/MessageStyle.h"
#include "tests/host/HostFixture.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace platform::msgbox;

namespace {

class HostWindowTest : public hosttest::HostFixture {};

} // namespace

TEST_F(HostWindowTest, SearchWaitsForAPauseAndIgnoresAccents)
{
    HostWindow& window = start();
    const int all = window.list()->topLevelItemCount();
    press(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), window.searchBox()) << "Ctrl+F goes to the search box";
    QTest::keyClicks(window.searchBox(), QStringLiteral("antonio"));
    EXPECT_EQ(window.list()->topLevelItemCount(), all) << "no search while typing";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.list()->topLevelItemCount() != all; }, 2000));
    EXPECT_EQ(names(window),
              (QStringList{QStringLiteral("António Jesus"), QStringLiteral("António Marques")}));
}

// The list's contacts in order, as the server lists them for the statement
// the list says it holds.
QStringList serverNames(const HostWindow& window)
{
    ado::Recordset server;
    server.Open(const_cast<HostWindow&>(window).filler().Recordset.Source(), Data().SqlServer);
    QStringList names;
    for (; !server.Eof(); server.MoveNext())
        names << vb::CStr(server(QStringLiteral("nome_union")));
    return names;
}

// Searches for the typed text as the search pause does; the statements it sent.
int searchFor(HostWindow& window, const QString& text)
{
    window.searchBox()->setText(text);
    int statements = 0;
    const ado::ScopedTrace trace([&](const ado::TraceEntry&) { ++statements; });
    window.searchList();
    return statements;
}

// The search filters the last read in memory: it must list exactly what the
// server lists for the same typed text, in the same order, and ask it nothing.
TEST_F(HostWindowTest, TheSearchListsWhatTheServerWouldWithoutAskingIt)
{
    HostWindow& window = start(QStringLiteral("sa"), [] {
        Data().SqlServer.Execute(QStringLiteral("UPDATE tbContactos SET nome_union = 'Maria D' + CHAR(39) + "
                                                "'Ávila' WHERE nome_union = 'Conceição Lopes'"));
    });
    const QList<std::pair<QString, int>> typed = {
        {QStringLiteral("antonio"), 2},    {QStringLiteral("d'avila"), 2},
        {QStringLiteral("MARIA D'ÁV"), 1}, {QStringLiteral("ana silva"), -1},
        {QStringLiteral("  marques "), 2}, {QStringLiteral("ç"), -1},
        {QStringLiteral("Ã"), -1},         {QStringLiteral("_"), -1},
        {QStringLiteral("[a-c]"), -1},     {QStringLiteral("o'"), -1},
        {QStringLiteral("50%'; --"), 0},   {QStringLiteral("%d"), -1},
        {QStringLiteral(""), -1}};
    for (const auto& [text, expected] : typed) {
        EXPECT_EQ(searchFor(window, text), 0) << "typing asks the server nothing: " << text.toStdString();
        const QStringList fromServer = serverNames(window);
        EXPECT_EQ(names(window), fromServer) << "searching " << text.toStdString();
        if (expected >= 0) {
            EXPECT_EQ(fromServer.size(), expected) << "searching " << text.toStdString();
        }
        EXPECT_EQ(window.filler().Recordset.RecordCount(), fromServer.size())
            << "the card moves through what is listed";
    }
}

TEST_F(HostWindowTest, TheSearchShowsTheLastReadAndF5ReadsAgain)
{
    HostWindow& window = start();
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbContactos SET nome_union = 'Zulmira Marques' WHERE nome_union = 'Conceição Lopes'"));
    EXPECT_EQ(searchFor(window, QStringLiteral("zulmira")), 0);
    EXPECT_EQ(names(window), QStringList());
    press(&window, Qt::Key_F5);
    EXPECT_EQ(names(window), QStringList{QStringLiteral("Zulmira Marques")})
        << "F5 reads the server, the search stays";
    EXPECT_EQ(window.searchBox()->text(), QStringLiteral("zulmira"));
    // That read was for "zulmira" only: a narrower search is answered from it,
    // a wider one reads the whole list once, and then needs nothing again.
    EXPECT_EQ(searchFor(window, QStringLiteral("zulmira marq")), 0);
    EXPECT_EQ(names(window), QStringList{QStringLiteral("Zulmira Marques")});
    EXPECT_GT(searchFor(window, QStringLiteral("marques")), 0) << "wider than the read";
    EXPECT_EQ(names(window), serverNames(window));
    EXPECT_EQ(names(window).size(), 3);
    EXPECT_EQ(searchFor(window, QStringLiteral("zul")), 0);
    EXPECT_EQ(searchFor(window, QString()), 0);
    EXPECT_EQ(names(window), serverNames(window));
}

// A read the server refuses leaves the list as it was and says why, whether
// F5 asked for it or a wider search did.
TEST_F(HostWindowTest, AListTheServerCannotReadKeepsTheRowsAndSaysSo)
{
    HostWindow& window = start();
    window.searchBox()->setText(QStringLiteral("marques"));
    window.refreshList();
    const QStringList shown = names(window);
    ASSERT_EQ(shown.size(), 2);
    Data().SqlServer.Execute(QStringLiteral("DROP VIEW vwContactos_Quarvenses_Completos"));
    press(&window, Qt::Key_F5);
    EXPECT_EQ(names(window), shown);
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Não foi possível listar os contactos: ")))
        << window.statusText().toStdString();
    EXPECT_GT(searchFor(window, QStringLiteral("ma")), 0) << "wider than the read";
    EXPECT_EQ(names(window), shown);
    EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Não foi possível listar os contactos: ")));
}

TEST_F(HostWindowTest, EveryCommandIsReachedFromTheKeyboard)
{
    HostWindow& window = start();
    window.searchBox()->setFocus();
    QTest::keyClicks(window.searchBox(), QStringLiteral("marques"));
    press(window.searchBox(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), window.list()) << "Down goes from the search to the list";
    ASSERT_EQ(window.list()->topLevelItemCount(), 2) << "Down searched what was typed";
    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    press(window.list(), Qt::Key_Return);
    ASSERT_NE(card(), nullptr);
    EXPECT_TRUE(card()->isVisible()) << "Enter opens the selected contact";
    const qint32 opened = card()->Contacto_ID;
    EXPECT_EQ(Lista::keyOf(window.list()->topLevelItem(1)), QString::number(opened) + u'#');
    card()->close();

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.list()->setCurrentItem(window.list()->topLevelItem(0));
    press(&window, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(card()->isVisible()) << "Ctrl+O opens";
    EXPECT_NE(card()->Contacto_ID, opened);
    card()->close();

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.searchBox()->clear();
    press(&window, Qt::Key_F5);
    EXPECT_GE(window.list()->topLevelItemCount(), 40) << "F5 lists again";

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
    window.list()->setCurrentItem(window.list()->topLevelItem(1));
    emit window.list()->itemActivated(window.list()->topLevelItem(1), 0);
    EXPECT_FALSE(card()->isVisible());
    chooser->Option2->setChecked(true);
    chooser->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(card()->isVisible());
    EXPECT_TRUE(card()->isNew);
    card()->setPrpAlteracoes(false);
    card()->close();
}

TEST_F(HostWindowTest, PlaceSizeColumnsAndSortSurviveARestart)
{
    {
        HostWindow& window = start();
        EXPECT_EQ(window.list()->header()->sectionSize(0), vb::twipsToPixels(4800))
            << "a first run shows the columns at their own widths";
        window.resize(1111, 666);
        window.list()->header()->resizeSection(1, 222);
        window.list()->header()->setSortIndicator(1, Qt::DescendingOrder); // by NIF, largest first
        const QStringList byNif = names(window);
        EXPECT_NE(byNif, QStringList()) << "the click lists again";
        EXPECT_GE(window.list()->topLevelItem(0)->text(1), window.list()->topLevelItem(1)->text(1));
        window.refreshList();
        EXPECT_EQ(window.list()->header()->sectionSize(1), 222) << "a new search keeps the user's widths";
        window.close();
        session.reset();
        ResetConnectionStateForTests();
    }
    HostWindow& again = start();
    EXPECT_EQ(again.size(), QSize(1111, 666));
    EXPECT_EQ(again.list()->header()->sectionSize(1), 222);
    EXPECT_EQ(again.list()->header()->sortIndicatorSection(), 1);
    EXPECT_EQ(again.list()->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_GE(again.list()->topLevelItem(0)->text(1), again.list()->topLevelItem(1)->text(1));
}

TEST_F(HostWindowTest, QuittingWithUnsavedChangesAsksOnceAndCancelKeepsEverything)
{
    HostWindow& window = start();
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
// "sa" sees everything only because the masks say so.
TEST_F(HostWindowTest, TheListShowsOnlyWhatTheUserMayOpen)
{
    HostWindow& window = start(QStringLiteral("joao"), [] {
        // joao opens through his group ($0004) only; it keeps the right on three contacts.
        Data().SqlServer.Execute(QStringLiteral("UPDATE tbTulvas_Contactos_Permitions SET group_code = "
                                                "REPLACE(group_code, '$00041000', '$00040000') "
                                                "WHERE contacto_id NOT IN (1, 13, 33)"));
    });
    EXPECT_EQ(window.list()->topLevelItemCount(), 3);
    EXPECT_EQ(window.statusText(), QStringLiteral("Estão listados 3 registos."));
    session.reset();
    ResetConnectionStateForTests();

    HostWindow& admin = start();
    EXPECT_EQ(admin.list()->topLevelItemCount(), 43);
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbTulvas_Contactos_Permitions SET user_code = REPLACE(user_code, '$10011111', '$10010111'), "
        "group_code = REPLACE(group_code, '$00011111', '$00010111') WHERE contacto_id = 1"));
    admin.refreshList();
    EXPECT_EQ(admin.list()->topLevelItemCount(), 42) << "no way round the masks for sa";
}

// vCard files dropped on the list are imported once: dropped again, their
// contacts are found and left alone unless the user says to update them.
TEST_F(HostWindowTest, VCardFilesDroppedOnTheListAreImportedOnce)
{
    HostWindow& window = start();
    const int listed = window.list()->topLevelItemCount();
    const QString path = dir.filePath(QStringLiteral("nova.vcf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Nova;Pessoa;;;\r\nFN:Pessoa Nova\r\n"
               "EMAIL:pessoa.nova@exemplo.pt\r\nEND:VCARD\r\n");
    file.close();
    const auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* target = window.list()->viewport();
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
    EXPECT_EQ(window.list()->topLevelItemCount(), listed + 1);

    windows->clear();
    windows->queueAnswers({AnswerNo, AnswerOK});
    drop();
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    const QString question = windows->messageBoxes()[0].text;
    EXPECT_TRUE(question.startsWith(QStringLiteral(
        "Este cartão corresponde a um contacto que já existe:\n  Pessoa Nova (já existe como n.º ")))
        << question.toStdString();
    EXPECT_TRUE(
        question.endsWith(QStringLiteral(" Pessoa Nova, com o mesmo e-mail)\n\nDeseja actualizar esse "
                                         "contacto com os dados do cartão?")))
        << question.toStdString();
    EXPECT_TRUE(windows->messageBoxes()[1].text.startsWith(QStringLiteral(
        "Criados: 0, actualizados: 0, ignorados: 1, recusados: 0.\n\nIgnorado: Pessoa Nova (já "
        "existe como n.º ")))
        << windows->messageBoxes()[1].text.toStdString();
    EXPECT_TRUE(
        windows->messageBoxes()[1].text.endsWith(QStringLiteral(" Pessoa Nova, com o mesmo e-mail)")));
    EXPECT_EQ(window.list()->topLevelItemCount(), listed + 1);
}

TEST_F(HostWindowTest, TheSelectionOrTheWholeListGoesToAVCardFile)
{
    HostWindow& window = start();
    window.list()->clearSelection();
    window.list()->topLevelItem(0)->setSelected(true);
    window.list()->topLevelItem(2)->setSelected(true);
    const QString path = dir.filePath(QStringLiteral("escolhidos.vcf"));
    windows->queueSaveFileName(path);
    windows->queueAnswer(AnswerOK);
    window.findChild<QAction*>(QStringLiteral("actExportarVCard"))->trigger();
    ASSERT_EQ(windows->saveDialogs().size(), 1u);
    EXPECT_EQ(windows->saveDialogs()[0].proposedName, QStringLiteral("Contactos.vcf"));
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral("Exportados 2 contacto(s) para «") + path + QStringLiteral("».")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray cards = file.readAll();
    EXPECT_EQ(cards.count("BEGIN:VCARD"), 2);
    EXPECT_TRUE(cards.contains(("FN:" + window.list()->topLevelItem(2)->text(0)).toUtf8()));

    windows->clear();
    windows->queueSaveFileName(path);
    windows->queueAnswer(AnswerOK);
    window.findChild<QAction*>(QStringLiteral("actExportarListaVCard"))->trigger();
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll().count("BEGIN:VCARD"), window.list()->topLevelItemCount());
}

TEST(HostLogin, TheTitleLeavesTheApplicationsNameToTheDesktop)
{
    LoginDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Entrar"));
}
