#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/SentStatements.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace modCheckPermissions;
using testsupport::sentStatements;

namespace {

const QString tulvas = QStringLiteral("tbTulvas_Contactos");

class Rights : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetConnectionStateForTests();
        ado::embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                               QStringLiteral("pw"), false,
                                               ado::embedded::HashStrength::Minimal);
        const QString text =
            QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") + dir.path();
        Conn().strSQLMasterConnString = StringCipher::Encipher(text);
        Data().SqlServer.Open(text);
    }
    void TearDown() override { ResetConnectionStateForTests(); }

    void sql(const QString& statement) { Data().SqlServer.Execute(statement); }
    // A user, a member of the groups given (the first one primary).
    void user(int id, const QString& name, const QString& code, std::initializer_list<int> groups = {})
    {
        sql(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, code) VALUES (%1, '%2', '%3')")
                .arg(id)
                .arg(QString(name).replace(u'\'', QStringLiteral("''")), code));
        for (int group : groups)
            member(id, group, group == *groups.begin());
    }
    void group(int id, const QString& code)
    {
        sql(QStringLiteral("INSERT INTO tbGroups (group_id, descrit, code) VALUES (%1, 'Grupo %1', '%2')")
                .arg(id)
                .arg(code));
    }
    void member(int userId, int groupId, bool primary = false)
    {
        sql(QStringLiteral("INSERT INTO tbGroups_Users_Links (user_id, group_id, predef) VALUES (%1, %2, %3)")
                .arg(userId)
                .arg(groupId)
                .arg(primary ? 1 : 0));
    }
    void rights(int contact, const QString& userMask, const QString& groupMask)
    {
        sql(QStringLiteral("DELETE FROM tbTulvas_Contactos_Permitions WHERE contacto_id = %1").arg(contact));
        sql(QStringLiteral("INSERT INTO tbTulvas_Contactos_Permitions (contacto_id, user_code, group_code) "
                           "VALUES (%1, '%2', '%3')")
                .arg(contact)
                .arg(userMask, groupMask));
    }
    QList<bool> actions(const QString& name, int contact)
    {
        QList<bool> result;
        for (int action = 0; action < 4; ++action)
            result.append(CheckObjectSecurity(name, contact, 2, action));
        return result;
    }

    QTemporaryDir dir;
    testsupport::RecordingReporter reporter;
    ScriptedWindows windows;
};

} // namespace

TEST_F(Rights, TheWorkedStatementIsSentExactly)
{
    group(1, QStringLiteral("G1"));
    group(2, QStringLiteral("G2"));
    user(1, QStringLiteral("ana"), QStringLiteral("U7"), {1, 2});
    rights(123, QStringLiteral("U71000"), QString());
    bool allowed = false;
    const QStringList sent =
        sentStatements([&] { allowed = CheckObjectSecurity(QStringLiteral("ana"), 123, 2, 0); });
    EXPECT_TRUE(allowed);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(
        sent[1],
        QStringLiteral("SELECT * FROM tbTulvas_Contactos_Permitions WHERE (contacto_id = 123) AND (( "
                       "(user_code Like N'%U71[012][012][012]%'  OR group_code LIKE N'%G11[012][012][012]%'  "
                       "OR group_code LIKE N'%G21[012][012][012]%' ) ))"));
    EXPECT_EQ(
        ReadPermitionsDef(QStringLiteral("ana"), {}, true, {}, {}),
        QStringLiteral(
            "( (user_code Like N'%U71%'  OR group_code LIKE N'%G11%'  OR group_code LIKE N'%G21%' )  AND "
            "(user_code NOT LIKE N'%U72%'  AND group_code NOT LIKE N'%G12%'  AND group_code NOT LIKE "
            "N'%G22%' ))"));
}

