// Every writing operation of the card, with the server failing at each of
// its statements in turn (a statement that fails, and a session the server
// ends): nothing reaches the host as an exception, the operation answers
// false and keeps the changed flag, the catalog is as it was, and no lock is
// left. The run without a fault then does the whole work.
#include "component/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "panels/ucIDEmails.h"
#include "panels/ucIDInstitucional.h"
#include "panels/ucIDMoradas.h"
#include "panels/ucIDObs.h"
#include "panels/ucIDPermitions.h"
#include "panels/ucIDSingular.h"
#include "panels/ucIDTelefones.h"
#include "panels/ucIDTulvas_Details.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/windows/MessageStyle.h"
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <cstdio>

using ado::embedded::EmbeddedServer;

namespace {

struct Figures {
    int points = 0;
    int falseSuccesses = 0;
    int halfWrites = 0;
    int locksHeld = 0;
    int exceptions = 0;
    int flagsLost = 0;
    int healed = 0;
};

class WritePathFaults : public cardtest::CardFixture {
  protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        windows->onUnexpected = [](const QString&) {}; // every box answers as Escape would
    }
    void TearDown() override { EmbeddedServer::disarmFault(); }

    QByteArray fingerprint() const
    {
        return testsupport::catalogFingerprint(db.folder(), QStringLiteral("Quarvenses"));
    }

    static void type(QWidget* panel, const char* field, const QString& text)
    {
        auto* edit = panel->findChild<QLineEdit*>(QString::fromLatin1(field));
        ASSERT_NE(edit, nullptr) << field;
        edit->setText(text);
        emit edit->textEdited(text);
    }

    // For each kind of fault, `operation` runs with the fault at every
    // statement in turn, until a run meets no fault. `prepare` makes the
    // edits before the first run and again after any run that succeeded (a
    // fault before the transaction began is healed by the reconnection).
    // A success must have written; a failure must have written nothing.
    Figures everyStatement(const std::function<void(int)>& prepare, const std::function<bool()>& operation,
                           const std::function<bool()>& changed, const char* name)
    {
        Figures f;
        int round = 0;
        for (auto kind : {EmbeddedServer::FaultKind::Fail, EmbeddedServer::FaultKind::Kill}) {
            prepare(round++);
            QByteArray before = fingerprint();
            for (int k = 1;; ++k) {
                EmbeddedServer::armFault(k, kind);
                bool result = false;
                try {
                    result = operation();
                } catch (...) {
                    ++f.exceptions;
                }
                const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
                const int counted = EmbeddedServer::statementsSinceArmed();
                EmbeddedServer::disarmFault();
                (void)counted;
                const bool wrote = fingerprint() != before;
                if (qEnvironmentVariableIsSet("QV_FAULT_TRACE"))
                    std::printf("k=%d kind=%d statements=%d result=%d wrote=%d\n", k, int(kind), counted,
                                result, wrote);
                if (!faulted) {
                    EXPECT_TRUE(result && wrote) << name << ": the run without a fault did not write";
                    break;
                }
                ++f.points;
                f.falseSuccesses += result && !wrote;
                f.halfWrites += !result && wrote;
                f.locksHeld += !testsupport::catalogWritableNow(db.folder(), QStringLiteral("Quarvenses")) ||
                               Data().SqlServer.TransactionLevel() != 0 || Data().SqlServer.TransactionLost();
                f.flagsLost += !result && !changed();
                if (result) {
                    ++f.healed;
                    prepare(round++);
                    before = fingerprint();
                } else if (wrote) {
                    break; // later points would not start from the same state
                }
                if (k >= 500) {
                    ADD_FAILURE() << name << ": the operation never ends";
                    break;
                }
            }
        }
        std::printf("%-38s pontos %3d (curados pela religação %2d)  falsos sucessos %d  meias gravações %d  "
                    "bloqueios %d  excepções %d  alterações perdidas %d\n",
                    name, f.points, f.healed, f.falseSuccesses, f.halfWrites, f.locksHeld, f.exceptions,
                    f.flagsLost);
        std::fflush(stdout);
        return f;
    }

    static void expectClean(const Figures& f)
    {
        EXPECT_GT(f.points, 0);
        EXPECT_EQ(f.falseSuccesses, 0);
        EXPECT_EQ(f.halfWrites, 0);
        EXPECT_EQ(f.locksHeld, 0);
        EXPECT_EQ(f.exceptions, 0);
        EXPECT_EQ(f.flagsLost, 0);
    }

