#include "connection/ConnectionState.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScriptedWindows.h"
#include "tests/support/SentStatements.h"
#include <gtest/gtest.h>

using namespace modCheckPermissions;
using testsupport::sentStatements;

namespace {

class Rights : public ::testing::Test {
  protected:
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
    // The user's answer for each action on the contact, as the rights digits
    // are written: open, change, remove, change the rights ("1001").
    QString actions(const QString& name, int contact)
    {
        QString result;
        for (int action = 0; action < 4; ++action)
            result += CheckObjectSecurity(name, contact, 2, action) ? u'1' : u'0';
        return result;
    }

    testsupport::DemoDatabase db{false}; // the catalog with no rows, the component connected
    testsupport::RecordingReporter reporter;
    ScriptedWindows windows;
};

} // namespace

// The rights digits decide each action, for a user of any name, with no code
// of their own, in no group or with wildcards in their codes; creating needs a
// create row of the user's or of a group's, whose masks are a new record's
// defaults; the statement that asks is sent exactly as worked out.
TEST_F(Rights, TheRightsDigitsDecideEachActionAndTheGroupsTheDefaults)
{
    group(1, "$0201");
    group(2, "$0202");
    user(1, "ana", "$0101", {1});
    user(2, "rui", "$0102", {1, 2});
    user(3, "sa", "$0100", {1});
    user(4, "O'Brien", "$0103", {1});
    user(5, "sozinho", "$0104");
    sql("INSERT INTO tbUsers (user_id, descrit, code) VALUES (6, 'semcodigo', NULL)");
    member(6, 1, true);

    rights(10, "$01010100", QString());
    EXPECT_EQ(actions("ana", 10), "0100") << "changes but does not open";
    rights(10, "$01012222", "$02010000");
    EXPECT_EQ(actions("ana", 10), "0000") << "2 is no grant";
    rights(10, "$01020000$01012000", "$02011001$02020110");
    EXPECT_EQ(actions("rui", 10), "1111") << "any group grants";
    EXPECT_EQ(actions("ana", 10), "1001");
    rights(10, "$01011113", "$02013111");
    EXPECT_EQ(actions("ana", 10), "0000") << "a 3 grants nothing";
    EXPECT_EQ(actions("ana", 11), "0000") << "no row for the record";
    EXPECT_FALSE(CheckObjectSecurity("ana", 10, 77, 0)) << "unknown kind";
    EXPECT_FALSE(CheckObjectSecurity("ana", 10, 2, 5)) << "unknown action";

    rights(12, "$01031000", QString());
    EXPECT_EQ(actions("O'Brien", 12), "1000");
    EXPECT_FALSE(CheckObjectSecurity("x' OR 1=1 --", 12, 2, Open));
    EXPECT_EQ(ReadPermitionsDef("semcodigo", {}, false, "1", {}), "( (group_code LIKE N'%$02011%' ) )");
    rights(11, QString(), "$02011000");
    EXPECT_TRUE(CheckObjectSecurity("semcodigo", 11, 2, Open));
    // In no group, nothing to ask the server: refused without a statement (an
    // empty condition would be invalid SQL, and its failure no answer).
    rights(13, "$01041111", QString());
    const QStringList alone =
        sentStatements([&] { EXPECT_FALSE(CheckObjectSecurity("sozinho", 13, 2, Open)); });
    for (const QString& statement : alone)
        EXPECT_FALSE(statement.contains("()")) << statement.toStdString();

    EXPECT_FALSE(CheckObjectSecurity("ana", 0, 2, Create));
    sql("INSERT INTO tbTulvas_Contactos_Permitions_Criar_Users (code) VALUES ('$0101')");
    EXPECT_TRUE(CheckObjectSecurity("ana", 0, 2, Create)) << "by user alone";
    sql("DELETE FROM tbTulvas_Contactos_Permitions_Criar_Users");
    sql("INSERT INTO tbTulvas_Contactos_Permitions_Criar_Groups (code, group_code, user_code) "
        "VALUES ('$0201', '', '')");
    EXPECT_TRUE(CheckObjectSecurity("ana", 0, 2, Create)) << "by group alone";
    rights(5, "$01011111", QString());
    EXPECT_EQ(actions("sa", 5), "0000") << "sa has no bypass";
    const QStringList sent = sentStatements([&] { EXPECT_FALSE(CheckObjectSecurity("ana", 0, 8, Create)); });
    EXPECT_EQ(sent.size(), 0) << "communications have no create check";

    // A code is data: "_" and "%" in a user's or group's code match only
    // themselves, so "$100_" gains nothing from the rights of "$1001".
    group(7, "$0001");
    group(8, "$00[1]");
    group(9, "G1");
    group(10, "G2");
    user(7, "eva", "$1001", {7});
    user(8, "intruso", "$100_", {8});
    user(9, "outro", "$1%", {8});
    user(10, "lia", "U7", {9, 10});
    rights(20, "$10011111", "$00011111");
    EXPECT_EQ(actions("eva", 20), "1111");
    EXPECT_EQ(actions("intruso", 20), "0000");
    EXPECT_EQ(actions("outro", 20), "0000");
    // Their own entries still count.
    rights(21, "$100_1000$1%0100", "$00[1]0010");
    EXPECT_EQ(actions("intruso", 21), "1010");
    EXPECT_EQ(actions("outro", 21), "0110");

    // The statement asked, exactly.
    rights(123, "U71000", QString());
    bool allowed = false;
    const QStringList asked = sentStatements([&] { allowed = CheckObjectSecurity("lia", 123, 2, 0); });
    EXPECT_TRUE(allowed);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(
        asked[1],
        QStringLiteral("SELECT * FROM tbTulvas_Contactos_Permitions WHERE (contacto_id = 123) AND (( "
                       "(user_code Like N'%U71[012][012][012]%'  OR group_code LIKE N'%G11[012][012][012]%'  "
                       "OR group_code LIKE N'%G21[012][012][012]%' ) ))"));
    EXPECT_EQ(
        ReadPermitionsDef("lia", {}, true, {}, {}),
        QStringLiteral(
            "( (user_code Like N'%U71%'  OR group_code LIKE N'%G11%'  OR group_code LIKE N'%G21%' )  AND "
            "(user_code NOT LIKE N'%U72%'  AND group_code NOT LIKE N'%G12%'  AND group_code NOT LIKE "
            "N'%G22%' ))"));

    // A new record's default masks come from the user's primary group, and
    // the user is told when there is none or it may not create.
    user(11, "rita", "$0105", {2});
    user(12, "tiago", "$0106");
    member(12, 1); // no primary group
    sql("INSERT INTO tbContactos_Tipos (contacto_tipo_id, descrit, related) VALUES (1, "
        "'Contactos Quarvenses', 'tbTulvas_Contactos')");
    sql("UPDATE tbTulvas_Contactos_Permitions_Criar_Groups SET user_code = '$01001111' WHERE code = '$0201'");

    QString name;
    QString groupMask = "antes";
    QString userMask = "antes";
    GetDefaultPermitions(name, "Contactos Quarvenses", groupMask, userMask);
    EXPECT_EQ(name, "sa");
    EXPECT_EQ(groupMask, "$0001");
    EXPECT_EQ(userMask, "$01001111");

    groupMask = userMask = "antes";
    GetDefaultPermitions(name, "Ficheiro Desconhecido", groupMask, userMask);
    EXPECT_EQ(groupMask, "antes");
    EXPECT_EQ(userMask, "antes");
    EXPECT_TRUE(windows->messageBoxes().empty());

    QString tiago = "tiago";
    windows->queueAnswer(1);
    GetDefaultPermitions(tiago, "tbTulvas_Contactos", groupMask, userMask);
    EXPECT_TRUE(groupMask.isEmpty());
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral("O utilizador não tem um grupo primário definido, deverá "
                                         "comunicar esta situação ao administrador de segurança.")});
    EXPECT_EQ(windows->messageBoxes()[0].style, 16);

    QString rita = "rita";
    windows->queueAnswer(1);
    GetDefaultPermitions(rita, "tbTulvas_Contactos", groupMask, userMask);
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(windows->messageBoxes()[1].text,
              QStringLiteral(
                  "O utilizador não pertence a um grupo com permissões para criar um registo no ficheiro "
                  "indicado, deverá pedir ao administrador de segurança para que lhe atribua as permissões "
                  "necessárias."));
    EXPECT_TRUE(reporter.reports().empty());
}
