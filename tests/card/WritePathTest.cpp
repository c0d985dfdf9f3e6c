// The card shows, checks and writes one contact, and a save is whole or not
// at all, told to the user either way.
#include "card/CardSettings.h"
#include "data/modCode.h"
#include "data/modSQLConnection.h"
#include "documents/vcard/VCardReader.h"
#include "panels/GridTable.h"
#include "panels/IdentityPanel.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/card/CardFixture.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

using ado::embedded::EmbeddedServer;

namespace {

using WritePath = cardtest::CardFixture;

} // namespace

TEST_F(WritePath, ACardTakenForAnotherContactShowsThatContactOnEveryTab)
{
    frmInicial& card = open(13);
    ASSERT_TRUE(card.isSingular());
    general.ObjectOpen(hostList, vb::Variant(4)); // the same tab stays shown
    EXPECT_EQ(card.Contacto_ID, 4);
    EXPECT_FALSE(card.isSingular());
    EXPECT_EQ(field(card.ucIDInstitucional1, "txtNome")->text(), QStringLiteral("Clínica Médica da Foz"));
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Clínica Médica da Foz"));
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Clínica Médica da Foz"));
    EXPECT_TRUE(card.statusPanel1->text().startsWith(QStringLiteral("Modificado por sa em 05/03/2024")));

    storeWindow(3); // another contact opened on the permissions tab
    general.ObjectOpen(hostList, vb::Variant(33));
    EXPECT_EQ(card.Contacto_ID, 33);
    EXPECT_EQ(card.selectedTab(), 3);
    EXPECT_EQ(card.Descrit1->text(), QStringLiteral("Sr. Silva, Joaquim"));
    EXPECT_EQ(card.windowTitle(), QStringLiteral("Sr. Silva, Joaquim"));
    EXPECT_TRUE(card.statusPanel1->text().startsWith(QStringLiteral("Modificado por sa em 07/03/2024")));
    EXPECT_EQ(card.ucIDPermitions1->UserMask(), QStringLiteral("$10011111$10021100"));

    // Unsaved changes are offered before the card takes another contact;
    // Cancel keeps the contact shown, with its changes.
    card.setPrpAlteracoes(true);
    windows->queueAnswer(platform::msgbox::AnswerCancel);
    general.ObjectOpen(hostList, vb::Variant(4));
    EXPECT_EQ(card.Contacto_ID, 33);
    EXPECT_TRUE(card.prpAlteracoes());
    EXPECT_EQ(vb::CLng(hostList(QStringLiteral("contacto_id"))), 33) << "the host's cursor stays too";
    windows->queueAnswer(platform::msgbox::AnswerNo);
    general.ObjectOpen(hostList, vb::Variant(4));
    EXPECT_EQ(card.Contacto_ID, 4);

    // Typed text stays in the new row, and Tab leaves the grid.
    card.selectTab(1); // contact 4 has two telephones already
    auto* grid = card.ucIDTelefones1->findChild<GridTable*>();
    card.ucIDTelefones1->findChild<QPushButton*>(QStringLiteral("cmdAdicionar"))->click();
    ASSERT_EQ(card.ucIDTelefones1->rowCount(), 3);
    EXPECT_EQ(grid->currentRow(), 2) << "the new row is the one being typed in";
    EXPECT_EQ(grid->currentColumn(), 0);
    // Tab walks the row's cells; from the last cell it leaves the grid.
    grid->setCurrentCell(2, grid->columnCount() - 1);
    grid->setFocus();
    card.activateWindow();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentRow(), 2) << "no wrapping round to the first row";
    EXPECT_NE(QApplication::focusWidget(), grid);
}