    // A valid Portuguese NIF, different for each n.
    static QString nif(int n)
    {
        QString digits = QStringLiteral("5") + QString::number(1000000 + n).right(7);
        int sum = 0;
        for (int i = 0; i < 8; ++i)
            sum += digits[i].digitValue() * (9 - i);
        const int check = 11 - sum % 11;
        return digits + QString::number(check >= 10 ? 0 : check);
    }

    // The name changes every round; the rows are added once, so that every
    // round writes as many statements.
    void editIdentification(frmInicial& card, IdentityPanel* identity, const QString& name, int round)
    {
        type(identity, "txtNome", name);
        card.setPrpAlteracoes(true);
        if (round > 0 && !card.isNew)
            return;
        card.ucIDMoradas1->addRow({QStringLiteral("Rua d'Além, 5"), QStringLiteral("4000-123"),
                                   QStringLiteral("Porto"), QStringLiteral("Portugal")});
        card.ucIDTelefones1->addRow({QStringLiteral("+351 222 000 111"), QStringLiteral("Telefone")});
        card.ucIDEmails1->addRow({QStringLiteral("geral@exemplo.pt"), QStringLiteral("Geral")});
        type(card.ucIDTulvas_Details1, "txtReferencia", QStringLiteral("REF-%2"));
        card.setPrpAlteracoes(true);
    }
};

} // namespace

TEST_F(WritePathFaults, SavingAnExistingContactIsWholeOrNothing)
{
    qint32 tab = 1;
    for (const int id : {13, 1}) { // an individual, an institution
        frmInicial& card = open(id);
        IdentityPanel* identity =
            card.isSingular() ? static_cast<IdentityPanel*>(card.ucIDSingular1) : card.ucIDInstitucional1;
        expectClean(everyStatement(
            [&](int round) {
                editIdentification(card, identity,
                                   QStringLiteral("Nome %1 d'Ávila ") + QString::number(round), round);
            },
            [&] { return card.GravarCampos(tab); }, [&] { return card.prpAlteracoes(); },
            id == 13 ? "separador 1, particular existente" : "separador 1, instituição existente"));
        EXPECT_TRUE(db.value(QStringLiteral("SELECT nome_union FROM tbContactos WHERE contacto_id = ") +
                             QString::number(id))
                        .contains(QStringLiteral("Nome %1 d'Ávila ")));
    }
}

