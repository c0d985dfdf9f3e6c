// Hostile and awkward texts typed into every text field of tabs 1 and 2,
// saved through the card's own save and read back through its own loading:
// each reaches the database exactly as typed (cut only to its column's
// width) and never as SQL; the rows of every other contact stay as they were.
// The telephone number and the e-mail address are left out: their own
// validation refuses most of these texts before any write.
#include "panels/RowListPanel.h"
#include "panels/ucIDObs.h"
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"

#include <QPlainTextEdit>

namespace {

struct Sample {
    const char* name;
    QString text;
};

std::vector<Sample> corpus()
{
    return {
        {"umApostrofo", QStringLiteral("O'Neil")},
        {"doisApostrofos", QStringLiteral("D'Ávila d'Oliveira")},
        {"catorzeApostrofos", QStringLiteral("a'").repeated(14)},
        {"cincoMilApostrofos", QStringLiteral("'").repeated(5000)},
        {"marcadores", QStringLiteral("%1%2%3%4%5%6%7%8%9 e %L1")},
        {"enderecoWeb", QStringLiteral("https://exemplo.pt/a%2Fb%3Ac")},
        {"injeccao", QStringLiteral("'; DELETE FROM tbContactos --")},
        {"concatenacao", QStringLiteral("' + CHAR(39) + '")},
        {"classesLike", QStringLiteral("[a-z] ] _ % \\ [")},
        {"comentarios", QStringLiteral("a -- b /* c */ ; d")},
        {"controlo", QStringLiteral("tab\tcr lf\r\nfim")},
        {"nul", QStringLiteral("antes") + QChar(0) + QStringLiteral("depois")},
        {"quatroBytes", QStringLiteral("clave 𝄞 e 😀 emoji")},
        {"naLargura", QStringLiteral("ç").repeated(200)},
    };
}

class TypedText : public cardtest::CardFixture, public ::testing::WithParamInterface<Sample> {
  protected:
    // Typed into a line edit: the field keeps what fits its column.
    static QString typeInto(QWidget* panel, const char* name, const QString& text)
    {
        type(panel, name, text);
        return field(panel, name)->text();
    }
    // What a text field stores: the text without a NUL (refused where it is
    // typed), cut to its column, without the spaces at either end (text
    // literals are trimmed).
    static QString kept(const QString& text, int width)
    {
        return IdentityPanel::cutToWidth(QString(text).remove(QChar(u'\0')), width).trimmed();
    }
    // A new row, its cells typed one by one (each cut to its column).
    static void typeRow(RowListPanel* panel, const QStringList& cells)
    {
        panel->addRow(QStringList(cells.size(), QString()), panel->rowCount() == 0);
        auto* grid = panel->findChild<QTableWidget*>(QStringLiteral("lstRows"));
        for (int c = 0; c < cells.size(); ++c)
            grid->item(panel->rowCount() - 1, c)->setText(cells[c]);
    }
    QByteArray othersFingerprint(qint32 contact) const
    {
        return testsupport::catalogFingerprint(db.folder(), QStringLiteral("Quarvenses"), {}, contact);
    }
};

} // namespace

