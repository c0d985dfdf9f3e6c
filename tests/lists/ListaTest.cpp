#include "lists/Lista.h"
#include "platform/values/Conversions.h"
#include "platform/values/Regional.h"
#include "platform/values/Twips.h"
#include "tests/support/TestServer.h"
#include <QSignalSpy>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class ListaTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        vb::setRegional(vb::Regional::ptPT());
        connection.Open(server.connectionString());
        connection.Execute(
            QStringLiteral("CREATE TABLE c (id INT, nome NVARCHAR(40), genero INT, valor FLOAT)"));
        connection.Execute(QStringLiteral(
            "INSERT INTO c VALUES (123, 'Ana', 1, 1234.5), (7, NULL, 2, NULL), (NULL, 'sem chave', 1, 0)"));
        lista.List = &view;
        lista.Key_Field = QStringLiteral("id");
    }
    ado::Recordset rows(const QString& sql = QStringLiteral("SELECT * FROM c ORDER BY id DESC"))
    {
        return connection.Execute(sql);
    }

    adotest::EmbeddedTestServer server;
    ado::Connection connection;
    QTreeWidget view;
    Lista lista;
};

} // namespace

TEST_F(ListaTest, FillsItemsWithKeysFormatsAndIconsAndTellsWhatGoesWrong)
{
    lista.AddHeader(QStringLiteral("nome"), {}, 0, 2);
    lista.AddHeader(QStringLiteral("valor"), QStringLiteral("Valor"), 1500, 1, QStringLiteral("#,##0.00"));
    QPixmap red(16, 16);
    red.fill(Qt::red);
    lista.IList = {QIcon(red), QIcon(red)};
    lista.AddCondition(QStringLiteral("genero"), vb::Variant(2), 2);
    EXPECT_FALSE(lista.AddCondition(QString(), vb::Variant(1), 1));
    EXPECT_FALSE(lista.AddCondition(QStringLiteral("genero"), vb::Variant(1), 0));
    QSignalSpy filled(&lista, &Lista::Filled);
    QSignalSpy counted(&lista, &Lista::Listed);
    lista.Fill(rows());
    ASSERT_EQ(filled.count(), 1);
    EXPECT_EQ(lista.ItemsCount, 2) << "the row without a key is skipped";
    EXPECT_EQ(view.topLevelItemCount(), 2);
    EXPECT_EQ(Lista::keyOf(view.topLevelItem(0)), QStringLiteral("123#"));
    EXPECT_EQ(Lista::ConvertKey(Lista::keyOf(view.topLevelItem(0))), QStringLiteral("123"));
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Ana"));
    EXPECT_EQ(view.topLevelItem(0)->text(1), QStringLiteral("1.234,50"));
    EXPECT_EQ(view.topLevelItem(1)->text(0), QString()) << "Null shows as empty text";
    EXPECT_TRUE(view.topLevelItem(0)->icon(0).isNull());
    EXPECT_FALSE(view.topLevelItem(1)->icon(0).isNull());
    EXPECT_EQ(view.headerItem()->text(0), QStringLiteral("nome")) << "an empty caption shows the field name";
    EXPECT_EQ(view.columnWidth(0), vb::twipsToPixels(1000)) << "width 0 shows 1000 wide";
    EXPECT_TRUE(view.headerItem()->textAlignment(0) & Qt::AlignLeft)
        << "the first column is always left-aligned";
    EXPECT_EQ(view.toolTip(), QStringLiteral("Estão listados 3 registos."));
    EXPECT_EQ(counted.last()[0].toString(), view.toolTip());
    EXPECT_EQ(lista.viewStyle(), 3);

    // Right after a fill the recordset stands at its end: refreshing a row changes nothing.
    connection.Execute(QStringLiteral("UPDATE c SET nome = 'Outra' WHERE id = 123"));
    lista.Refresh(1);
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Ana"));
    lista.Recordset.MoveFirst();
    lista.Refresh(1);
    EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("Outra"));
    lista.Refresh(0);
    EXPECT_EQ(view.topLevelItemCount(), 2);
    EXPECT_EQ(vb::CStr(lista.Return_FieldValue(QStringLiteral("7#"), QStringLiteral("genero"))),
              QStringLiteral("2"));

    // What goes wrong is told, and counted in the Erro signal.
    QSignalSpy errors(&lista, &Lista::Erro);
    EXPECT_FALSE(lista.AddHeader(QString()));
    EXPECT_EQ(lista.ErrorDescription, QStringLiteral("Field não especificado"));
    lista.AddHeader(QStringLiteral("nome"));

    lista.Fill(rows(QStringLiteral("SELECT * FROM c WHERE id = 999")));
    EXPECT_EQ(lista.ErrorNumber, 3021);
    EXPECT_EQ(view.toolTip(), QStringLiteral("Estão listados 0 registos."));
    EXPECT_EQ(lista.ItemsCount, 0);
    lista.Fill(rows(QStringLiteral("SELECT * FROM c WHERE id = 123")));
    EXPECT_EQ(view.toolTip(), QStringLiteral("Está listado 1 registo.")) << "one is said in the singular";

    connection.Execute(QStringLiteral("INSERT INTO c VALUES (7, 'repetido', 1, 1)"));
    lista.Fill(rows());
    EXPECT_EQ(lista.ErrorNumber, 35602);
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_EQ(lista.viewStyle(), 0);

    lista.Recordset = ado::Recordset::nothing();
    lista.Fill(ado::Recordset::nothing());
    EXPECT_EQ(lista.ErrorDescription,
              QStringLiteral("Não foi especificado um Recordset ou ListView válido!"));
    lista.Key_Field.clear();
    lista.Fill(rows());
    EXPECT_EQ(lista.ErrorDescription, QStringLiteral("Tem de especificar um Key_Field"));
    EXPECT_EQ(errors.count(), 5);
}

TEST_F(ListaTest, ClearingHeadersKeepsTheOlderSlots)
{
    lista.AddHeader(QStringLiteral("nome"), QStringLiteral("Nome"));
    lista.AddHeader(QStringLiteral("genero"), QStringLiteral("Género"));
    lista.AddHeader(QStringLiteral("valor"), QStringLiteral("Valor"));
    lista.ClearHeaders();
    lista.AddHeader(QStringLiteral("id"), QStringLiteral("N.º"));
    lista.Fill(rows());
    ASSERT_EQ(view.columnCount(), 3);
    EXPECT_EQ(view.headerItem()->text(0), QStringLiteral("N.º"));
    EXPECT_EQ(view.headerItem()->text(1), QStringLiteral("Género"));
    EXPECT_TRUE(lista.EditHeader(1, QStringLiteral("nome"), QString(), 0, 1));
    lista.Fill_Headers();
    EXPECT_EQ(view.headerItem()->text(1), QStringLiteral("Género")) << "an empty caption keeps the old one";
    lista.Clear();
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_TRUE(lista.Recordset.isNothing());
}