TEST_F(Rights, TheRightsDigitsDecideEachAction)
{
    group(1, QStringLiteral("$0201"));
    group(2, QStringLiteral("$0202"));
    user(1, QStringLiteral("ana"), QStringLiteral("$0101"), {1});
    user(2, QStringLiteral("rui"), QStringLiteral("$0102"), {1, 2});

    rights(10, QStringLiteral("$01010100"), QString());
    EXPECT_EQ(actions(QStringLiteral("ana"), 10), (QList<bool>{false, true, false, false}))
        << "changes but does not open";
    rights(10, QStringLiteral("$01012222"), QStringLiteral("$02010000"));
    EXPECT_EQ(actions(QStringLiteral("ana"), 10), (QList<bool>{false, false, false, false}))
        << "2 is no grant";
    rights(10, QStringLiteral("$01020000$01012000"), QStringLiteral("$02011001$02020110"));
    EXPECT_EQ(actions(QStringLiteral("rui"), 10), (QList<bool>{true, true, true, true}))
        << "any group grants";
    EXPECT_EQ(actions(QStringLiteral("ana"), 10), (QList<bool>{true, false, false, true}));
    rights(10, QStringLiteral("$01011113"), QStringLiteral("$02013111"));
    EXPECT_EQ(actions(QStringLiteral("ana"), 10), (QList<bool>{false, false, false, false}))
        << "a 3 grants nothing";
    EXPECT_EQ(actions(QStringLiteral("ana"), 11), (QList<bool>{false, false, false, false}))
        << "no row for the record";
    EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("ana"), 10, 77, 0)) << "unknown kind";
    EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("ana"), 10, 2, 5)) << "unknown action";
}

TEST_F(Rights, CreatingNeedsACreateRow)
{
    group(1, QStringLiteral("$0201"));
    user(1, QStringLiteral("ana"), QStringLiteral("$0101"), {1});
    user(2, QStringLiteral("sa"), QStringLiteral("$0100"), {1});
    EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("ana"), 0, 2, Create));
    sql(QStringLiteral("INSERT INTO tbTulvas_Contactos_Permitions_Criar_Users (code) VALUES ('$0101')"));
    EXPECT_TRUE(CheckObjectSecurity(QStringLiteral("ana"), 0, 2, Create)) << "by user alone";
    sql(QStringLiteral("DELETE FROM tbTulvas_Contactos_Permitions_Criar_Users"));
    sql(QStringLiteral("INSERT INTO tbTulvas_Contactos_Permitions_Criar_Groups (code, group_code, user_code) "
                       "VALUES ('$0201', '', '')"));
    EXPECT_TRUE(CheckObjectSecurity(QStringLiteral("ana"), 0, 2, Create)) << "by group alone";

    rights(5, QStringLiteral("$01011111"), QString());
    EXPECT_EQ(actions(QStringLiteral("sa"), 5), (QList<bool>{false, false, false, false}))
        << "sa has no bypass";
    const QStringList sent =
        sentStatements([&] { EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("ana"), 0, 8, Create)); });
    EXPECT_EQ(sent.size(), 0) << "communications have no create check";
    EXPECT_TRUE(reporter.reports().empty());
}

TEST_F(Rights, AUserInNoGroupIsRefusedAndReported)
{
    user(1, QStringLiteral("sozinho"), QStringLiteral("$0101"));
    rights(10, QStringLiteral("$01011111"), QString());
    // Nothing to ask the server: refused without a statement (an empty
    // condition would be invalid SQL, and its failure no answer).
    const QStringList sent =
        sentStatements([&] { EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("sozinho"), 10, 2, Open)); });
    for (const QString& statement : sent)
        EXPECT_FALSE(statement.contains(QStringLiteral("()"))) << statement.toStdString();
    EXPECT_TRUE(reporter.reports().empty());
}

TEST_F(Rights, NamesWithApostrophesAndNullCodesAreHandled)
{
    group(1, QStringLiteral("$0201"));
    user(1, QStringLiteral("O'Brien"), QStringLiteral("$0101"), {1});
    rights(10, QStringLiteral("$01011000"), QString());
    EXPECT_EQ(actions(QStringLiteral("O'Brien"), 10), (QList<bool>{true, false, false, false}));
    EXPECT_FALSE(CheckObjectSecurity(QStringLiteral("x' OR 1=1 --"), 10, 2, Open));

    sql(QStringLiteral("INSERT INTO tbUsers (user_id, descrit, code) VALUES (2, 'semcodigo', NULL)"));
    member(2, 1, true);
    EXPECT_EQ(ReadPermitionsDef(QStringLiteral("semcodigo"), {}, false, QStringLiteral("1"), {}),
              QStringLiteral("( (group_code LIKE N'%$02011%' ) )"));
    rights(11, QString(), QStringLiteral("$02011000"));
    EXPECT_TRUE(CheckObjectSecurity(QStringLiteral("semcodigo"), 11, 2, Open));
}