TEST_P(TypedText, ReachesTheDatabaseAsTypedAndComesBackOnTheCard)
{
    const QString text = GetParam().text;

    // An individual: every field of the identity, an address, a telephone's
    // kind, an e-mail's description, the file details.
    frmInicial& card = open(13);
    const QByteArray others = othersFingerprint(13);
    QStringList typed;
    for (const char* field : {"txtTitulo", "txtNome", "txtProfissao", "txtNIF", "txtNacionalidade"})
        typed.append(typeInto(card.ucIDSingular1, field, text));
    // Name and surnames together stay within the stored full name's width.
    typed.insert(2, typeInto(card.ucIDSingular1, "txtApelido",
                             IdentityPanel::cutToWidth(text, 149 - int(typed[1].size()))));
    // No Portuguese NIF: the user is asked, and keeps it.
    if (!typed[4].trimmed().isEmpty())
        windows->queueAnswer(platform::msgbox::AnswerYes);
    card.ucIDMoradas1->removeSelectedRow();
    typeRow(card.ucIDMoradas1, {text, text, text, text});
    card.ucIDMoradas1->setDefaultRow(card.ucIDMoradas1->rowCount() - 1);
    typeRow(card.ucIDTelefones1, {QStringLiteral("+351 210 000 000"), text});
    typeRow(card.ucIDEmails1, {QStringLiteral("corpus@exemplo.pt"), text});
    const QString reference = typeInto(card.ucIDTulvas_Details1, "txtReferencia", text);
    // A text box keeps line breaks as line feeds: that is what the user typed.
    auto* observations = card.ucIDTulvas_Details1->findChild<QPlainTextEdit*>();
    observations->setPlainText(text);
    const QString multiline = observations->toPlainText();
    card.setPrpAlteracoes(true);
    ASSERT_TRUE(save(card));
    const char* const columns[] = {"titulo",          "nome",         "apelido", "profissao",
                                   "no_contribuinte", "nacionalidade"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(stored(columns[i], i == 4 ? "tbContactos" : "tbContactos_Singulares", 13),
                  typed[i].trimmed())
            << columns[i];
    const QString address =
        QStringLiteral(" FROM tbContactos_Moradas WHERE contacto_id = 13 AND morada_default = 1");
    EXPECT_EQ(db.value(QStringLiteral("SELECT morada") + address), kept(text, 200));
    EXPECT_EQ(db.value(QStringLiteral("SELECT codigo_postal") + address), kept(text, 12));
    EXPECT_EQ(db.value(QStringLiteral("SELECT pais") + address), kept(text, 60));
    EXPECT_EQ(
        db.value(
            "SELECT tipo FROM tbContactos_Telefones WHERE contacto_id = 13 AND numero = '+351 210 000 000'"),
        kept(text, 20));
    EXPECT_EQ(
        db.value(
            "SELECT descrit FROM tbContactos_Emails WHERE contacto_id = 13 AND email = 'corpus@exemplo.pt'"),
        kept(text, 60));
    EXPECT_EQ(stored("referencia", "tbTulvas_Contactos", 13), reference.trimmed());
    EXPECT_EQ(stored("observacoes", "tbTulvas_Contactos", 13), multiline.trimmed());
    EXPECT_EQ(othersFingerprint(13), others) << "another contact's rows changed";

    // Read back by the card itself.
    card.setPrpAlteracoes(false);
    qint32 tab = 1;
    card.PreencherCampos(tab);
    EXPECT_EQ(field(card.ucIDSingular1, "txtNome")->text(), typed[1].trimmed());
    EXPECT_EQ(observations->toPlainText(), multiline.trimmed());

    // The notes of tab 2.
    card.selectTab(2);
    card.ucIDObs1->findChild<QPlainTextEdit*>()->setPlainText(text);
    ASSERT_TRUE(save(card, 2));
    EXPECT_EQ(db.value("SELECT nota FROM tbContactos_Notas WHERE contacto_id = 13 ORDER BY nota_id"),
              multiline)
        << "notes keep even their spaces";
    card.setPrpAlteracoes(false);

    // An institution's name and tax number.
    general.ObjectOpen(hostList, vb::Variant(4));
    const QByteArray othersOf4 = othersFingerprint(4);
    const QString name = typeInto(card.ucIDInstitucional1, "txtNome", text);
    const QString nif = typeInto(card.ucIDInstitucional1, "txtNIF", QStringLiteral("I") + text); // not 13's
    windows->queueAnswer(platform::msgbox::AnswerYes); // a foreign NIF, kept
    ASSERT_TRUE(save(card));
    EXPECT_EQ(stored("nome_union", "tbContactos", 4), name.trimmed());
    EXPECT_EQ(stored("no_contribuinte", "tbContactos", 4), nif.trimmed());
    EXPECT_EQ(othersFingerprint(4), othersOf4);
    EXPECT_NE(db.value("SELECT COUNT(*) FROM tbContactos"), QStringLiteral("NULL"));
}

INSTANTIATE_TEST_SUITE_P(Corpus, TypedText, ::testing::ValuesIn(corpus()),
                         [](const ::testing::TestParamInfo<Sample>& info) {
                             return std::string(info.param.name);
                         });
