#include "data/modCode.h"
#include "tests/card/CardFixture.h"

namespace {

using CardSave = cardtest::CardFixture;

} // namespace

TEST_F(CardSave, ChangesAreMarkedSavedAndAskedAbout)
{
    frmInicial& card = open(13);
    EXPECT_EQ(card.toolbarImage(QStringLiteral("btGravar")), 1);
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Solicitadora d'Ourém"));
    EXPECT_TRUE(card.prpAlteracoes());
    EXPECT_EQ(card.toolbarImage(QStringLiteral("btGravar")), 11);
    EXPECT_TRUE(card.findChild<QAction*>(QStringLiteral("mnGravar"))->isEnabled());
    ASSERT_TRUE(save(card));
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), QStringLiteral("Solicitadora d'Ourém"));
    EXPECT_FALSE(card.prpAlteracoes());
    EXPECT_EQ(card.toolbarImage(QStringLiteral("btGravar")), 1);
    EXPECT_FALSE(modCode::IsInTransaction());

    // No: nothing written; Cancel on closing keeps the card open.
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Outra"));
    windows->queueAnswer(7);
    EXPECT_EQ(card.AskForSavings(), 7);
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral(
                  "Foram feitas alterações a esta ficha.\n\r\n\rDeseja gravar as alterações efectuadas?")});
    EXPECT_EQ(windows->messageBoxes()[0].style, 35);
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), QStringLiteral("Solicitadora d'Ourém"));
    windows->queueAnswer(2);
    card.close();
    EXPECT_TRUE(card.isVisible());
    windows->queueAnswer(6);
    card.close();
    EXPECT_FALSE(card.isVisible());
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), QStringLiteral("Outra"));
}

TEST_F(CardSave, ADuplicateTaxNumberInAFileBlocksTheSave)
{
    const QString other = stored("no_contribuinte", "tbContactos", 14);
    frmInicial& card = open(13);
    type(card.ucIDSingular1, "txtNIF", QString(other).insert(3, u' '));
    windows->queueAnswer(1);
    EXPECT_FALSE(save(card));
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_TRUE(windows->messageBoxes()[0].text.startsWith(
        QStringLiteral("Não é possível gravar este contacto porque já existe na base de dados no(s) "
                       "seguinte(s) ficheiro(s):\n\r\n\r")));
    EXPECT_TRUE(windows->messageBoxes()[0].text.endsWith(
        QStringLiteral("\n\r\n\rO número de contribuinte é o de ") + stored("nome_union", "tbContactos", 14) +
        QStringLiteral(" (n.º 14).")))
        << "the contact that holds it is named";
    EXPECT_TRUE(windows->messageBoxes()[0].text.contains(QStringLiteral("Contactos Quarvenses")));
    EXPECT_NE(db.value("SELECT replace(no_contribuinte,' ','') FROM tbContactos WHERE contacto_id = 13"),
              other);
    EXPECT_TRUE(card.prpAlteracoes()) << "the changes are still pending";
}

TEST_F(CardSave, TheRightsTabWritesTheMasksAsShown)
{
    frmInicial& card = open(5);
    card.selectTab(3);
    const QString before = stored("user_code", "tbTulvas_Contactos_Permitions", 5);
    ASSERT_TRUE(save(card, 3));
    EXPECT_EQ(stored("user_code", "tbTulvas_Contactos_Permitions", 5), before) << "unchanged byte for byte";
    card.ucIDPermitions1->setRight(0, 1, u'0');
    ASSERT_TRUE(save(card, 3));
    EXPECT_EQ(stored("user_code", "tbTulvas_Contactos_Permitions", 5), card.ucIDPermitions1->UserMask());
    EXPECT_NE(card.ucIDPermitions1->UserMask(), before);
}
