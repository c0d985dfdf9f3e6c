#include "card/CardSettings.h"
#include "card/WindowPlace.h"
#include "card/frmInicial.h"
#include "connection/ConnectionState.h"
#include "platform/objects/CreateObject.h"
#include "platform/objects/SiblingContacts.h"
#include "tests/components/PluginFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

using contracts::SiblingContacts;
using plugintest::ConnectionValues;

const QString sheetName = QStringLiteral("frmFichaContacto");

class SiblingSheet : public plugintest::PluginFixture {
  protected:
    void SetUp() override
    {
        PluginFixture::SetUp();
        // Where the record card opens, so that it opens normally.
        card::keepWindowPlace({600, 600, card::designWidth, card::designHeight, card::tabIdentification});
    }

    void TearDown() override
    {
        PluginFixture::TearDown();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->close();
        settle();
    }

    static void settle() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::shared_ptr<SiblingContacts> connected(const char* progId, const QString& user, qint16 flags = 0)
    {
        auto sibling = vb::CreateObjectAs<SiblingContacts>(QString::fromLatin1(progId));
        ConnectionValues values = valuesFor(user);
        values.flags = flags;
        EXPECT_TRUE(connect(*sibling, values));
        return sibling;
    }

    // Registo as the record card calls it: a one-row recordset and the number.
    static void show(SiblingContacts& sibling, qint32 id)
    {
        auto rs = std::make_shared<ado::Recordset>();
        sibling.Registo(rs, id);
    }

    // The visible top-level window of a kind, by name when one is given.
    template <class Window = QWidget> static Window* shown(const QString& name = sheetName)
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<Window*>(w); found && w->isVisible() && w->objectName() == name)
                return found;
        return nullptr;
    }

    // The sheet's name, kind, NIF, address, telephones and e-mails.
    static QStringList values(QWidget* sheet)
    {
        QStringList out;
        for (const char* name :
             {"lblNome", "lblGenero", "lblNIF", "lblMorada", "lblTelefones", "lblEmails"}) {
            auto* label = sheet->findChild<QLabel*>(QString::fromLatin1(name));
            out << (label ? label->text() : QStringLiteral("<sem %1>").arg(QString::fromLatin1(name)));
        }
        return out;
    }

    static QPushButton* openButton(QWidget* sheet)
    {
        return sheet->findChild<QPushButton*>(QStringLiteral("btAbrirFicha"));
    }
};

} // namespace

