#include "card/frmInicial.h"
#include "component/General.h"
#include "connection/ConnectionState.h"
#include "host/HostSession.h"
#include "host/HostWindow.h"
#include "panels/ucIDSingular.h"
#include "platform/values/Conversions.h"
#include "settings/modRegistry.h"
#include "tests/support/EnvGuard.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

TEST(Host, FirstRunSignsInListsAndOpensAContact)
{
    ResetConnectionStateForTests();
    testsupport::ScopedSettings settings;
    ScriptedWindows windows;
    QTemporaryDir dir;
    HostOptions options;
    options.dataFolder = dir.filePath(QStringLiteral("servidor"));
    options.windowSettings = dir.filePath(QStringLiteral("janela.conf"));
    {
        HostSession session(options);
        QString problem;
        ASSERT_TRUE(session.prepare(problem)) << problem.toStdString();
        EXPECT_TRUE(QFileInfo::exists(options.dataFolder + QStringLiteral("/Quarvenses.db")));
        const vb::Variant stored = modRegistry::ObterValorString(
            QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
            QStringLiteral("dtPassword"));
        ASSERT_FALSE(stored.isNull());
        EXPECT_NE(vb::CStr(stored), QStringLiteral("quarvenses")) << "the stored password is enciphered";
        EXPECT_EQ(vb::CLng(modRegistry::ObterValorDWORD(
                      QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001"),
                      QStringLiteral("AutoSize"))),
                  0)
            << "the card reopens where it was left";

        EXPECT_FALSE(session.signIn(QStringLiteral("sa"), QStringLiteral("errada"), problem));
        EXPECT_TRUE(problem.startsWith(QStringLiteral("Não foi possível entrar")));
        ASSERT_TRUE(session.signIn(QStringLiteral("sa"), QStringLiteral("quarvenses"), problem));

        HostWindow& window = session.showMain();
        EXPECT_GE(window.rows().rowCount(), 40);
        EXPECT_TRUE(window.statusText().startsWith(QStringLiteral("Estão listados ")));

        window.openContact(1);
        frmInicial* card = session.component().card();
        ASSERT_NE(card, nullptr);
        EXPECT_TRUE(card->isVisible());
        EXPECT_EQ(card->Contacto_ID, 1);
        card->moveNext();
        const qint32 shown = card->Contacto_ID;
        card->close();
        EXPECT_EQ(window.lastClosedOn(), shown);
        EXPECT_EQ(window.rows().keyAt(window.currentRow()), shown);

        // A contact renamed on the card moves to its new place in the list,
        // once, and stays selected; a new one appears when its card closes.
        window.openContact(37); // António Jesus
        card = session.component().card();
        auto* first = card->ucIDSingular1->findChild<QLineEdit*>(QStringLiteral("txtNome"));
        first->setText(QStringLiteral("Zacarias"));
        emit first->textEdited(first->text());
        qint32 tab = 1;
        ASSERT_TRUE(card->GravarCampos(tab));
        const int rows = window.rows().rowCount();
        card->close();
        EXPECT_EQ(window.rows().rowCount(), rows);
        EXPECT_EQ(window.rows().keyAt(window.currentRow()), 37);
        EXPECT_EQ(window.rows().textAt(window.currentRow(), 0), QStringLiteral("Zacarias Jesus"));
        int seen = 0;
        for (int i = 0; i < window.rows().rowCount(); ++i)
            seen += window.rows().keyAt(i) == 37;
        EXPECT_EQ(seen, 1);
        EXPECT_EQ(window.currentRow(), rows - 1) << "sorted by name: last";
    }
    ResetConnectionStateForTests();

    // A second start finds everything in place.
    HostSession again(options);
    QString problem;
    ASSERT_TRUE(again.prepare(problem));
    EXPECT_TRUE(again.signIn(QStringLiteral("sa"), QStringLiteral("quarvenses"), problem));
    ResetConnectionStateForTests();
}

// --data names the catalog of that run, whatever settings an earlier run
// left; those settings are not rewritten for it.
TEST(Host, TheDataFolderNamedIsTheOneOpened)
{
    ResetConnectionStateForTests();
    testsupport::ScopedSettings settings;
    ScriptedWindows windows;
    QTemporaryDir dir;
    testsupport::EnvGuard home("XDG_DATA_HOME", dir.filePath(QStringLiteral("casa")).toUtf8());
    const auto run = [&](const QString& folder) {
        HostOptions options;
        options.dataFolder = folder;
        HostSession session(options);
        QString problem;
        EXPECT_TRUE(session.prepare(problem)) << problem.toStdString();
        EXPECT_TRUE(session.signIn(QStringLiteral("sa"), QStringLiteral("quarvenses"), problem));
        const QString opened = Conn().strDataSource;
        ResetConnectionStateForTests();
        return opened;
    };
    const QString first = dir.filePath(QStringLiteral("primeira"));
    const QString second = dir.filePath(QStringLiteral("segunda"));
    EXPECT_EQ(run(first), first);
    const QByteArray firstSettings = qgetenv("QUARVENSES_COMMON_APPDATA");
    EXPECT_EQ(run(second), second);
    EXPECT_TRUE(QFileInfo::exists(second + QStringLiteral("/Quarvenses.db")));
    EXPECT_EQ(run(second), second) << "again, from its own settings";
    qputenv("QUARVENSES_COMMON_APPDATA", firstSettings);
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(
                  QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                  QStringLiteral("dtDataSource"))),
              first)
        << "the first catalog's settings are as they were";
    EXPECT_EQ(run(first), first);
}