TEST_F(WritePathFaults, CreatingAContactIsWholeOrNothing)
{
    for (const bool singular : {true, false}) {
        const int contacts = db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos"));
        frmInicial* card = nullptr;
        const auto prepare = [&](int round) {
            general.ObjectNew(QStringLiteral("tbContactos"));
            choose(singular);
            card = general.card();
            ASSERT_TRUE(card->isNew);
            IdentityPanel* identity =
                singular ? static_cast<IdentityPanel*>(card->ucIDSingular1) : card->ucIDInstitucional1;
            editIdentification(*card, identity, QStringLiteral("Novo ") + QString::number(round), round);
            type(identity, "txtNIF", nif(round * 2 + (singular ? 0 : 1)));
        };
        qint32 tab = 1;
        expectClean(everyStatement(
            prepare, [&] { return card->GravarCampos(tab); },
            [&] { return card->isNew && card->prpAlteracoes(); },
            singular ? "separador 1, particular novo" : "separador 1, instituição nova"));
        EXPECT_FALSE(card->isNew);
        EXPECT_GE(db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos")), contacts + 2);
        EXPECT_TRUE(testsupport::incompleteContacts(db.folder(), QStringLiteral("Quarvenses")).isEmpty());
    }
}

TEST_F(WritePathFaults, SavingOtherInformationAndPermissionsIsWholeOrNothing)
{
    frmInicial& card = open(1);
    card.selectTab(2);
    QTreeWidget* events = card.eventsList();
    ASSERT_GT(events->topLevelItemCount(), 1);
    qint32 tab = 2;
    expectClean(everyStatement(
        [&](int round) {
            card.ucIDObs1->findChild<QPlainTextEdit*>()->setPlainText(QStringLiteral("Nota %3 'nova' ") +
                                                                      QString::number(round));
            QTreeWidgetItem* first = events->topLevelItem(0);
            first->setCheckState(0, first->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            ASSERT_TRUE(card.prpEventos);
        },
        [&] { return card.GravarCampos(tab); }, [&] { return card.prpAlteracoes() && card.prpEventos; },
        "separador 2, notas e eventos"));
    EXPECT_EQ(db.count("SELECT COUNT(*) FROM tbContactos_Eventos WHERE contacto_id = 1"),
              events->topLevelItemCount());

    card.selectTab(3);
    tab = 3;
    expectClean(everyStatement(
        [&](int round) {
            card.ucIDPermitions1->setRight(0, 1, round % 2 == 0 ? u'0' : u'1');
            card.setPrpAlteracoes(true);
        },
        [&] { return card.GravarCampos(tab); }, [&] { return card.prpAlteracoes(); },
        "separador 3, permissões"));
}

// Removing a contact everywhere or from this file only, and converting it:
// each is one unit at every statement too. A refusal the server reports (its
// delete procedure undoes itself and says why) counts as a failure here.
TEST_F(WritePathFaults, RemovingAndConvertingAreWholeOrNothing)
{
    frmInicial& card = open(1);
    qint32 victim = 0;
    const auto makeVictim = [&](int round) {
        modSQLConnection::CheckSQLConnection(); // a fault may have ended the session
        Data().SqlServer.Execute(
            QStringLiteral("INSERT INTO tbContactos (genero_id, nome_union) VALUES (1, 'Vítima ") +
            QString::number(round) + QStringLiteral("')"));
        victim = db.count(QStringLiteral("SELECT MAX(contacto_id) FROM tbContactos"));
        const QString id = QString::number(victim);
        Data().SqlServer.Execute(
            QStringLiteral("INSERT INTO tbContactos_Singulares (contacto_id, nome) VALUES (") + id +
            QStringLiteral(", 'Vítima')"));
        Data().SqlServer.Execute(
            QStringLiteral("INSERT INTO tbContactos_Moradas (contacto_id, morada, morada_default) VALUES (") +
            id + QStringLiteral(", 'Rua', 1)"));
        for (const char* file : {"Contactos Quarvenses", "Clientes"})
            Data().SqlServer.Execute(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP ") + id +
                                     QStringLiteral(", '") + QString::fromUtf8(file) +
                                     QStringLiteral("','$00011111','$10011111'"));
    };
    const auto refusedByServer = [&] {
        for (const auto& box : windows->messageBoxes())
            if (box.text.startsWith(QStringLiteral("Erro: não é possível eliminar")))
                return true;
        return false;
    };
    bool inactive = false;
    for (const qint32 response : {platform::msgbox::AnswerYes, platform::msgbox::AnswerNo}) {
        expectClean(everyStatement(
            makeVictim,
            [&] {
                windows->clear();
                return card.Apagar_Contacto(victim, inactive, response) && !refusedByServer();
            },
            [] { return true; },
            response == platform::msgbox::AnswerYes ? "apagar em todos os ficheiros"
                                                    : "remover deste ficheiro"));
    }

    general.ObjectOpen(hostList, vb::Variant(35));
    for (const bool toInstitution : {true, false}) {
        expectClean(everyStatement(
            [&](int) {
                modSQLConnection::CheckSQLConnection();
                // Back to the kind the conversion starts from, outside the count.
                Data().SqlServer.Execute(QStringLiteral("UPDATE tbContactos SET genero_id = ") +
                                         QString::number(toInstitution ? 1 : 2) +
                                         QStringLiteral(" WHERE contacto_id = 35"));
                Data().SqlServer.Execute(
                    QStringLiteral("DELETE FROM tbContactos_Institucionais WHERE contacto_id = 35"));
                qint32 tab = 1;
                card.PreencherCampos(tab);
            },
            [&] {
                const bool before = card.isSingular();
                windows->queueAnswer(platform::msgbox::AnswerYes);
                if (toInstitution)
                    card.mnConverterInstitucional_Click();
                else
                    card.mnConverterSingular_Click();
                windows->discardQueued();
                return card.isSingular() != before; // the card shows the new kind only once it is stored
            },
            [] { return true; }, toInstitution ? "converter em instituição" : "converter em particular"));
    }
}