TEST_F(Rights, DefaultMasksComeFromThePrimaryGroup)
{
    group(1, QStringLiteral("$0201"));
    group(2, QStringLiteral("$0202"));
    user(1, QStringLiteral("sa"), QStringLiteral("$0100"), {1});
    user(2, QStringLiteral("ana"), QStringLiteral("$0101"), {2});
    user(3, QStringLiteral("rui"), QStringLiteral("$0102"));
    member(3, 1); // no primary group
    sql(QStringLiteral("INSERT INTO tbContactos_Tipos (contacto_tipo_id, descrit, related) VALUES (1, "
                       "'Contactos Quarvenses', 'tbTulvas_Contactos')"));
    sql(QStringLiteral("INSERT INTO tbTulvas_Contactos_Permitions_Criar_Groups (code, group_code, user_code) "
                       "VALUES ('$0201', '', '$01001111')"));

    QString name;
    QString groupMask = QStringLiteral("antes");
    QString userMask = QStringLiteral("antes");
    GetDefaultPermitions(name, QStringLiteral("Contactos Quarvenses"), groupMask, userMask);
    EXPECT_EQ(name, QStringLiteral("sa"));
    EXPECT_EQ(groupMask, QStringLiteral("$0001"));
    EXPECT_EQ(userMask, QStringLiteral("$01001111"));

    groupMask = userMask = QStringLiteral("antes");
    GetDefaultPermitions(name, QStringLiteral("Ficheiro Desconhecido"), groupMask, userMask);
    EXPECT_EQ(groupMask, QStringLiteral("antes"));
    EXPECT_EQ(userMask, QStringLiteral("antes"));
    EXPECT_TRUE(windows->messageBoxes().empty());

    QString rui = QStringLiteral("rui");
    windows->queueAnswer(1);
    GetDefaultPermitions(rui, tulvas, groupMask, userMask);
    EXPECT_TRUE(groupMask.isEmpty());
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral("O utilizador não tem um grupo primário definido, deverá "
                                         "comunicar esta situação ao administrador de segurança.")});
    EXPECT_EQ(windows->messageBoxes()[0].style, 16);

    QString ana = QStringLiteral("ana");
    windows->queueAnswer(1);
    GetDefaultPermitions(ana, tulvas, groupMask, userMask);
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(windows->messageBoxes()[1].text,
              QStringLiteral(
                  "O utilizador não pertence a um grupo com permissões para criar um registo no ficheiro "
                  "indicado, deverá pedir ao administrador de segurança para que lhe atribua as permissões "
                  "necessárias."));
    EXPECT_TRUE(reporter.reports().empty());
}

// A code is data: "_" and "%" in a user's or group's code match only
// themselves, so "$100_" gains nothing from the rights of "$1001".
TEST_F(Rights, WildcardsInCodesMatchOnlyThemselves)
{
    group(1, QStringLiteral("$0001"));
    group(2, QStringLiteral("$00[1]"));
    user(1, QStringLiteral("sa"), QStringLiteral("$1001"), {1});
    user(2, QStringLiteral("intruso"), QStringLiteral("$100_"), {2});
    user(3, QStringLiteral("outro"), QStringLiteral("$1%"), {2});
    rights(5, QStringLiteral("$10011111"), QStringLiteral("$00011111"));
    EXPECT_EQ(actions(QStringLiteral("sa"), 5), (QList<bool>{true, true, true, true}));
    EXPECT_EQ(actions(QStringLiteral("intruso"), 5), (QList<bool>{false, false, false, false}));
    EXPECT_EQ(actions(QStringLiteral("outro"), 5), (QList<bool>{false, false, false, false}));
    // Their own entries still count.
    rights(6, QStringLiteral("$100_1000$1%0100"), QStringLiteral("$00[1]0010"));
    EXPECT_EQ(actions(QStringLiteral("intruso"), 6), (QList<bool>{true, false, true, false}));
    EXPECT_EQ(actions(QStringLiteral("outro"), 6), (QList<bool>{false, true, true, false}));
    EXPECT_TRUE(reporter.reports().empty());
}
