// Removing a contact (everywhere, or from this file only) and converting it
// between individual and institution, through the card's own commands.
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"

namespace {

using namespace platform::msgbox;

class Removing : public cardtest::CardFixture {
  protected:
    // No row names the contact in any table (leaving its rows out changes
    // nothing), and no relation points to it.
    bool noRowsOf(qint32 id) const
    {
        const QString catalog = QStringLiteral("Quarvenses");
        return testsupport::catalogFingerprint(db.folder(), catalog, {}, id) ==
                   testsupport::catalogFingerprint(db.folder(), catalog) &&
               db.count("SELECT COUNT(*) FROM tbContactos_Relacionados WHERE related_contacto_id = %1", id) ==
                   0;
    }
    QString boxText(size_t i) const
    {
        return i < windows->messageBoxes().size() ? windows->messageBoxes()[i].text : QString();
    }
};

const QString oneFileQuestion = QStringLiteral(
    "Este contacto pertence ao ficheiro: \n\r\n\rContactos Quarvenses\n\r\n\rDeseja eliminar este contacto? "
    "- "
    "Clique em 'Sim' para apagar definitivamente este contacto do ficheiro de Contactos Quarvenses.");

} // namespace

TEST_F(Removing, SeveralFilesAndConversionsBothWays)
{
    frmInicial& card = open(6); // Contactos Quarvenses, Clientes and Fornecedores
    windows->queueAnswers({AnswerYes, AnswerCancel});
    card.mnRemover_Click();
    EXPECT_TRUE(boxText(1).startsWith(
        QStringLiteral("Este contacto pertence a vários ficheiros, nomeadamente: \n\r\n\r")));
    EXPECT_TRUE(boxText(1).endsWith(
        QStringLiteral("clique em 'Não' para apenas apagar no ficheiro de Contactos Quarvenses.")))
        << "the file's name, not the card's caption";
    EXPECT_EQ(windows->messageBoxes()[1].style, YesNoCancel | Question);
    EXPECT_TRUE(card.isVisible()) << "Cancel keeps the card";

    windows->queueAnswers({AnswerYes, AnswerNo});
    card.mnRemover_Click();
    EXPECT_FALSE(card.isVisible());
    EXPECT_EQ(rows("tbTulvas_Contactos", 6), 0);
    EXPECT_EQ(rows("tbTulvas_Contactos_Permitions", 6), 0);
    EXPECT_EQ(rows("tbClientes", 6), 1) << "the other files keep it";
    EXPECT_EQ(rows("tbContactos", 6), 1);

    frmInicial& other = open(9); // Contactos Quarvenses and Clientes
    windows->queueAnswers({AnswerYes, AnswerYes});
    other.mnRemover_Click();
    EXPECT_FALSE(other.isVisible());
    EXPECT_TRUE(noRowsOf(9)) << "no row of the contact left in any table";

    // Conversions both ways keep the other detail row.
    open(35); // Maria Marques, an individual
    for (int round = 0; round < 2; ++round) {
        windows->queueAnswer(AnswerYes);
        card.findChild<QAction*>(QStringLiteral("mnConverterInstitucional"))->trigger();
        EXPECT_EQ(stored("genero_id", "tbContactos", 35), QStringLiteral("2"));
        EXPECT_FALSE(card.isSingular());
        EXPECT_TRUE(card.ucIDInstitucional1->isVisibleTo(&card));
        EXPECT_TRUE(card.findChild<QAction*>(QStringLiteral("mnConverterSingular"))->isVisible());
        EXPECT_EQ(card.windowTitle(), QStringLiteral("Maria Marques"));
        windows->queueAnswer(AnswerYes);
        card.findChild<QAction*>(QStringLiteral("mnConverterSingular"))->trigger();
        EXPECT_EQ(stored("genero_id", "tbContactos", 35), QStringLiteral("1"));
        EXPECT_TRUE(card.isSingular());
        EXPECT_EQ(card.windowTitle(), QStringLiteral("Sra. Marques, Maria"))
            << "the kept detail row, not a new one";
    }
    EXPECT_EQ(rows("tbContactos_Institucionais", 35), 1);
    EXPECT_EQ(rows("tbContactos_Singulares", 35), 1);
    EXPECT_FALSE(card.prpAlteracoes());

    // An institution with apostrophes in its name and no individual's row yet.
    sql("UPDATE tbContactos SET nome_union = 'Oficina d''Aldeia' WHERE contacto_id = 8");
    general.ObjectOpen(hostList, vb::Variant(8));
    windows->queueAnswer(AnswerYes);
    card.mnConverterSingular_Click();
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 8), QStringLiteral("Oficina d'Aldeia"));
    // No: nothing written.
    windows->queueAnswer(AnswerNo);
    card.mnConverterInstitucional_Click();
    EXPECT_EQ(stored("genero_id", "tbContactos", 8), QStringLiteral("1"));

    // Pending edits: Cancel keeps them and the kind; No gives them up and converts.
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Por gravar"));
    windows->queueAnswers({AnswerYes, AnswerCancel});
    card.mnConverterInstitucional_Click();
    EXPECT_EQ(stored("genero_id", "tbContactos", 8), QStringLiteral("1"));
    EXPECT_TRUE(card.prpAlteracoes());
    windows->queueAnswers({AnswerYes, AnswerNo});
    card.mnConverterInstitucional_Click();
    EXPECT_EQ(stored("genero_id", "tbContactos", 8), QStringLiteral("2"));
    EXPECT_NE(stored("profissao", "tbContactos_Singulares", 8), QStringLiteral("Por gravar"));
    EXPECT_FALSE(card.prpAlteracoes());

    // An institution without a name stays as it is.
    general.ObjectOpen(hostList, vb::Variant(3));
    windows->clear();
    sql("UPDATE tbContactos SET nome_union = NULL WHERE contacto_id = 3");
    windows->queueAnswers({AnswerYes, AnswerOK});
    card.mnConverterSingular_Click();
    EXPECT_EQ(boxText(1), QStringLiteral("Não foi possivel converter este contacto."));
    EXPECT_EQ(stored("genero_id", "tbContactos", 3), QStringLiteral("2"));
}

