// New contacts through the kind chooser, from the card and from General's
// entry points, and the card's commands: navigation at the ends of the list,
// and each handler's failure under its own name.
#include "tests/card/CardFixture.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

using NewContact = cardtest::CardFixture;

} // namespace

// The chooser offers both kinds; Cancel or its close box keep the card as it
// was, No to the save question still starts the new contact; General's entry
// points start one too; moves stop at the ends of the list.
TEST_F(NewContact, NewContactsFromTheCardAndFromGeneralAndMovesAtTheEnds)
{
    frmInicial& card = open(35);
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Enfermeira-chefe"));
    card.mnNovo_Click();
    frmNovo* chooser = this->chooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Novo Registo"));
    EXPECT_EQ(chooser->Option1->text(), QStringLiteral("Particular"));
    EXPECT_EQ(chooser->Option2->text(), QStringLiteral("Empresarial"));
    EXPECT_EQ(chooser->Command1->text(), QStringLiteral("OK"));
    EXPECT_EQ(chooser->Command2->text(), QStringLiteral("Cancelar"));
    EXPECT_FALSE(card.isNew) << "the card changes only when the chooser answers";
    chooser->Command2->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(card.Contacto_ID, 35);
    EXPECT_FALSE(card.isNew);
    EXPECT_TRUE(card.prpAlteracoes());
    EXPECT_EQ(field(card.ucIDSingular1, "txtProfissao")->text(), QStringLiteral("Enfermeira-chefe"));

    // Closed with the window's own close box: the same.
    card.mnNovo_Click();
    ASSERT_NE(this->chooser(), nullptr);
    this->chooser()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(this->chooser(), nullptr);
    EXPECT_FALSE(card.isNew);
    EXPECT_EQ(field(card.ucIDSingular1, "txtNome")->text(), QStringLiteral("Maria"));
    EXPECT_TRUE(windows->messageBoxes().empty());

    // Unsaved changes are offered; No still starts the new contact.
    card.mnNovo_Click();
    windows->queueAnswer(platform::msgbox::AnswerNo);
    choose(false);
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral(
                  "Foram feitas alterações a esta ficha.\n\r\n\rDeseja gravar as alterações efectuadas?")});
    EXPECT_TRUE(card.isNew);
    EXPECT_FALSE(card.isSingular());
    EXPECT_TRUE(card.ucIDInstitucional1->isVisibleTo(&card));
    EXPECT_FALSE(card.ucIDSingular1->isVisibleTo(&card));
    EXPECT_TRUE(field(card.ucIDInstitucional1, "txtNome")->text().isEmpty());
    EXPECT_FALSE(card.prpAlteracoes());
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 35), QStringLiteral("Enfermeira"));
    EXPECT_FALSE(card.findChild<QAction*>(QStringLiteral("mnConverterSingular"))->isVisible());

    // Novo from another tab with nothing changed: the card moves to tab 1 by
    // itself, asks nothing, and never touches the contact shown before. A new
    // contact like a stored one asks before a second record is made: Cancelar
    // goes on editing, Não shows the stored one instead, Sim saves.
    open(35);
    windows->clear();
    card.selectTab(3);
    ASSERT_EQ(card.selectedTab(), 3);
    card.mnNovo_Click();
    choose(true);
    EXPECT_TRUE(windows->messageBoxes().empty()) << windows->messageBoxes()[0].text.toStdString();
    EXPECT_TRUE(card.isNew);
    EXPECT_EQ(card.selectedTab(), 1);
    EXPECT_TRUE(field(card.ucIDSingular1, "txtNome")->text().isEmpty());
    EXPECT_TRUE(field(card.ucIDSingular1, "txtApelido")->text().isEmpty());
    EXPECT_EQ(card.ucIDMoradas1->rowCount(), 0);
    EXPECT_TRUE(card.Descrit1->text().isEmpty());
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Marta"));
    type(card.ucIDSingular1, "txtApelido", QStringLiteral("Marques"));
    ASSERT_TRUE(save(card));
    EXPECT_NE(card.Contacto_ID, 35);
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 35), QStringLiteral("Maria"));
    EXPECT_EQ(rows("tbContactos_Moradas", 35), 1);

    // A new contact like a stored one asks first.
    const QString maria = stored("nome_union", "tbContactos", 35);
    const int contacts = db.count("SELECT COUNT(*) FROM tbContactos");
    const QString explained = QStringLiteral(
        " Gravar na mesma?\n\nSim: grava o novo contacto. Não: abre o existente (o novo não é gravado). "
        "Cancelar: continua a editar.");
    general.ObjectNew(QStringLiteral("tbContactos"));
    choose(true);
    type(card.ucIDSingular1, "txtNome", stored("nome", "tbContactos_Singulares", 35).toUpper());
    type(card.ucIDSingular1, "txtApelido", stored("apelido", "tbContactos_Singulares", 35));
    windows->queueAnswer(platform::msgbox::AnswerCancel);
    EXPECT_FALSE(save(card));
    EXPECT_EQ(windows.texts(), QStringList{QStringLiteral("Já existe ") + maria +
                                           QStringLiteral(" (n.º 35) com o mesmo nome.") + explained});
    EXPECT_TRUE(card.isNew);
    EXPECT_TRUE(card.prpAlteracoes());
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos"), contacts);

    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerNo);
    EXPECT_FALSE(save(card));
    EXPECT_FALSE(card.isNew);
    EXPECT_EQ(card.Contacto_ID, 35);
    EXPECT_FALSE(card.prpAlteracoes());
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos"), contacts);

    // Another name, the stored telephone written otherwise: saved when the user says so.
    general.ObjectNew(QStringLiteral("tbContactos"));
    choose(true);
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Zulmira"));
    type(card.ucIDSingular1, "txtApelido", QStringLiteral("d'Ávila 100%"));
    const QString number = stored("numero", "tbContactos_Telefones", 35);
    card.ucIDTelefones1->addRow({QStringLiteral("+351 ") + number, QStringLiteral("Móvel")}, true);
    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerYes);
    EXPECT_TRUE(save(card));
    EXPECT_EQ(windows.texts(), QStringList{QStringLiteral("Já existe ") + maria +
                                           QStringLiteral(" (n.º 35) com o mesmo telefone.") + explained});
    EXPECT_FALSE(card.isNew);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos"), contacts + 1);

    // While the card is hidden, Novo does nothing.
    card.hide();
    card.mnNovo_Click();
    EXPECT_EQ(this->chooser(), nullptr);
    EXPECT_FALSE(card.isNew);

    // General's entry points: an institution is stored and filed with the default masks.
    general.ObjectNew(QStringLiteral("tbContactos"));
    EXPECT_FALSE(card.isVisible()) << "the card shows once the kind is chosen";
    choose(false);
    ASSERT_TRUE(card.isVisible());
    type(card.ucIDInstitucional1, "txtNome", QStringLiteral("Oficina d'Aldeia, Lda."));
    type(card.ucIDInstitucional1, "txtNIF", QStringLiteral("509442013"));
    ASSERT_TRUE(save(card));
    EXPECT_FALSE(card.isNew);
    const qint32 id = card.Contacto_ID;
    EXPECT_EQ(vb::CLng(card.Rs(QStringLiteral("contacto_id"))), id) << "the card's list moved to it";
    EXPECT_EQ(stored("genero_id", "tbContactos", id), QStringLiteral("2"));
    EXPECT_EQ(stored("nome_union", "tbContactos", id), QStringLiteral("Oficina d'Aldeia, Lda."));
    EXPECT_EQ(rows("tbContactos_Institucionais", id), 1);
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos_Tipos_Links l JOIN tbContactos_Tipos t ON "
                       "t.contacto_tipo_id = l.contacto_tipo_id WHERE t.descrit = 'Contactos Quarvenses' "
                       "AND l.contacto_id = %1",
                       id),
              1);
    // sa's primary group $0001 files with an empty group mask ("$0001") and sa's user mask.
    EXPECT_EQ(stored("group_code", "tbTulvas_Contactos_Permitions", id), QStringLiteral("$0001"));
    EXPECT_EQ(stored("user_code", "tbTulvas_Contactos_Permitions", id), QStringLiteral("$10011111"));

    // A telephone call starts the contact with its number, once.
    general.NovoRegistoTelefone(QStringLiteral("tbContactos"), vb::Variant(QStringLiteral("912 345 678")));
    choose(true);
    ASSERT_EQ(card.ucIDTelefones1->rowCount(), 1);
    EXPECT_EQ(card.ucIDTelefones1->rowValues(0).value(0), QStringLiteral("912 345 678"));
    EXPECT_TRUE(card.prpAlteracoes());
    card.setPrpAlteracoes(false);
    general.NovoRegisto(QStringLiteral("tbContactos"));
    choose(true);
    EXPECT_EQ(card.ucIDTelefones1->rowCount(), 0) << "the number belongs to the first new contact only";
    EXPECT_FALSE(card.prpAlteracoes());

    // Moving past either end stays, and each move reports its own failure.
    open(1);
    hostList.MoveLast();
    const qint32 last = vb::CLng(hostList(QStringLiteral("contacto_id")));
    card.Toolbar1_ButtonClick(QStringLiteral("btUltimo"));
    ASSERT_EQ(card.Contacto_ID, last);
    EXPECT_EQ(windows->playedWaves().size(), 1u) << "a move that stands clicks";
    card.moveNext();
    EXPECT_EQ(card.Contacto_ID, last);
    EXPECT_EQ(windows->playedWaves().size(), 1u);
    card.findChild<QAction*>(QStringLiteral("mnPrimeiro"))->trigger();
    card.findChild<QAction*>(QStringLiteral("mnAnterior"))->trigger();
    EXPECT_EQ(card.Contacto_ID, 1);
    EXPECT_EQ(windows->playedWaves().size(), 2u);
    EXPECT_TRUE(windows->playedWaves()[0].endsWith(QStringLiteral("/SMCLICK1.WAV")));
    card.findChild<QPushButton*>(QStringLiteral("Command4"))->click();
    EXPECT_NE(card.Contacto_ID, 1) << "the button under the frames moves on too";

    // Each handler reports its failure under its own name.
    ado::Recordset odd; // a list without contacto_id: reading it fails
    odd.Open(QStringLiteral("SELECT nome_union FROM tbContactos ORDER BY contacto_id"), Data().SqlServer);
    card.Rs = odd;
    card.findChild<QAction*>(QStringLiteral("mnSeguinte"))->trigger();
    card.findChild<QPushButton*>(QStringLiteral("Command6"))->click();
    card.Toolbar1_ButtonClick(QStringLiteral("btUltimo"));
    QStringList procedures;
    for (const QStringList& r : reporter.reports())
        procedures.append(r.value(3));
    reporter.clear();
    EXPECT_EQ(procedures, (QStringList{"mnSeguinte_Click", "Command6_Click", "Toolbar1_ButtonClick"}));
}