TEST_F(WritePath, PermissionsStartFromTheDefaultsANullGroupMaskGetsAllRightsAndAreWrittenAsShown)
{
    sql("DELETE FROM tbTulvas_Contactos_Permitions WHERE contacto_id = 6");
    sql("UPDATE tbTulvas_Contactos_Permitions SET group_code = NULL WHERE contacto_id = 5");
    storeWindow(3);
    frmInicial& card = open(4);
    EXPECT_EQ(card.ucIDPermitions1->UserMask(), QStringLiteral("$10011111$10021000"));
    // A contact without a permissions row (nobody may open it through the
    // host): the masks of the contact shown before do not stay.
    card.Contacto_ID = 6;
    qint32 tab = 3;
    card.PreencherCampos(tab);
    EXPECT_TRUE(card.ucIDPermitions1->UserMask().isEmpty());
    EXPECT_TRUE(card.ucIDPermitions1->GroupMask().isEmpty());
    general.ObjectOpen(hostList, vb::Variant(5));
    EXPECT_EQ(card.Contacto_ID, 5);
    EXPECT_EQ(card.ucIDPermitions1->GroupMask(), QStringLiteral("$00011111"));
    EXPECT_EQ(stored("group_code", "tbTulvas_Contactos_Permitions", 5), QStringLiteral("$00011111"));

    // The rights tab writes the masks as shown, unchanged byte for byte.
    const QString before = stored("user_code", "tbTulvas_Contactos_Permitions", 5);
    ASSERT_TRUE(save(card, 3));
    EXPECT_EQ(stored("user_code", "tbTulvas_Contactos_Permitions", 5), before) << "unchanged byte for byte";
    card.ucIDPermitions1->setRight(0, 1, u'0');
    ASSERT_TRUE(save(card, 3));
    EXPECT_EQ(stored("user_code", "tbTulvas_Contactos_Permitions", 5), card.ucIDPermitions1->UserMask());
    EXPECT_NE(card.ucIDPermitions1->UserMask(), before);
}

TEST_F(WritePath, ARelationIsWrittenAtOnceAndRemovedOnlyAfterAsking)
{
    frmInicial& card = open(6);
    EXPECT_TRUE(card.ucIDRelacionados1->AddRelation(13, QStringLiteral("Cliente")));
    // Removing asks first; No keeps it.
    static_cast<QTableWidget*>(card.ucIDRelacionados1->findChild<GridTable*>())->setCurrentCell(0, 0);
    windows->queueAnswer(platform::msgbox::AnswerNo);
    EXPECT_FALSE(card.ucIDRelacionados1->RemoveSelected());
    windows->queueAnswer(platform::msgbox::AnswerYes);
    EXPECT_TRUE(card.ucIDRelacionados1->RemoveSelected());
    EXPECT_EQ(windows->messageBoxes()[0].text, QStringLiteral("Deseja remover a relação com «Maria Silva»?"));
}

