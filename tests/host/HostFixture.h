#pragma once
// The host as a user starts it: a session on a fresh embedded server, signed
// in, its main window shown and active.
#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace hosttest {

class HostFixture : public ::testing::Test {
  protected:
    void SetUp() override { ResetConnectionStateForTests(); }
    void TearDown() override
    {
        session.reset();
        ResetConnectionStateForTests();
    }
    // A session signed in as `user`, its window shown and active.
    // `beforeShowing` runs once signed in, before the list is read.
    HostWindow& start(const QString& user = QStringLiteral("sa"),
                      const std::function<void()>& beforeShowing = {})
    {
        HostOptions options;
        options.dataFolder = dir.filePath(QStringLiteral("servidor"));
        options.windowSettings = dir.filePath(QStringLiteral("janela.conf"));
        session = std::make_unique<HostSession>(options);
        QString problem;
        EXPECT_TRUE(session->prepare(problem)) << problem.toStdString();
        if (user != QStringLiteral("sa"))
            ado::embedded::EmbeddedServer::createLogin(options.dataFolder, user,
                                                       QStringLiteral("senha-de-teste"),
                                                       ado::embedded::HashStrength::Minimal);
        EXPECT_TRUE(session->signIn(user,
                                    user == QStringLiteral("sa") ? QStringLiteral("quarvenses")
                                                                 : QStringLiteral("senha-de-teste"),
                                    problem));
        if (beforeShowing)
            beforeShowing();
        HostWindow& window = session->showMain();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        return window;
    }
    static void press(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QApplication::processEvents();
    }
    static QStringList column(const HostWindow& window, int index)
    {
        QStringList out;
        for (int i = 0; i < window.rows().rowCount(); ++i)
            out << window.rows().textAt(i, index);
        return out;
    }
    static QStringList names(const HostWindow& window) { return column(window, 0); }
    frmInicial* card() const { return session->component().card(); }

    testsupport::ScopedSettings settings;
    ScriptedWindows windows;
    QTemporaryDir dir;
    std::unique_ptr<HostSession> session;
};

} // namespace hosttest
