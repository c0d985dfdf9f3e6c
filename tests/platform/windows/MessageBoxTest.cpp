#include "platform/windows/MessageStyle.h"
#include "platform/windows/QtWindowServices.h"
#include "tests/support/ScriptedWindows.h"
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace platform;

TEST(MessageStyle, DecodesVbStyleBits)
{
    struct Decoded {
        int style;
        std::vector<int> answers;
        MessageIcon icon;
        int defaultIndex;
        int escapeAnswer;
        bool systemModal;
    };
    // VB's Yes/No box ignores Escape; a default button beyond the buttons
    // there are falls back to the first.
    const Decoded styles[] = {
        {0, {1}, MessageIcon::None, 0, 1, false},
        {1 + 48, {1, 2}, MessageIcon::Exclamation, 0, 2, false},
        {3 + 32 + 512, {6, 7, 2}, MessageIcon::Question, 2, 2, false},
        {4 + 64 + 256, {6, 7}, MessageIcon::Information, 1, 0, false},
        {4112, {1}, MessageIcon::Critical, 0, 1, true},
        {0 + 512, {1}, MessageIcon::None, 0, 1, false},
    };
    for (const Decoded& expected : styles) {
        const MessageStyle style = decodeMessageStyle(expected.style);
        EXPECT_EQ(style.answers, expected.answers) << expected.style;
        EXPECT_EQ(style.icon, expected.icon) << expected.style;
        EXPECT_EQ(style.defaultIndex, expected.defaultIndex) << expected.style;
        EXPECT_EQ(style.escapeAnswer, expected.escapeAnswer) << expected.style;
        EXPECT_EQ(style.systemModal, expected.systemModal) << expected.style;
    }
}

TEST(MessageStyle, ShowsEachOfTheSystemsLineBreaksAsOne)
{
    EXPECT_EQ(messageBoxText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    EXPECT_EQ(messageBoxText(QStringLiteral("a\nb\rc")), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(messageBoxText(QStringLiteral("guardado.\n\r\n\rPara ver")),
              QStringLiteral("guardado.\n\nPara ver"));
    EXPECT_EQ(messageBoxText(QStringLiteral("Formato Incorrecto:\n\nHKEY_")),
              QStringLiteral("Formato Incorrecto:\n\nHKEY_"));
}

TEST(QtMessageBox, HasTheButtonsIconAndTextsOfItsStyleAndAnswersWithTheButtonsNumber)
{
    auto box = QtWindowServices::buildMessageBox(QStringLiteral("Gravar?\n\rSim ou não"), 3 + 32 + 256, {});
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Contactos Quarvenses"));
    EXPECT_EQ(box->text(), QStringLiteral("Gravar?\nSim ou não"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));

    auto security = QtWindowServices::buildMessageBox(QStringLiteral("Não tem permissões"), 4112,
                                                      QStringLiteral("Sistema de Segurança"));
    EXPECT_EQ(security->windowTitle(), QStringLiteral("Sistema de Segurança"));
    EXPECT_EQ(security->icon(), QMessageBox::Critical);
    EXPECT_EQ(security->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(security->windowFlags() & Qt::WindowStaysOnTopHint);

    // Shown, it answers with the VB number of the button clicked.
    QtWindowServices qt;
    auto clickLater = [](QMessageBox::StandardButton which) {
        QTimer::singleShot(0, [which] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            box->button(which)->click();
        });
    };
    clickLater(QMessageBox::No);
    EXPECT_EQ(qt.messageBox(QStringLiteral("?"), 4, QStringLiteral("t")), 7);
    clickLater(QMessageBox::Cancel);
    EXPECT_EQ(qt.messageBox(QStringLiteral("?"), 1, QStringLiteral("t")), 2);
    clickLater(QMessageBox::Yes);
    EXPECT_EQ(qt.messageBox(QStringLiteral("?"), 3, QStringLiteral("t")), 6);
}

TEST(ScriptedMessageBox, FailsTheTestOnABoxNobodyExpectedAndPutsBackWhatItReplaced)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            EXPECT_EQ(WindowServices::current().messageBox(QStringLiteral("surpresa"), 1, {}), 2);
        },
        "surpresa");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            EXPECT_EQ(WindowServices::current().messageBox(QStringLiteral("ok"), 0, {}), 1);
        },
        "nobody expected");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            EXPECT_EQ(WindowServices::current().messageBox(QStringLiteral("yn"), 4, {}), 7);
        },
        "nobody expected");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            windows->queueSaveFileName(QStringLiteral("/tmp/x.doc"));
        },
        "save-dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            windows->queueAnswer(6);
        },
        "never used");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedWindows windows;
            windows->queueAnswer(6); // Yes on an OK box
            WindowServices::current().messageBox(QStringLiteral("x"), 0, {});
        },
        "not a button");

    // Each puts back the services it replaced.
    WindowServices* before = &WindowServices::current();
    {
        ScriptedWindows outer;
        {
            ScriptedWindows inner;
            EXPECT_EQ(&WindowServices::current(), &inner.services());
        }
        EXPECT_EQ(&WindowServices::current(), &outer.services());
    }
    EXPECT_EQ(&WindowServices::current(), before);
}