TEST_F(WritePath, ALostServerIsToldAsSuchAndWhatWasNotReadIsNeverWritten)
{
    frmInicial& card = open(13);
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Durante a queda"));
    // The session dies in the middle of the save: nothing kept, and said so.
    EmbeddedServer::armFault(12, EmbeddedServer::FaultKind::Kill);
    windows->onUnexpected = [](const QString&) {};
    EXPECT_FALSE(save(card));
    EmbeddedServer::disarmFault();
    ASSERT_FALSE(windows->messageBoxes().empty());
    EXPECT_EQ(windows->messageBoxes().back().text, card::connectionLost);
    EXPECT_TRUE(card.prpAlteracoes());

    // A server that does not answer at all: the rights cannot be asked, which
    // is no refusal.
    windows->clear();
    EmbeddedServer::setPaused(db.folder(), true);
    EXPECT_FALSE(save(card));
    EmbeddedServer::setPaused(db.folder(), false);
    for (const QString& text : windows.texts())
        EXPECT_FALSE(text.startsWith(QStringLiteral("Não tem permissões"))) << text.toStdString();
    EXPECT_TRUE(windows.texts().contains(card::serverUnreachable) ||
                windows.texts().contains(card::connectionLost));
    EXPECT_TRUE(card.prpAlteracoes());
    ASSERT_TRUE(save(card)) << "the server is back";
    EXPECT_EQ(stored("profissao", "tbContactos_Singulares", 13), QStringLiteral("Durante a queda"));
    reporter.clear(); // the injected faults were reported, as they should be

    // A reload the server did not answer leaves the panels empty: saving them
    // then would delete what is stored. They are marked, and never written.
    const int addresses = rows("tbContactos_Moradas", 13);
    ASSERT_GT(addresses, 0);
    EmbeddedServer::setPaused(db.folder(), true);
    qint32 tab = 1;
    card.PreencherCampos(tab);
    EmbeddedServer::setPaused(db.folder(), false);
    modSQLConnection::CheckSQLConnection(); // for this test's own queries
    for (IdentityPanel* panel : std::initializer_list<IdentityPanel*>{
             card.ucIDSingular1, card.ucIDMoradas1, card.ucIDTelefones1, card.ucIDEmails1}) {
        EXPECT_FALSE(panel->holdsWhatIsStored()) << panel->objectName().toStdString();
        EXPECT_FALSE(panel->isEnabled());
        auto* mark = panel->findChild<QLabel*>(QStringLiteral("lblNaoLido"));
        ASSERT_NE(mark, nullptr);
        EXPECT_TRUE(mark->isVisibleTo(panel));
        EXPECT_EQ(mark->text(), IdentityPanel::unreadMark);
    }
    EXPECT_EQ(card.ucIDMoradas1->rowCount(), 0);

    card.setPrpAlteracoes(true);
    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerNo);
    EXPECT_FALSE(save(card));
    EXPECT_EQ(windows.texts(),
              (QStringList{QStringLiteral("Os dados deste contacto não foram lidos; a gravação foi "
                                          "cancelada. Feche e abra de novo o contacto.") +
                           card::lineBreak + card::lineBreak +
                           QStringLiteral("Deseja lê-los de novo agora? O que alterou neste separador "
                                          "perde-se.")}));
    EXPECT_EQ(rows("tbContactos_Moradas", 13), addresses);
    EXPECT_TRUE(card.prpAlteracoes());

    // Read again when the user says so; then what was read is what is saved.
    windows->queueAnswer(platform::msgbox::AnswerYes);
    EXPECT_FALSE(save(card));
    EXPECT_TRUE(card.ucIDMoradas1->holdsWhatIsStored());
    EXPECT_TRUE(card.ucIDMoradas1->isEnabled());
    EXPECT_EQ(card.ucIDMoradas1->rowCount(), addresses);
    EXPECT_FALSE(card.prpAlteracoes());
    type(card.ucIDSingular1, "txtProfissao", QStringLiteral("Depois da leitura"));
    EXPECT_TRUE(save(card));
    EXPECT_EQ(rows("tbContactos_Moradas", 13), addresses);

    // The events of tab 2 likewise: no ticks shown that are not the contact's.
    EmbeddedServer::setPaused(db.folder(), true);
    card.selectTab(2);
    EmbeddedServer::setPaused(db.folder(), false);
    modSQLConnection::CheckSQLConnection();
    ASSERT_EQ(card.eventsList()->topLevelItemCount(), 1);
    EXPECT_EQ(card.eventsList()->topLevelItem(0)->text(0), IdentityPanel::unreadMark);
    EXPECT_FALSE(card.eventsList()->isEnabled());
    const int events = rows("tbContactos_Eventos", 13);
    card.prpEventos = true;
    card.setPrpAlteracoes(true);
    windows->clear();
    windows->queueAnswer(platform::msgbox::AnswerNo);
    EXPECT_FALSE(save(card, 2));
    EXPECT_EQ(rows("tbContactos_Eventos", 13), events);
}

