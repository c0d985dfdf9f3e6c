// The card's lookup tables: the words read in order, changed in one unit, a
// word contacts hold never deleted, typed text stored as typed, and a user
// without the right only looking.
#include "panels/LookupTableEditor.h"
#include "connection/ConnectionState.h"
#include "platform/ado/Recordset.h"
#include "platform/windows/MessageStyle.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class LookupTables : public ::testing::Test {
  protected:
    QStringList words(const LookupTableEditor& editor) const
    {
        QStringList out;
        for (int i = 0; i < editor.list()->count(); ++i)
            out << editor.list()->item(i)->text();
        return out;
    }
    void select(LookupTableEditor& editor, const QString& word)
    {
        const QList<QListWidgetItem*> found = editor.list()->findItems(word, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << word.toStdString();
        editor.list()->setCurrentItem(found.first());
    }
    QByteArray fingerprint() const
    {
        return testsupport::catalogFingerprint(db.folder(), QStringLiteral("Quarvenses"));
    }

    testsupport::ScopedSettings settings;
    testsupport::DemoDatabase db;
    ScriptedWindows windows;
    const LookupTable& titles = lookupTables().at(0);
};

} // namespace

TEST_F(LookupTables, WordsAreSavedInOneUnitOnlyWithTheRightAndFromATableThatIsThere)
{
    LookupTableEditor editor(titles, QStringLiteral("sa"));
    ASSERT_TRUE(editor.load());
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Títulos"));
    EXPECT_EQ(words(editor), (QStringList{"Arq.", "Dr.", "Dra.", "Eng.", "Eng.ª", "Prof.", "Sr.", "Sra."}));
    const QString hostile = QStringLiteral("O'Neil %1 ';--");
    editor.addWord();
    editor.list()->currentItem()->setText(hostile);
    select(editor, QStringLiteral("Sr."));
    editor.list()->currentItem()->setText(QStringLiteral("Senhor"));
    select(editor, QStringLiteral("Prof."));
    editor.deleteSelected();
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(db.count(QStringLiteral(
                  "SELECT COUNT(*) FROM tbTabelas_Titulos WHERE descrit = N'O''Neil %1 '';--'")),
              1);
    EXPECT_EQ(db.count(QStringLiteral(
                  "SELECT COUNT(*) FROM tbTabelas_Titulos WHERE descrit IN (N'Senhor', N'Prof.', "
                  "N'Sr.')")),
              1);
    EXPECT_TRUE(words(editor).contains(hostile)) << "read again after the save";

    // Without the right, only to look; without the table, to be told.
    LookupTableEditor look(titles, QStringLiteral("joao"));
    ASSERT_TRUE(look.load());
    EXPECT_FALSE(look.findChild<QLabel*>(QStringLiteral("lblNota"))->isHidden());
    for (QPushButton* b : look.findChildren<QPushButton*>())
        EXPECT_EQ(b->isEnabled(), b->text() == QStringLiteral("Cancelar")) << b->text().toStdString();
    EXPECT_FALSE(look.list()->item(0)->flags() & Qt::ItemIsEditable);

    Data().SqlServer.Execute(QStringLiteral("DROP TABLE tbTabelas_Paises"));
    windows->queueAnswer(platform::msgbox::AnswerOK);
    LookupTableEditor missing(lookupTables().at(3), QStringLiteral("sa"));
    EXPECT_FALSE(missing.load());
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_TRUE(windows->messageBoxes()[0].text.startsWith(
        QStringLiteral("Não foi possível ler a tabela «Países»: ")));
    EXPECT_EQ(windows->messageBoxes()[0].title, QStringLiteral("Países"));
}

TEST_F(LookupTables, AWordContactsHoldIsNeverDeletedAndABadListIsNotSaved)
{
    const int holders =
        db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Singulares WHERE titulo = N'Dr.'"));
    ASSERT_GT(holders, 0);
    LookupTableEditor editor(titles, QStringLiteral("sa"));
    ASSERT_TRUE(editor.load());
    windows->queueAnswers({platform::msgbox::AnswerOK, platform::msgbox::AnswerOK, platform::msgbox::AnswerOK,
                           platform::msgbox::AnswerOK, platform::msgbox::AnswerOK});
    select(editor, QStringLiteral("Dr."));
    editor.deleteSelected();
    EXPECT_TRUE(words(editor).contains(QStringLiteral("Dr.")));

    // Between the deletion and the save another user gives a contact the word:
    // the save refuses it, and the word added with it is not kept either.
    select(editor, QStringLiteral("Prof."));
    editor.deleteSelected();
    editor.addWord();
    editor.list()->currentItem()->setText(QStringLiteral("Mestre"));
    Data().SqlServer.Execute(
        QStringLiteral("UPDATE tbContactos_Singulares SET titulo = N'Prof.' WHERE contacto_id = 13"));
    const QByteArray withProfessor = fingerprint();
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(fingerprint(), withProfessor);

    LookupTableEditor fresh(titles, QStringLiteral("sa"));
    ASSERT_TRUE(fresh.load());
    for (const QString& bad : {QString(), QStringLiteral("dr."), QString(31, u'x')}) {
        fresh.addWord();
        fresh.list()->currentItem()->setText(bad);
        EXPECT_FALSE(fresh.save());
        delete fresh.list()->takeItem(fresh.list()->count() - 1);
    }
    EXPECT_EQ(fingerprint(), withProfessor);
    QStringList said;
    for (const auto& box : windows->messageBoxes())
        said << box.text;
    EXPECT_EQ(said,
              (QStringList{
                  QStringLiteral("«Dr.» é usado por %1 contactos: não pode ser apagado.").arg(holders),
                  QStringLiteral("«Prof.» é usado por 1 contacto: não pode ser apagado. Nada foi gravado."),
                  QStringLiteral("Há uma linha vazia: escreva a palavra ou apague a linha."),
                  QStringLiteral("«dr.» está na tabela mais de uma vez."),
                  QStringLiteral("«") + QString(31, u'x') + QStringLiteral("» tem mais de 30 caracteres.")}));
}