TEST_F(Removing, ProtectedContactsContactsInNoFileOrInOne)
{
    frmInicial& card = open(2); // user_delete = 1
    windows->queueAnswer(AnswerOK);
    card.mnRemover_Click();
    EXPECT_EQ(boxText(0),
              QStringLiteral("Não é possível remover esta ficha porque está protegida pelo sistema."));
    EXPECT_TRUE(card.isVisible());
    // Asked all the same, the server's procedure refuses: that is shown, and
    // the card closes all the same.
    qint32 id = 2;
    bool inactive = false;
    windows->clear();
    windows->queueAnswer(AnswerOK);
    EXPECT_TRUE(card.Apagar_Contacto(id, inactive, AnswerYes));
    EXPECT_EQ(boxText(0),
              QStringLiteral(
                  "Erro: não é possível eliminar o registo porque o contacto está protegido pelo sistema."));
    EXPECT_EQ(rows("tbContactos", 2), 1);
    EXPECT_EQ(Data().SqlServer.TransactionLevel(), 0);

    // In no file: nothing to delete, the card closes.
    sql("DELETE FROM tbContactos_Tipos_Links WHERE contacto_id = 7");
    general.ObjectOpen(hostList, vb::Variant(7));
    windows->clear();
    windows->queueAnswer(AnswerYes);
    card.mnRemover_Click();
    EXPECT_FALSE(card.isVisible());
    EXPECT_EQ(rows("tbContactos", 7), 1);

    // A membership whose file type is gone reads as a file without a name:
    // the contact can still be deleted.
    sql("INSERT INTO tbContactos_Tipos_Links (contacto_id, contacto_tipo_id) VALUES (9, 999)");
    general.ObjectOpen(hostList, vb::Variant(9));
    windows->clear();
    windows->queueAnswers({AnswerYes, AnswerYes});
    card.mnRemover_Click();
    EXPECT_TRUE(boxText(1).startsWith(
        QStringLiteral("Este contacto pertence a vários ficheiros, nomeadamente: \n\r\n\r")));
    EXPECT_FALSE(card.isVisible());
    EXPECT_EQ(rows("tbContactos", 9), 0);

    // A contact in one file gets the two-button question; No keeps it open.
    general.ObjectOpen(hostList, vb::Variant(1));
    windows->clear();
    windows->queueAnswers({AnswerYes, AnswerNo});
    card.findChild<QAction*>(QStringLiteral("mnRemover"))->trigger();
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(boxText(0), QStringLiteral("Deseja apagar o contacto Quarvenses Demonstração, Lda.?"));
    EXPECT_EQ(windows->messageBoxes()[0].style, YesNo | Question);
    EXPECT_EQ(boxText(1), oneFileQuestion);
    EXPECT_EQ(windows->messageBoxes()[1].style, YesNo | Question);
    EXPECT_TRUE(card.isVisible()) << "No for the only file: nothing deleted, and the card stays";

    // A person without a title is named from the surname, with no blank
    // before it (the question read "contacto  Almeida, João?").
    general.ObjectOpen(hostList, vb::Variant(41));
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Almeida, João"));
    windows->clear();
    windows->queueAnswers({AnswerNo});
    card.mnRemover_Click();
    EXPECT_EQ(boxText(0), QStringLiteral("Deseja apagar o contacto Almeida, João?"));
    EXPECT_EQ(rows("tbContactos", 1), 1);
}
