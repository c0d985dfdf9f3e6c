// The host's list read a screen at a time: every screen, in every order and
// for every search, is the contacts' view in that order; the card's
// recordset reads on as it moves; the count comes in slices; and the list
// the server keeps follows every write, also for a catalog made before it.
#include "data/TaxNumber.h"
#include "host/ContactListModel.h"
#include "lists/Lista.h"
#include "permissions/modCheckPermissions.h"
#include "platform/windows/MessageStyle.h"
#include "tests/host/HostFixture.h"
#include "tests/support/CatalogChecks.h"
#include "tools/sql/ContactGenerator.h"

#include <QAction>
#include <QFile>
#include <sqlite3.h>

namespace {

// Names that tie (the same one in another case, or with a space after it),
// sort among accents, or hold an apostrophe; some contacts lack a telephone,
// an e-mail or a locality, so that empty values tie too.
const char16_t* const names[] = {u"Rui Tavares",   u"rui tavares",     u"Rui Tavares ",
                                 u"Rúben Tavares", u"D'Ávila Tavares", u"Ana Tavares"};
const char16_t* const places[] = {u"Évora", u"Porto", u"Ílhavo", u"Lisboa"};
constexpr int added = 260;
const QString catalog = QStringLiteral("Quarvenses");

QString literal(const QString& text)
{
    return QStringLiteral("N'") + sql::doubled(text) + u'\'';
}

void run(const char16_t* pattern, std::initializer_list<sql::Part> parts)
{
    Data().SqlServer.Execute(sql::compose(pattern, parts));
}

void addContacts()
{
    Data().SqlServer.BeginTrans();
    for (int i = 0; i < added; ++i) {
        const QString name = QString::fromUtf16(names[i % std::size(names)]);
        ado::Recordset made = Data().SqlServer.Execute(sql::compose(
            u"INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte) VALUES (1, %1, %2); "
            u"SELECT @@IDENTITY AS novo",
            {literal(name), i % 4 == 0 ? QStringLiteral("NULL") : literal(QString::number(i % 9))}));
        const qint32 id = vb::CLng(made(QStringLiteral("novo")));
        run(u"INSERT INTO tbContactos_Singulares (contacto_id, nome) VALUES (%1, %2)", {id, literal(name)});
        run(u"INSERT INTO tbTulvas_Contactos (contacto_id) VALUES (%1)", {id});
        run(u"INSERT INTO tbTulvas_Contactos_Permitions (contacto_id, user_code, group_code) "
            u"VALUES (%1, N'$10011111', N'$00011111')",
            {id});
        if (i % 3 != 0)
            run(u"INSERT INTO tbContactos_Telefones (contacto_id, numero, telefone_default) VALUES (%1, %2, "
                u"1)",
                {id, literal(QStringLiteral("91 %1").arg(i % 11))});
        if (i % 5 != 0)
            run(u"INSERT INTO tbContactos_Emails (contacto_id, email, email_default) VALUES (%1, %2, 1)",
                {id, literal(QStringLiteral("t%1@exemplo.pt").arg(i % 13))});
        if (i % 7 != 0)
            run(u"INSERT INTO tbContactos_Moradas (contacto_id, localidade, morada_default) VALUES (%1, %2, "
                u"1)",
                {id, literal(QString::fromUtf16(places[i % std::size(places)]))});
    }
    Data().SqlServer.CommitTrans();
}

const char* const fields[] = {"nome_union", "no_contribuinte", "telefone", "email", "localidade"};

qint32 key(const ado::Recordset& rs)
{
    return vb::CLng(rs(QStringLiteral("contacto_id")));
}

// What the contacts' view holds for a typed text, as the list must show it:
// the keys, in the order of a column.
QList<qint32> viewKeys(int column, bool ascending, const QString& typed = {})
{
    const QString direction = ascending ? QStringLiteral("ASC") : QStringLiteral("DESC");
    QString order = QStringLiteral("nome_union COLLATE Latin1_General_CI_AI ") + direction +
                    QStringLiteral(", contacto_id ") + direction;
    if (column > 0)
        order = QString::fromLatin1(fields[column]) + QStringLiteral(" COLLATE Latin1_General_CI_AI ") +
                direction + QStringLiteral(", ") + order;
    const QString pattern = modData::FormatSQLValue(typed, modData::kPattern);
    const QString numbers = modData::FormatSQLValue(QString(typed).remove(u' '), modData::kPattern);
    ado::Recordset rs = Data().SqlServer.Execute(
        sql::compose(u"SELECT contacto_id FROM vwContactos_Quarvenses_Completos WHERE nome_union COLLATE "
                     u"Latin1_General_CI_AI LIKE %1 OR no_contribuinte COLLATE Latin1_General_CI_AI LIKE %1 "
                     u"OR email COLLATE Latin1_General_CI_AI LIKE %1 OR localidade COLLATE "
                     u"Latin1_General_CI_AI LIKE %1 OR REPLACE(telefone, N' ', N'') LIKE %2 OR "
                     u"REPLACE(no_contribuinte, N' ', N'') LIKE %2 ORDER BY %3",
                     {pattern, numbers, order}));
    QList<qint32> keys;
    for (; !rs.Eof(); rs.MoveNext())
        keys << key(rs);
    return keys;
}

QList<qint32> listedKeys(ContactListModel& model)
{
    EXPECT_TRUE(model.readAll());
    QList<qint32> keys;
    for (int row = 0; row < model.rowCount(); ++row)
        keys << model.keyAt(row);
    return keys;
}

ContactListQuery::Settings everyone(int column = 0, bool ascending = true, const QString& typed = {})
{
    return {.typed = typed,
            .openable = modCheckPermissions::OpenCondition(QStringLiteral("sa")),
            .sortColumn = column,
            .ascending = ascending};
}

class ContactList : public hosttest::HostFixture {};

// A statement run on the catalog's file past the server; its answers' first column.
QStringList onFile(const QByteArray& path, const QString& statement)
{
    sqlite3* db = nullptr;
    sqlite3_open(path, &db);
    QStringList out;
    const auto collect = [](void* rows, int, char** values, char**) {
        static_cast<QStringList*>(rows)->append(QString::fromUtf8(values[0]));
        return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, statement.toUtf8().constData(), collect, &out, nullptr), SQLITE_OK)
        << statement.toStdString();
    sqlite3_close(db);
    return out;
}

} // namespace

