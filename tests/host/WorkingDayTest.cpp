// What an office user meets in a day at the host's list: the order of every
// column as a Portuguese reader expects it, a search that finds nothing still
// reading as a list, and Esc that gives the whole list back.
#include "tests/host/HostFixture.h"

#include <QHeaderView>
#include <QLineEdit>

namespace {

class WorkingDay : public hosttest::HostFixture {};

constexpr int localityColumn = 4;

} // namespace

TEST_F(WorkingDay, EveryColumnSortsAsAPortugueseReaderExpects)
{
    HostWindow& window = start();
    window.list()->header()->setSortIndicator(localityColumn, Qt::AscendingOrder);
    QStringList places = column(window, localityColumn);
    places.removeDuplicates();
    places.removeAll(QString());
    ASSERT_TRUE(places.contains(QStringLiteral("Évora")));
    EXPECT_LT(places.indexOf(QStringLiteral("Évora")), places.indexOf(QStringLiteral("Faro")))
        << places.join(u',').toStdString();
    EXPECT_LT(places.indexOf(QStringLiteral("Coimbra")), places.indexOf(QStringLiteral("Évora")));
}

TEST_F(WorkingDay, AnEmptySearchKeepsTheColumnsAndEscGivesTheListBack)
{
    HostWindow& window = start();
    const int all = window.list()->topLevelItemCount();
    window.searchBox()->setFocus();
    QTest::keyClicks(window.searchBox(), QStringLiteral("ninguem com este nome"));
    window.refreshList();
    EXPECT_EQ(window.list()->topLevelItemCount(), 0);
    EXPECT_FALSE(window.list()->isHeaderHidden()) << "the columns stay when nothing is found";
    press(window.searchBox(), Qt::Key_Escape);
    EXPECT_TRUE(window.searchBox()->text().isEmpty());
    EXPECT_EQ(window.list()->topLevelItemCount(), all);
    EXPECT_FALSE(window.list()->isHeaderHidden());
}
