// What the card refuses before it writes, and how it says so: the message
// names the field and the fault, the field has the focus, nothing is
// written and the changes stay pending. A NIF that is no Portuguese one is
// kept only when the user says so.
#include "card/CardSettings.h"
#include "tests/card/CardFixture.h"

using namespace platform::msgbox;

namespace {

const QString nifQuestion =
    QStringLiteral("» não é um número de contribuinte português válido: tem nove algarismos, começa por um "
                   "prefixo atribuído pela Autoridade Tributária e termina no algarismo de controlo.") +
    card::lineBreak + card::lineBreak +
    QStringLiteral(
        "Se for o número de um contribuinte estrangeiro, pode gravá-lo assim mesmo. Deseja gravar?");

class Validation : public cardtest::CardFixture {
  protected:
    // Saves tab 1 expecting one refusal; its text without the closing line.
    QString refusal(frmInicial& card)
    {
        windows->clear();
        windows->queueAnswer(AnswerOK);
        EXPECT_FALSE(save(card));
        EXPECT_TRUE(card.prpAlteracoes());
        if (windows->messageBoxes().size() != 1)
            return QStringLiteral("<%1 caixas>").arg(windows->messageBoxes().size());
        const auto& box = windows->messageBoxes()[0];
        EXPECT_EQ(box.style, Exclamation);
        EXPECT_EQ(box.title, card.windowTitle());
        const QString tail = card::lineBreak + card::lineBreak + card::nothingSaved;
        EXPECT_TRUE(box.text.endsWith(tail)) << box.text.toStdString();
        return box.text.chopped(tail.size());
    }
};

} // namespace

TEST_F(Validation, EachFaultIsNamedNothingIsWrittenAndAForeignNifIsAskedAbout)
{
    frmInicial& card = open(13);
    card.show();
    const QString profession = stored("profissao", "tbContactos_Singulares", 13);
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Outra"));

    type(card.ucIDSingular1, "txtNascimento", QStringLiteral("31-02-1980"));
    EXPECT_EQ(refusal(card), QStringLiteral("A data de nascimento «31-02-1980» não é uma data válida."));
    EXPECT_EQ(card.focusWidget(), field(card.ucIDSingular1, "txtNascimento"));
    type(card.ucIDSingular1, "txtNascimento", QStringLiteral("01-01-2999"));
    EXPECT_EQ(refusal(card), QStringLiteral("A data de nascimento «01-01-2999» é posterior à data de hoje."));
    type(card.ucIDSingular1, "txtNascimento", QStringLiteral("14-03-1980"));

    card.ucIDEmails1->addRow({QStringLiteral("ana@exemplo"), QStringLiteral("Trabalho")});
    EXPECT_EQ(refusal(card), QStringLiteral("O endereço de correio electrónico «ana@exemplo» não é válido."));
    auto* emails = card.ucIDEmails1->findChild<QTableWidget*>();
    EXPECT_EQ(emails->currentRow(), card.ucIDEmails1->rowCount() - 1);
    card.ucIDEmails1->removeSelectedRow();

    card.ucIDMoradas1->addRow({QStringLiteral("Rua Nova, 1"), QStringLiteral("1100"),
                               QStringLiteral("Lisboa"), QStringLiteral("Portugal")});
    EXPECT_EQ(refusal(card),
              QStringLiteral("O código postal «1100» não é válido: em Portugal escreve-se NNNN-NNN "
                             "(por exemplo, 1100-148)."));
    auto* addresses = card.ucIDMoradas1->findChild<QTableWidget*>();
    EXPECT_EQ(addresses->currentColumn(), 1) << "the postal code's cell";
    card.ucIDMoradas1->removeSelectedRow();
    card.ucIDMoradas1->addRow({QStringLiteral("Calle Mayor, 1"), QStringLiteral("28013"),
                               QStringLiteral("Madrid"), QStringLiteral("Espanha")});

    card.ucIDTelefones1->addRow({QStringLiteral("21 000 00 00 ou 91"), QStringLiteral("Telefone")});
    EXPECT_EQ(refusal(card), QStringLiteral("O número de telefone «21 000 00 00 ou 91» não é válido."));
    card.ucIDTelefones1->removeSelectedRow();

    type(card.ucIDTulvas_Details1, "txtEntrada", QStringLiteral("ontem"));
    EXPECT_EQ(refusal(card), QStringLiteral("A data de entrada «ontem» não é uma data válida."));
    type(card.ucIDTulvas_Details1, "txtEntrada", QString());

    type(card.ucIDSingular1, "txtNome", QStringLiteral(" "));
    type(card.ucIDSingular1, "txtApelido", QString());
    EXPECT_EQ(refusal(card), QStringLiteral("Tem de indicar o nome do contacto."));
    EXPECT_EQ(card.focusWidget(), field(card.ucIDSingular1, "txtNome"));
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), profession);

    // Put right, it all goes in at once.
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Nuno"));
    windows->clear();
    ASSERT_TRUE(save(card));
    EXPECT_TRUE(windows->messageBoxes().empty());
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), QStringLiteral("Outra"));
    EXPECT_EQ(
        db.value("SELECT codigo_postal FROM tbContactos_Moradas WHERE contacto_id = 13 AND pais = 'Espanha'"),
        QStringLiteral("28013"));

    // A NIF that is no Portuguese one is kept only when the user says so.
    type(card.ucIDSingular1, "txtNIF", QStringLiteral("509442013"));
    ASSERT_TRUE(save(card));
    EXPECT_TRUE(windows->messageBoxes().empty());
    for (const char* invalid : {"501234567", "123456780", "12345678X"}) {
        type(card.ucIDSingular1, "txtNIF", QString::fromLatin1(invalid));
        windows->clear();
        windows->queueAnswer(AnswerNo);
        EXPECT_FALSE(save(card)) << invalid;
        ASSERT_EQ(windows.texts(),
                  QStringList{QStringLiteral("O NIF «") + QString::fromLatin1(invalid) + nifQuestion});
        EXPECT_EQ(windows->messageBoxes()[0].style, Exclamation | YesNo | DefaultButton2);
        EXPECT_TRUE(card.prpAlteracoes());
        EXPECT_EQ(stored("no_contribuinte", "tbContactos", 13), QStringLiteral("509442013"));
    }
    windows->clear();
    windows->queueAnswer(AnswerYes);
    ASSERT_TRUE(save(card));
    EXPECT_EQ(stored("no_contribuinte", "tbContactos", 13), QStringLiteral("12345678X"));

    // Stored once, the foreign number is not questioned at the next save.
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Tradutora"));
    windows->clear();
    ASSERT_TRUE(save(card));
    EXPECT_TRUE(windows->messageBoxes().empty());
}
