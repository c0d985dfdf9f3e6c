#include "host/LoginDialog.h"
#include "panels/ucIDSingular.h"
#include "settings/modRegistry.h"
#include "tests/host/HostFixture.h"
#include "tests/support/EnvGuard.h"
#include <QFileInfo>
#include <QLineEdit>

namespace {

class Host : public hosttest::HostFixture {};

} // namespace

TEST_F(Host, FirstRunSignsInListsAndOpensAContactAndDataNamesTheCatalogOpened)
{
    HostSession& first = prepare();
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("/Quarvenses.db")));
    const vb::Variant stored = modRegistry::ObterValorString(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"), QStringLiteral("dtPassword"));
    ASSERT_FALSE(stored.isNull());
    EXPECT_NE(vb::CStr(stored), QStringLiteral("quarvenses")) << "the stored password is enciphered";
    EXPECT_EQ(vb::CLng(modRegistry::ObterValorDWORD(
                  QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Shared\\TLV\\frm001"),
                  QStringLiteral("AutoSize"))),
              0)
        << "the card reopens where it was left";

    EXPECT_EQ(LoginDialog().windowTitle(), QStringLiteral("Entrar"))
        << "the application's name is the desktop's";
    QString problem;
    EXPECT_FALSE(first.signIn(QStringLiteral("sa"), QStringLiteral("errada"), problem));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Não foi possível entrar")));
    ASSERT_TRUE(first.signIn(QStringLiteral("sa"), QStringLiteral("quarvenses"), problem));

    HostWindow& window = show();

    // A contact renamed on the card moves to its new place in the list,
    // once, and stays selected; a new one appears when its card closes.
    window.openContact(37); // António Jesus
    auto* name = card()->ucIDSingular1->findChild<QLineEdit*>(QStringLiteral("txtNome"));
    name->setText(QStringLiteral("Zacarias"));
    emit name->textEdited(name->text());
    qint32 tab = 1;
    ASSERT_TRUE(card()->GravarCampos(tab));
    const int rows = window.rows().rowCount();
    card()->close();
    EXPECT_EQ(window.rows().rowCount(), rows);
    EXPECT_EQ(window.lastClosedOn(), 37);
    EXPECT_EQ(window.rows().keyAt(window.currentRow()), 37);
    EXPECT_EQ(window.rows().textAt(window.currentRow(), 0), QStringLiteral("Zacarias Jesus"));
    int seen = 0;
    for (int i = 0; i < window.rows().rowCount(); ++i)
        seen += window.rows().keyAt(i) == 37;
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(window.currentRow(), rows - 1) << "sorted by name: last";

    // A second start finds everything in place.
    stop();
    start();
    stop();

    // --data names the catalog of that run, whatever settings an earlier run
    // left; those settings are not rewritten for it.
    testsupport::EnvGuard home("XDG_DATA_HOME", dir.filePath(QStringLiteral("casa")).toUtf8());
    const auto run = [&](const QString& data) {
        QString problem;
        EXPECT_TRUE(prepare(data).signIn(QStringLiteral("sa"), QStringLiteral("quarvenses"), problem));
        const QString opened = Conn().strDataSource;
        stop();
        return opened;
    };
    const QString firstData = dir.filePath(QStringLiteral("primeira"));
    const QString secondData = dir.filePath(QStringLiteral("segunda"));
    EXPECT_EQ(run(firstData), firstData);
    const QByteArray firstSettings = qgetenv("QUARVENSES_COMMON_APPDATA");
    EXPECT_EQ(run(secondData), secondData);
    EXPECT_TRUE(QFileInfo::exists(secondData + QStringLiteral("/Quarvenses.db")));
    EXPECT_EQ(run(secondData), secondData) << "again, from its own settings";
    qputenv("QUARVENSES_COMMON_APPDATA", firstSettings);
    EXPECT_EQ(vb::CStr(modRegistry::ObterValorString(
                  QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                  QStringLiteral("dtDataSource"))),
              firstData)
        << "the first catalog's settings are as they were";
    EXPECT_EQ(run(firstData), firstData);
}
