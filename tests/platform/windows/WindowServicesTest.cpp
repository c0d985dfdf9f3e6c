#include "platform/values/VbError.h"
#include "platform/windows/QtWindowServices.h"
#include "platform/windows/ShellCommand.h"
#include "tests/support/ScriptedWindows.h"
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform;

TEST(WindowState, PointerAndStateFollowVbValuesAndTheStatusWindowComesAndGoes)
{
    QWidget form;
    form.show();
    QtWindowServices qt;
    EXPECT_EQ(qt.mousePointer(&form), 0);
    qt.setMousePointer(&form, 11);
    EXPECT_EQ(qt.mousePointer(&form), 11);
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    qt.setMousePointer(&form, 0);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);

    qt.setMousePointer(nullptr, 11);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    qt.setMousePointer(nullptr, 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    qt.setWindowState(&form, 1);
    EXPECT_EQ(qt.windowState(&form), 1);
    qt.setWindowState(&form, 2);
    EXPECT_EQ(qt.windowState(&form), 2);
    qt.setWindowState(&form, 0);
    EXPECT_EQ(qt.windowState(&form), 0);
    qt.repaint(&form);
    qt.repaint(nullptr);

    // The status window shows its text and closes by itself or when asked.
    qt.showStatus(nullptr, QStringLiteral("A restabelecer a ligação ao servidor de dados…"), 0);
    QPointer<QWidget> first = qt.statusWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->findChild<QLabel*>(QStringLiteral("statusText"))->text(),
              QStringLiteral("A restabelecer a ligação ao servidor de dados…"));
    qt.closeStatus();
    QTest::qWait(10);
    EXPECT_FALSE(first); // deleted on close

    qt.showStatus(nullptr, QStringLiteral("Ligação restabelecida."), 30);
    QPointer<QWidget> second = qt.statusWindow();
    ASSERT_TRUE(second);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }, 2000));
}

TEST(ScriptedWindowServices, RecordsPointerStateShellMailStatusAndSoundInOrder)
{
    ScriptedWindows windows;
    QWidget form;
    WindowServices& s = WindowServices::current();
    s.setMousePointer(&form, 11);
    s.setWindowState(&form, 1);
    s.showStatus(&form, QStringLiteral("A restabelecer"), 0);
    s.closeStatus();
    s.setWindowState(&form, 0);
    s.setMousePointer(&form, 0);
    EXPECT_TRUE(s.shellExecute(&form, QStringLiteral("print"), QStringLiteral("/tmp/a.doc"),
                               QStringLiteral("/tmp/")));
    EXPECT_FALSE(s.shellExecute(&form, QStringLiteral("explore"), QStringLiteral("/tmp"), {}));
    EXPECT_TRUE(s.sendMail(MailMessage{{QStringLiteral("/tmp/a.doc")},
                                       QStringLiteral("Informação sobre Recibos"),
                                       QStringLiteral(" \n\r"),
                                       {}}));
    EXPECT_EQ(windows->eventKinds(), (QStringList{"mousePointer", "windowState", "status", "closeStatus",
                                                  "windowState", "mousePointer", "shell", "shell", "mail"}));
    EXPECT_EQ(windows->events()[1].window, &form);
    EXPECT_EQ(windows->events()[1].value, 1);
    EXPECT_EQ(s.mousePointer(&form), 0);
    ASSERT_EQ(windows->shellCalls().size(), 2u);
    EXPECT_EQ(windows->shellCalls()[0].workingFolder, QStringLiteral("/tmp/"));
    ASSERT_EQ(windows->mails().size(), 1u);
    EXPECT_EQ(windows->mails()[0].subject, QStringLiteral("Informação sobre Recibos"));

    // Without a mail client the user is told so and nothing is sent.
    windows->mailClientConfigured = false;
    windows->queueAnswer(1);
    EXPECT_FALSE(s.sendMail(MailMessage{}));
    EXPECT_EQ(windows->mails().size(), 1u);
    EXPECT_EQ(windows->messageBoxes().back().text, noMailClientMessage());

    // Sound: the file is read as a real device would read it.
    const QString click = QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/SMCLICK1.WAV");
    EXPECT_TRUE(s.playWave(click));
    windows->waveDeviceBusy = true;
    EXPECT_FALSE(s.playWave(click));
    EXPECT_EQ(windows->playedWaves(), QStringList{click});
    EXPECT_THROW(s.playWave(QStringLiteral("/nonexistent/SMCLICK1.WAV")), vb::Error);
}