// One list of many screens, step by step: every screen in every order and
// for every search is the contacts' view's; the count comes in slices; a
// save holds all of it; the card's recordset reads on as it moves; and a
// list that can no longer be read is neither moved through nor saved in part.
TEST_F(ContactList, AListOfManyScreensIsTheViewInEveryOrderAndSearch)
{
    HostWindow& window = start(QStringLiteral("sa"), [] {
        addContacts();
        run(u"UPDATE tbContactos SET nome_union = N'Maria D''Ávila' WHERE nome_union = N'Conceição Lopes'",
            {});
    });
    const QList<qint32> expected = viewKeys(0, true);
    const int all = int(expected.size());
    {
        SCOPED_TRACE("every screen, order and search");
        ContactListModel model({});
        // "tavares" is read from the trigram index, "ta" and "91 1" walk the
        // sorted index; "t1@" finds e-mails, "91 1" spaced telephones; the
        // rest hold what LIKE or SQL would read as their own. The number of
        // contacts found, where it is known.
        const QMap<QString, int> found{{QStringLiteral("antonio"), 2},    {QStringLiteral("d'avila"), 45},
                                       {QStringLiteral("MARIA D'ÁV"), 1}, {QStringLiteral("  marques "), 2},
                                       {QStringLiteral("50%'; --"), 0},   {QStringLiteral("*ar?"), 0}};
        for (const char* const typed :
             {"",        "tavares",    "ta",        "91 1",       "t1@",  "évora", "antonio",
              "d'avila", "MARIA D'ÁV", "ana silva", "  marques ", "ç",    "Ã",     "_",
              "[a-c]",   "o'",         "50%'; --",  "%d",         "*ar?", "j_ao",  "exemplo.pt"})
            for (int column = 0; column < int(std::size(fields)); ++column)
                for (const bool ascending : {true, false}) {
                    const QString text = QString::fromUtf8(typed);
                    SCOPED_TRACE(text.toStdString() + " " + fields[column] + (ascending ? " ASC" : " DESC"));
                    ASSERT_TRUE(model.list(everyone(column, ascending, text)));
                    const QList<qint32> keys = viewKeys(column, ascending, text);
                    EXPECT_EQ(listedKeys(model), keys);
                    EXPECT_TRUE(QTest::qWaitFor([&] { return model.total() >= 0; }, 5000));
                    EXPECT_EQ(model.total(), keys.size());
                    EXPECT_EQ(model.recordset(0).RecordCount(), keys.size())
                        << "the card moves through these";
                    EXPECT_EQ(keys.size(), found.value(text, int(keys.size())));
                }
    }
    {
        SCOPED_TRACE("the count in slices");
        ContactListModel model({});
        model.setCountSlice(40);
        QStringList said;
        QObject::connect(&model, &ContactListModel::counted, [&](const QString& text) { said << text; });
        ASSERT_TRUE(model.list(everyone()));
        ASSERT_EQ(said.size(), 1);
        EXPECT_TRUE(said.first().startsWith(QStringLiteral("A contar os registos: ")))
            << said.first().toStdString();
        EXPECT_EQ(model.total(), -1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return said.last() == Lista::countLine(all); }, 5000));
        EXPECT_EQ(model.total(), all);

        said.clear();
        ASSERT_TRUE(model.list(everyone()));
        ASSERT_TRUE(model.list(everyone(0, true, QStringLiteral("tavares"))));
        const QString searched = Lista::countLine(int(viewKeys(0, true, QStringLiteral("tavares")).size()));
        QTest::qWait(200);
        EXPECT_EQ(said.last(), searched) << "the first list's slices stopped";
        EXPECT_EQ(said.count(searched), 1);
    }
    // Printed or saved, the list is all of it, not the screens read so far.
    ContactListModel& model = window.rows();
    ASSERT_LT(model.rowCount(), all - ContactListModel::pageRows) << "the screens shown read";
    const int lastRead = model.rowCount() - 1;
    const QString path = dir.filePath(QStringLiteral("lista.csv"));
    windows->queueSaveFileName(path);
    trigger(window, "actExportarCsv");
    EXPECT_EQ(contents(path).count('\n'), all + 1) << "a header and every contact";
    window.refreshList();

    SCOPED_TRACE("the card's recordset");
    ado::Recordset rs = model.recordset(lastRead);
    EXPECT_EQ(rs.RecordCount(), all);
    rs.MoveNext();
    EXPECT_EQ(key(rs), expected.at(lastRead + 1)) << "the next screen read on";
    rs.MoveLast();
    EXPECT_EQ(key(rs), expected.last());
    EXPECT_EQ(rs.AbsolutePosition(), all);
    for (int back = 1; back <= ContactListModel::pageRows + 50; ++back) {
        rs.MovePrevious();
        ASSERT_EQ(key(rs), expected.at(all - 1 - back)) << back;
    }
    rs.MoveFirst();
    EXPECT_EQ(key(rs), expected.first());
    EXPECT_EQ(rs.AbsolutePosition(), 1);
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    rs.MoveNext();

    // The card's own buttons go through the same list, and the list finds
    // the contact the card closed on, beyond the screens it had read.
    window.openContact(expected.at(lastRead));
    ASSERT_TRUE(card()->isVisible());
    card()->moveNext();
    EXPECT_EQ(card()->Contacto_ID, expected.at(lastRead + 1));
    card()->moveLast();
    EXPECT_EQ(card()->Contacto_ID, expected.last());
    card()->movePrevious();
    EXPECT_EQ(card()->Contacto_ID, expected.at(all - 2));
    card()->close();
    EXPECT_EQ(window.rows().keyAt(window.currentRow()), expected.at(all - 2));

    // A read that fails leaves the cursor where it was, and nothing is saved.
    window.refreshList();
    run(u"DROP TABLE tbContactos_Lista", {});
    EXPECT_THROW(rs.MoveLast(), vb::Error);
    EXPECT_EQ(key(rs), expected.first());
    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerOK);
    trigger(window, "actExportarCsv");
    EXPECT_TRUE(windows->saveDialogs().empty()) << "nothing offered to save";
    ASSERT_EQ(windows.texts().size(), 1);
    EXPECT_TRUE(windows.texts().first().startsWith(QStringLiteral("Não foi possível listar os contactos: ")))
        << windows.texts().first().toStdString();
}