// An individual's sheet shows the default rows first, an institution's its
// kind and that a value is missing; a contact that does not exist, or no
// connection (refused credentials are no error to report), shows no sheet,
// and the user is told why in the product's box.
TEST_F(SiblingSheet, WhatTheSheetShowsWhyNoneShowsAndTheComponentsOwnConnection)
{
    // The default telephone is the newer row: it must still come first.
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbContactos_Telefones SET telefone_default = CASE WHEN tipo = 'Emprego' THEN 1 ELSE 0 END "
        "WHERE contacto_id = 16; INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
        "VALUES (16, 'ana@casa.pt', NULL, 0); INSERT INTO tbContactos_Moradas (contacto_id, morada, "
        "codigo_postal, localidade, pais, morada_default) VALUES (16, 'Rua Velha, 1', '4000-001', 'Porto', "
        "'Portugal', 0); UPDATE tbContactos SET no_contribuinte = NULL WHERE contacto_id = 4; "
        "DELETE FROM tbContactos_Emails WHERE contacto_id = 4"));
    auto travix = connected(SiblingContacts::TravixProgId, QStringLiteral("ana"));
    show(*travix, 16);
    QWidget* sheet = shown();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Ana Santos — Travix"));
    EXPECT_FALSE(sheet->isModal());
    EXPECT_EQ(values(sheet), (QStringList{"Ana Santos", "Particular", "219753075",
                                          "Rua de Santa Catarina, 26\n4000-322 Porto\nPortugal",
                                          "211675664 (Emprego)\n900126704 (Móvel)",
                                          "ana.santos@exemplo.pt (Principal)\nana@casa.pt"}));
    sheet->close();
    settle();

    auto snvia = connected(SiblingContacts::SnviaProgId, QStringLiteral("ana"), 1);
    show(*snvia, 4);
    sheet = shown();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Clínica Médica da Foz — Snvia"));
    EXPECT_EQ(values(sheet), (QStringList{"Clínica Médica da Foz", "Empresarial", "(não indicado)",
                                          "Rua Direita, 14\n3810-064 Aveiro\nPortugal",
                                          "200031676 (Fixo)\n210418916 (Emprego)", "(não indicado)"}));
    sheet->close();
    settle();

    auto refused = vb::CreateObjectAs<SiblingContacts>(QString::fromLatin1(SiblingContacts::SnviaProgId));
    EXPECT_FALSE(connect(*refused, valuesFor(QStringLiteral("ana"), QStringLiteral("errada"))));
    windows->queueAnswers({platform::msgbox::AnswerOK, platform::msgbox::AnswerOK});
    show(*travix, 999);
    show(*refused, 16);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(
        windows.texts(),
        (QStringList{
            QStringLiteral("O contacto n.º 999 não existe: pode ter sido eliminado por outro utilizador."),
            QStringLiteral("Não há ligação ao servidor de dados: não é possível mostrar o contacto.")}));
    ASSERT_EQ(windows->messageBoxes().size(), 2u);
    EXPECT_EQ(windows->messageBoxes()[0].title, QStringLiteral("Travix"));
    EXPECT_EQ(windows->messageBoxes()[1].title, QStringLiteral("Snvia"));

    // SQLConnect opens a connection of the component's own on the server that answers.
    ResetConnectionStateForTests();
    auto own = vb::CreateObjectAs<SiblingContacts>(QString::fromLatin1(SiblingContacts::TravixProgId));
    ConnectionValues secondaryOnly = valuesFor(QStringLiteral("ana"));
    secondaryOnly.dataSource = db.folder() + QStringLiteral("/desligado");
    secondaryOnly.dataSourceSecondary = db.folder();
    EXPECT_TRUE(connect(*own, secondaryOnly)) << "the secondary server answers";
    EXPECT_FALSE(Conn().bSQLConnected) << "the component's own state is left alone";
    EXPECT_NE(Data().SqlServer.State(), ado::adStateOpen);
}

// The open button follows the user's right to open; everything on the sheet
// is reached by Tab; Escape closes and deletes the sheet, and the card it
// opened stays, to go with its own closing.
TEST_F(SiblingSheet, TheOpenButtonFollowsTheRightTabReachesAllAndEscapeCloses)
{
    auto asRui = connected(SiblingContacts::TravixProgId, QStringLiteral("rui"));
    show(*asRui, 13);
    QPointer<QWidget> sheet = shown();
    ASSERT_FALSE(sheet.isNull());
    ASSERT_NE(openButton(sheet), nullptr);
    EXPECT_EQ(openButton(sheet)->text(), QStringLiteral("Abrir na ficha de contactos"));
    EXPECT_FALSE(openButton(sheet)->isEnabled());
    sheet->close();
    settle();

    auto asAna = connected(SiblingContacts::TravixProgId, QStringLiteral("ana"));
    show(*asAna, 13);
    sheet = shown();
    ASSERT_FALSE(sheet.isNull());
    for (const char* name : {"lblNome", "lblGenero", "lblNIF", "lblMorada", "lblTelefones", "lblEmails",
                             "btAbrirFicha", "btFechar"}) {
        auto* w = sheet->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << name;
    }
    EXPECT_TRUE(openButton(sheet)->isEnabled());
    EXPECT_EQ(shown<frmInicial>(QStringLiteral("frmInicial")), nullptr);
    openButton(sheet)->click();
    QPointer<frmInicial> card = shown<frmInicial>(QStringLiteral("frmInicial"));
    ASSERT_FALSE(card.isNull()) << "the record card opens";
    EXPECT_EQ(card->Contacto_ID, 13);

    QTest::keyClick(sheet, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(sheet.isNull());
    ASSERT_FALSE(card.isNull());
    EXPECT_TRUE(card->isVisible());
    card->close();
    settle();
    EXPECT_TRUE(card.isNull());
}