TEST_F(WritePath, AnotherUsersChangeIsNotWrittenOverSilentlyNorTheUsersOwnTakenForIt)
{
    frmInicial& card = open(33);
    // Someone else saves the contact meanwhile.
    sql("UPDATE tbContactos SET modified_by = 'rui', modified_date = "
        "CONVERT(DATETIME,'2025-01-02 10:11:12',120) WHERE contacto_id = 33");
    sql("UPDATE tbContactos_Singulares SET profissao = 'Director' WHERE contacto_id = 33");
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim Manuel"));
    windows->queueAnswer(platform::msgbox::AnswerNo);
    EXPECT_FALSE(save(card));
    ASSERT_EQ(windows.texts(),
              QStringList{QStringLiteral(
                  "Este contacto foi alterado por rui em 02/01/2025 10:11:12 depois de o ter aberto. Deseja "
                  "substituir essas alterações pelas suas?")});
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 33), QStringLiteral("Joaquim"));
    EXPECT_EQ(field(card.ucIDSingular1, "txtProfissao")->text(), QStringLiteral("Director"))
        << "the card shows the stored contact";
    EXPECT_FALSE(card.prpAlteracoes());

    // Once loaded again, the card saves without asking; a later change by
    // someone else is asked about again, and Yes writes over it.
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim Manuel"));
    ASSERT_TRUE(save(card));
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 33), QStringLiteral("Joaquim Manuel"));
    sql("UPDATE tbContactos SET modified_by = 'ana' WHERE contacto_id = 33");
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim"));
    windows->queueAnswer(platform::msgbox::AnswerYes);
    ASSERT_TRUE(save(card));
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 33), QStringLiteral("Joaquim"));

    // A save whose audit line could not be read afterwards is still the
    // user's own: the next save does not take it for someone else's.
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim Manuel"));
    EmbeddedServer::armFault(100000, EmbeddedServer::FaultKind::Fail);
    ASSERT_TRUE(save(card));
    const int statements = EmbeddedServer::statementsSinceArmed();
    EmbeddedServer::disarmFault();

    QTest::qWait(1100); // the stored stamp has whole seconds
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim"));
    windows->onUnexpected = [](const QString&) {};
    EmbeddedServer::armFault(statements, EmbeddedServer::FaultKind::Fail); // the audit line's read
    EXPECT_TRUE(save(card)) << "stored before the failure";
    EmbeddedServer::disarmFault();
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 33), QStringLiteral("Joaquim"));

    windows->clear();
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Joaquim Pedro"));
    EXPECT_TRUE(save(card));
    EXPECT_EQ(windows.texts(), QStringList());
    EXPECT_EQ(stored("nome", "tbContactos_Singulares", 33), QStringLiteral("Joaquim Pedro"));
    reporter.clear(); // the injected faults were reported, as they should be
}

// Changes are marked, saved and asked about; a saved contact goes out as a
// vCard; a tax number another contact holds blocks the save.
TEST_F(WritePath, ChangesAreMarkedSavedAskedAboutAndSentOnAsAVCard)
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

    // The card's File menu gives the shown contact as a vCard: to a file the
    // user names, or attached to a message; never a contact with unsaved
    // changes.
    open(13);
    windows->clear();
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("maria.vcf"));
    windows->queueSaveFileName(path);
    card.findChild<QAction*>(QStringLiteral("mnExportarVCard"))->trigger();
    ASSERT_EQ(windows->saveDialogs().size(), 1u);
    EXPECT_EQ(windows->saveDialogs()[0].title, QStringLiteral("Exportar vCard"));
    EXPECT_EQ(windows->saveDialogs()[0].proposedName, QStringLiteral("Maria Silva.vcf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<vcard::Card> cards = vcard::read(file.readAll());
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[0].text(QStringLiteral("FN")), QStringLiteral("Maria Silva"));
    EXPECT_TRUE(windows->messageBoxes().empty());

    card.findChild<QAction*>(QStringLiteral("mnEnviarVCard"))->trigger();
    ASSERT_EQ(windows->mails().size(), 1u);
    EXPECT_EQ(windows->mails()[0].subject, QStringLiteral("Contacto: Maria Silva"));
    ASSERT_EQ(windows->mails()[0].attachments.size(), 1);
    EXPECT_TRUE(windows->mails()[0].attachments[0].endsWith(QStringLiteral("/Maria Silva.vcf")));
    EXPECT_TRUE(QFile::exists(windows->mails()[0].attachments[0]));

    // Unsaved changes: the file would not say what the card shows.
    type(card.ucIDSingular1, "txtNome", QStringLiteral("Mariana"));
    windows->queueAnswer(platform::msgbox::AnswerOK);
    card.findChild<QAction*>(QStringLiteral("mnExportarVCard"))->trigger();
    ASSERT_EQ(windows->messageBoxes().size(), 1u);
    EXPECT_EQ(windows->messageBoxes()[0].text,
              QStringLiteral("Grave primeiro o contacto: o vCard leva o contacto tal como está gravado."));
    EXPECT_EQ(windows->saveDialogs().size(), 1u) << "no dialog";

    // A tax number another contact in a file holds blocks the save.
    const QString other = stored("no_contribuinte", "tbContactos", 14);
    windows->clear();
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