// Every write to a contact, its telephones, e-mails and addresses reaches
// its row of the list, and the trigram index agrees with the rows; a catalog
// made before the list gets it, whole, from the first session that opens it.
TEST_F(ContactList, TheListFollowsEveryWriteAndACatalogMadeBeforeItGetsIt)
{
    HostWindow& window = start();
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbContactos SET nome_union = N'Zulmira Quintela' WHERE contacto_id = 13; "
        "INSERT INTO tbContactos_Telefones (contacto_id, numero, telefone_default) VALUES (13, N'96 000', "
        "0); "
        "UPDATE tbContactos_Telefones SET telefone_default = 0 WHERE contacto_id = 1; "
        "INSERT INTO tbContactos_Telefones (contacto_id, numero, telefone_default) VALUES (1, N'96 111', 1); "
        "UPDATE tbContactos_Emails SET email = N'outro@exemplo.pt' WHERE contacto_id = 2; "
        "DELETE FROM tbContactos_Moradas WHERE contacto_id = 3; "
        "UPDATE tbContactos_Moradas SET contacto_id = 5 WHERE contacto_id = 4; "
        "EXECUTE spDELETE_CONTACTO 6"));
    EXPECT_EQ(testsupport::incompleteContacts(folder(), catalog), QStringList());
    EXPECT_EQ(testsupport::searchIndexIntegrity(folder(), catalog), QStringLiteral("ok"));
    search(window, QStringLiteral("quintela"));
    EXPECT_EQ(names(window), QStringList{QStringLiteral("Zulmira Quintela")});
    search(window, QStringLiteral("96111"));
    ASSERT_EQ(window.rows().rowCount(), 1);
    EXPECT_EQ(window.rows().keyAt(0), 1);

    search(window, QString());
    const int all = window.rows().rowCount();
    stop();
    const QByteArray path = QFile::encodeName(ado::embedded::EmbeddedServer::catalogPath(folder(), catalog));
    // The list's indexes and triggers, set aside while its rows are written, all come back.
    const QString objects =
        QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type IN ('index', 'trigger')");
    const QStringList before = onFile(path, objects);
    QStringList drops{QStringLiteral("DROP TABLE tbContactos_Lista_Trigramas"),
                      QStringLiteral("DROP TABLE tbContactos_Lista"),
                      QStringLiteral("DROP TABLE tbContactos_Duplicados_Rejeitados"),
                      QStringLiteral("DROP TABLE tbContactos_Fusoes")};
    for (const QString& trigger : onFile(
             path,
             QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger' AND name LIKE '%Lista%'")))
        drops.prepend(QStringLiteral("DROP TRIGGER \"%1\"").arg(trigger));
    for (const QString& drop : drops)
        onFile(path, drop);
    HostWindow& again = start();
    EXPECT_EQ(again.rows().rowCount(), all);
    EXPECT_EQ(onFile(path, objects), before);
    // And the tables added since (pairs kept apart, merges) are there to use.
    EXPECT_NO_THROW(Data().SqlServer.Execute(
        QStringLiteral("SELECT COUNT(*) FROM tbContactos_Duplicados_Rejeitados, tbContactos_Fusoes")));
    EXPECT_EQ(testsupport::incompleteContacts(folder(), catalog), QStringList());
    EXPECT_EQ(testsupport::searchIndexIntegrity(folder(), catalog), QStringLiteral("ok"));
}

// Thousands of contacts are printed or saved only when the user says so.
TEST_F(ContactList, AWholeLargeListIsSavedOnlyWhenTheUserSaysSo)
{
    HostWindow& window = start(QStringLiteral("sa"), [this] {
        ado::embedded::addGeneratedContacts(ado::embedded::EmbeddedServer::catalogPath(folder(), catalog),
                                            {6000, &TaxNumber::checkDigit});
    });
    const int all = window.rows().total();
    ASSERT_GT(all, 6000);
    windows->queueAnswer(platform::msgbox::AnswerNo);
    trigger(window, "actExportarCsv");
    EXPECT_EQ(windows.texts(), QStringList{QStringLiteral("A lista tem ") + QString::number(all) +
                                           QStringLiteral(" contactos e todos serão incluídos. Continuar?\n\n"
                                                          "Pode pesquisar ou escolher um tipo ou um ficheiro "
                                                          "para listar menos.")});
    EXPECT_TRUE(windows->saveDialogs().empty());
    EXPECT_LT(window.rows().rowCount(), all) << "nothing more was read";
}
