#pragma once
// The host as a user starts it: a session on a fresh embedded server, signed
// in, its main window shown and active.
#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/Conversions.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
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
    void TearDown() override { stop(); }
    // A session on the fixture's folder (or on `data`), its server and settings prepared.
    HostSession& prepare(const QString& data = {})
    {
        HostOptions options;
        options.dataFolder = data.isEmpty() ? folder() : data;
        options.windowSettings = dir.filePath(QStringLiteral("janela.conf"));
        session = std::make_unique<HostSession>(options);
        QString problem;
        EXPECT_TRUE(session->prepare(problem)) << problem.toStdString();
        return *session;
    }
    // A session signed in as `user`, its window shown and active.
    // `beforeShowing` runs once signed in, before the list is read.
    HostWindow& start(const QString& user = QStringLiteral("sa"),
                      const std::function<void()>& beforeShowing = {})
    {
        prepare();
        if (user != QStringLiteral("sa"))
            ado::embedded::EmbeddedServer::createLogin(folder(), user, QStringLiteral("senha-de-teste"),
                                                       ado::embedded::HashStrength::Minimal);
        QString problem;
        EXPECT_TRUE(session->signIn(user,
                                    user == QStringLiteral("sa") ? QStringLiteral("quarvenses")
                                                                 : QStringLiteral("senha-de-teste"),
                                    problem));
        if (beforeShowing)
            beforeShowing();
        return show();
    }
    HostWindow& show()
    {
        HostWindow& window = session->showMain();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        return window;
    }
    // The session ended as quitting ends it, so that the next start begins afresh.
    void stop()
    {
        session.reset();
        ResetConnectionStateForTests();
    }
    QString folder() const { return dir.filePath(QStringLiteral("servidor")); }
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
    // What the list shows for `text`, as the search box lists it after a pause.
    static void search(HostWindow& window, const QString& text)
    {
        window.searchBox()->setText(text);
        window.searchList();
    }
    static void trigger(const QWidget& widget, const char* action)
    {
        QAction* found = widget.findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }
    // What a file the host wrote holds; empty, and a failure, when it cannot be read.
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }
    // The first value the server answers a statement with.
    static QString answer(const QString& statement)
    {
        return vb::CStr(Data().SqlServer.Execute(statement).Fields(0).Value());
    }
    static QStringList names(const HostWindow& window) { return column(window, 0); }
    frmInicial* card() const { return session->component().card(); }

    testsupport::ScopedSettings settings;
    ScriptedWindows windows;
    QTemporaryDir dir;
    std::unique_ptr<HostSession> session;
};

} // namespace hosttest