TEST(ShellCommand, OpensThroughTheDesktopPrintsThroughCupsAndMailsThroughXdgEmail)
{
    EXPECT_EQ(shellCommandFor(QStringLiteral("open"), QStringLiteral("/d/carta.doc")),
              (ShellCommand{QStringLiteral("xdg-open"), {QStringLiteral("/d/carta.doc")}}));
    EXPECT_EQ(shellCommandFor(QStringLiteral("OPEN"), QStringLiteral("-x.doc"))->arguments,
              QStringList{QStringLiteral("./-x.doc")});
    // A word-processor document goes to its program; CUPS cannot read it.
    EXPECT_EQ(shellCommandFor(QStringLiteral("print"), QStringLiteral("/d/carta.doc"))->program,
              QStringLiteral("xdg-open"));
    if (!QStandardPaths::findExecutable(QStringLiteral("lp")).isEmpty()) {
        EXPECT_EQ(
            shellCommandFor(QStringLiteral("print"), QStringLiteral("/d/carta.pdf")),
            (ShellCommand{QStringLiteral("lp"), {QStringLiteral("--"), QStringLiteral("/d/carta.pdf")}}));
    }
    EXPECT_FALSE(shellCommandFor(QStringLiteral("edit"), QStringLiteral("/d/carta.doc")));

    // Mail goes to xdg-email with plain line breaks.
    const ShellCommand c = mailCommandFor(MailMessage{{QStringLiteral("/tmp/r.doc")},
                                                      QStringLiteral("Assunto"),
                                                      QStringLiteral(" \n\r\n\rExmos Senhores,\n\r"),
                                                      QStringLiteral("a@b.pt")});
    EXPECT_EQ(c.program, QStringLiteral("xdg-email"));
    EXPECT_EQ(c.arguments, (QStringList{"--subject", "Assunto", "--body", " \n\nExmos Senhores,\n",
                                        "--attach", "/tmp/r.doc", "a@b.pt"}));
    EXPECT_FALSE(mailCommandFor(MailMessage{}).arguments.contains(QStringLiteral("--subject")));
}

TEST(QtSaveDialog, HonoursTitleFolderFiltersAndProposedName)
{
    QTemporaryDir dir;
    SaveFileRequest r;
    r.title = QStringLiteral("Mailing Personalizado");
    r.initialFolder = dir.path();
    r.filters = {{QString(), QStringLiteral("doc")}, {QStringLiteral("*.*"), QStringLiteral("*.*")}};
    r.proposedName = QStringLiteral("carta.doc");
    r.hideReadOnly = true;
    auto dialog = QtWindowServices::buildSaveDialog(r);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Mailing Personalizado"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
    // "doc" means *.doc; a filter without a description shows its pattern.
    EXPECT_EQ(dialog->nameFilters(), (QStringList{"*.doc (*.doc)", "*.* (*.*)"}));
    EXPECT_EQ(qtNameFilter({QStringLiteral("Documentos"), QStringLiteral("*.doc;*.rtf")}),
              QStringLiteral("Documentos (*.doc *.rtf)"));

    // Accepting the proposed name gives its full path.
    QtWindowServices qt;
    QTimer::singleShot(0, [] {
        auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        static_cast<QDialog*>(shown)->accept();
    });
    r.filters = {{QStringLiteral("Todos"), QStringLiteral("*")}};
    r.proposedName = QStringLiteral("carta.doc");
    EXPECT_EQ(qt.saveFileName(r), dir.filePath(QStringLiteral("carta.doc")));
    QTimer::singleShot(0, [] {
        if (auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            static_cast<QDialog*>(shown)->reject();
    });
    EXPECT_EQ(qt.saveFileName(r), QString());
}
