#include "platform/ado/SqlCompose.h"
#include "tests/platform/VbFailure.h"
#include <gtest/gtest.h>

using vbtest::errorOf;

// What a piece carries is never read as a placeholder again: markers typed by
// a user, web addresses with escapes, and a piece that looks like SQL.
TEST(SqlCompose, PiecesAreInsertedOnceAndNeverReadAgain)
{
    EXPECT_EQ(sql::compose(u"UPDATE t SET a = %1, b = %2 WHERE id = %3",
                           {QStringLiteral("'%2'"), QStringLiteral("'%1%3'"), 7}),
              QStringLiteral("UPDATE t SET a = '%2', b = '%1%3' WHERE id = 7"));
    EXPECT_EQ(sql::compose(u"%1", {QStringLiteral("'http://x.pt/a%2Fb%3A%L1'")}),
              QStringLiteral("'http://x.pt/a%2Fb%3A%L1'"));
    // Pieces may come in any order and twice; two-digit placeholders are one piece.
    EXPECT_EQ(sql::compose(u"%2-%1-%2", {QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("b-a-b"));
    EXPECT_EQ(sql::compose(u"%10,%1%2%3%4%5%6%7%8%9", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
              QStringLiteral("10,123456789"));
    EXPECT_EQ(sql::compose(u"%1", {qint64(5000000000)}), QStringLiteral("5000000000"));
    // Percent signs of the statement itself stay.
    EXPECT_EQ(sql::compose(u"LIKE '%a%' AND x = %1", {QStringLiteral("1")}),
              QStringLiteral("LIKE '%a%' AND x = 1"));
    EXPECT_EQ(sql::compose(u"LIKE '%%%1%%'", {QStringLiteral("U7")}), QStringLiteral("LIKE '%U7%'"));
    EXPECT_EQ(sql::compose(u"100%", {}), QStringLiteral("100%"));
    // A missing or unused piece is a programming error.
    EXPECT_EQ(errorOf([] { sql::compose(u"a = %2", {QStringLiteral("x")}); }),
              vb::errnum::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] {
                  sql::compose(u"a = %1", {QStringLiteral("x"), QStringLiteral("y")});
              }),
              vb::errnum::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { sql::compose(u"a = %0", {}); }), vb::errnum::InvalidProcedureCall);
}

TEST(SqlCompose, NamesAreDoubledAndCodesBecomeLiteralInsideLike)
{
    EXPECT_EQ(sql::doubled(QStringLiteral("D'Ávila d'Oliveira")), QStringLiteral("D''Ávila d''Oliveira"));
    EXPECT_EQ(sql::likeLiteral(QStringLiteral("$100_")), QStringLiteral("$100[_]"));
    EXPECT_EQ(sql::likeLiteral(QStringLiteral("a%b[c]'")), QStringLiteral("a[%]b[[]c]''"));
    EXPECT_EQ(sql::likeLiteral(QStringLiteral("$0001")), QStringLiteral("$0001"));
}
