// Every writing operation of the card (and the vCard import), with the server
// failing at each of its statements in turn: once a statement that fails, once
// a session the server ends. After each run the catalog holds either the
// operation's result or the state before; a success was told only when it
// was stored, and a failure was told; no lock is left; and the next save on
// the same card loses nothing: saving what the card holds, when nothing is
// pending, changes no row, and a retry of pending edits stores them and
// touches nothing else.
#include "data/TaxNumber.h"
#include "data/modSQLConnection.h"
#include "documents/ImportarFicheiro.h"
#include "documents/vcard/VCardExchange.h"
#include "panels/LookupTableEditor.h"
#include "panels/ucIDArqDoc.h"
#include "panels/ucIDFotos.h"
#include "panels/ucIDObs.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "settings/modRegistry.h"
#include "tests/card/CardFixture.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/ExportedCards.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

using ado::embedded::EmbeddedServer;
using namespace platform::msgbox;

namespace {

// One writing operation as the harness drives it.
struct Operation {
    const char* name;
    // Makes the operation's edits (new ones each round, so that every run writes).
    std::function<void(int round)> prepare;
    // Runs it; true when it tells the user it was done.
    std::function<bool()> run;
    // The catalog holds what the operation meant to store.
    std::function<bool()> done;
    // The tab the next save of the same card writes; 0: the card is not involved.
    int nextSaveTab = 1;
    // Tables the operation's own edits change, which a retry may change again.
    QStringList edits;
};

struct Figures {
    int points = 0;
    int falseSuccesses = 0; // told done, not stored (or stored only in part)
    int halfWrites = 0;     // told failed, something stored
    int untold = 0;         // failed without a word
    int locksHeld = 0;
    int exceptions = 0;
    int flagsLost = 0; // a failed save forgot the user's edits
    int nextSaveLosses = 0;
};

// Each operation on a catalog of its own, as its own test, so that the slow
// sanitized build runs them side by side and none nears the runner's limit.
class WritePathFaults : public cardtest::CardFixture, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        windows->onUnexpected = [](const QString&) {}; // every box answers as Escape would
        Conn().strDataServer = QStringLiteral("Quarvenses");
        root = files.filePath(QStringLiteral("arquivo"));
        QDir().mkpath(root);
        modRegistry::GravarShadow(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\Quarvenses"),
                                  QStringLiteral("ArquivoDocumental"), root);
    }
    void TearDown() override
    {
        EmbeddedServer::disarmFault();
        CardFixture::TearDown();
    }

    testsupport::CatalogContent content() const
    {
        return testsupport::catalogContent(db.folder(), QStringLiteral("Quarvenses"));
    }
    frmInicial* shownCard()
    {
        frmInicial* card = general.card();
        return card && card->isVisible() ? card : nullptr;
    }
    // The card showing contact `id`, opened when it is not.
    frmInicial& cardOn(qint32 id)
    {
        frmInicial* card = shownCard();
        return card && card->Contacto_ID == id && !card->isNew ? *card : open(id);
    }
    bool told() const { return !windows->messageBoxes().empty() || !reporter.reports().empty(); }

    // The user reads again what a failure left unread, as the card offers.
    static void readAgain(frmInicial& card)
    {
        modSQLConnection::CheckSQLConnection();
        qint32 tab = card.selectedTab();
        card.PreencherCampos(tab);
        card.setPrpAlteracoes(false);
    }

    // The host's list row follows the contact, its telephones, e-mails and
    // addresses: an operation that edits them edits it.
    static QStringList editedWithList(QStringList edits)
    {
        static const QStringList sources{"tbContactos", "tbContactos_Telefones", "tbContactos_Emails",
                                         "tbContactos_Moradas"};
        if (std::any_of(sources.begin(), sources.end(), [&](const QString& t) { return edits.contains(t); }))
            edits << QStringLiteral("tbContactos_Lista");
        return edits;
    }

    // The next save on the same card: when nothing is pending, every row
    // stays as it was; a pending edit, retried, is stored and changes only
    // the tables the operation edits.
    bool nextSaveLosesNothing(const Operation& op, const testsupport::CatalogContent& now)
    {
        frmInicial* card = shownCard();
        if (!card || op.nextSaveTab == 0)
            return true;
        const bool pending = card->prpAlteracoes();
        const bool saved = save(*card, op.nextSaveTab);
        const testsupport::CatalogContent after = content();
        QStringList changed = testsupport::contentDifferences(now, after);
        if (!pending) {
            if (!changed.isEmpty())
                ADD_FAILURE() << op.name << ": the next save changed " << changed.join(u'\n').toStdString();
            return changed.isEmpty();
        }
        if (saved && !op.done()) {
            ADD_FAILURE() << op.name << ": the retry did not store the edits";
            return false;
        }
        for (const QString& table : editedWithList(op.edits))
            changed.removeIf([&](const QString& line) { return line.startsWith(table + u':'); });
        if (!changed.isEmpty())
            ADD_FAILURE() << op.name << ": the retry changed " << changed.join(u'\n').toStdString();
        return changed.isEmpty();
    }

    // `op` with the fault at every statement in turn, for each kind of
    // fault, until a run meets no fault.
    Figures everyStatement(const Operation& op)
    {
        Figures f;
        int round = 0;
        for (auto kind : {EmbeddedServer::FaultKind::Fail, EmbeddedServer::FaultKind::Kill}) {
            for (int k = 1;; ++k) {
                modSQLConnection::CheckSQLConnection(); // a fault may have ended the session
                if (frmInicial* card = shownCard(); card && !card->isNew && op.nextSaveTab != 0)
                    readAgain(*card);
                op.prepare(round++);
                const testsupport::CatalogContent before = content();
                windows->clear();
                reporter.clear();
                EmbeddedServer::armFault(k, kind);
                bool result = false;
                try {
                    result = op.run();
                } catch (...) {
                    ++f.exceptions;
                }
                const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
                EmbeddedServer::disarmFault();
                windows->discardQueued();
                modSQLConnection::CheckSQLConnection(); // for the checks' own queries
                const testsupport::CatalogContent after = content();
                const bool wrote = after != before;
                if (qEnvironmentVariableIsSet("QV_FAULT_TRACE"))
                    std::printf("%s k=%d kind=%d faulted=%d result=%d wrote=%d done=%d told=%d\n", op.name, k,
                                int(kind), faulted, result, wrote, op.done(), told());
                if (!faulted) {
                    EXPECT_TRUE(result && wrote && op.done()) << op.name << ": the run without a fault";
                    break;
                }
                ++f.points;
                f.falseSuccesses += result && !(wrote && op.done());
                f.halfWrites += !result && wrote;
                f.untold += !result && !told();
                f.locksHeld += !testsupport::catalogWritableNow(db.folder(), QStringLiteral("Quarvenses")) ||
                               Data().SqlServer.TransactionLevel() != 0 || Data().SqlServer.TransactionLost();
                if (frmInicial* card = shownCard(); card && !result && !op.edits.isEmpty())
                    f.flagsLost += !card->prpAlteracoes();
                f.nextSaveLosses += !nextSaveLosesNothing(op, after);
                if (k >= 600) {
                    ADD_FAILURE() << op.name << ": the operation never ends";
                    break;
                }
            }
        }
        std::printf(
            "%-36s pontos %3d  falsos sucessos %d  meias gravações %d  falhas caladas %d  bloqueios %d  "
            "excepções %d  alterações perdidas %d  perdas na gravação seguinte %d\n",
            op.name, f.points, f.falseSuccesses, f.halfWrites, f.untold, f.locksHeld, f.exceptions,
            f.flagsLost, f.nextSaveLosses);
        std::fflush(stdout);
        return f;
    }

    static void expectClean(const Figures& f)
    {
        EXPECT_GT(f.points, 0);
        EXPECT_EQ(f.falseSuccesses, 0);
        EXPECT_EQ(f.halfWrites, 0);
        EXPECT_EQ(f.untold, 0);
        EXPECT_EQ(f.locksHeld, 0);
        EXPECT_EQ(f.exceptions, 0);
        EXPECT_EQ(f.flagsLost, 0);
        EXPECT_EQ(f.nextSaveLosses, 0);
    }

    // A valid Portuguese NIF, different for each n.
    static QString nif(int n)
    {
        const QString digits = QStringLiteral("5") + QString::number(1000000 + n).right(7);
        return digits + QString::number(TaxNumber::checkDigit(digits));
    }

    // Saving the card's tab as its save command does.
    std::function<bool()> saveTab(qint32 tab)
    {
        return [this, tab] { return save(*general.card(), tab); };
    }
    // Table names, as the operations list what they edit.
    static QStringList tables(const char* names) { return QString::fromLatin1(names).split(u' '); }

    // The name changes every round; the rows are added in the first round
    // only, so that every round writes as many statements.
    Operation savingIdentification(int id)
    {
        auto name = std::make_shared<QString>();
        return {
            id == 13 ? "gravar: particular existente" : "gravar: instituição existente",
            [this, id, name](int round) {
                frmInicial& card = cardOn(id);
                IdentityPanel* identity = card.isSingular() ? static_cast<IdentityPanel*>(card.ucIDSingular1)
                                                            : card.ucIDInstitucional1;
                *name = QStringLiteral("Nome %1 d'Ávila ") + QString::number(round);
                type(identity, "txtNome", *name);
                if (round == 0) {
                    card.ucIDMoradas1->addRow({QStringLiteral("Rua d'Além, 5"), QStringLiteral("4000-123"),
                                               QStringLiteral("Porto"), QStringLiteral("Portugal")});
                    card.ucIDTelefones1->addRow(
                        {QStringLiteral("+351 222 000 111"), QStringLiteral("Telefone")});
                    card.ucIDEmails1->addRow({QStringLiteral("geral@exemplo.pt"), QStringLiteral("Geral")});
                }
                type(card.ucIDTulvas_Details1, "txtReferencia",
                     QStringLiteral("REF-%2 ") + QString::number(round));
                card.setPrpAlteracoes(true);
            },
            saveTab(1),
            [this, id, name] {
                return stored("nome_union", "tbContactos", id).contains(*name) &&
                       db.count(
                           "SELECT COUNT(*) FROM tbContactos_Moradas WHERE morada = 'Rua d''Além, 5' AND "
                           "contacto_id = %1",
                           id);
            },
            1,
            tables("tbContactos tbContactos_Singulares tbContactos_Institucionais tbContactos_Moradas "
                   "tbContactos_Telefones tbContactos_Emails tbTulvas_Contactos")};
    }

    Operation creating(bool singular)
    {
        auto name = std::make_shared<QString>();
        return {
            singular ? "novo: particular" : "novo: instituição",
            [this, singular, name](int round) {
                if (frmInicial* shown = shownCard())
                    shown->setPrpAlteracoes(false); // the last round's card is given up
                general.ObjectNew(QStringLiteral("tbContactos"));
                choose(singular);
                frmInicial& card = *general.card();
                IdentityPanel* identity =
                    singular ? static_cast<IdentityPanel*>(card.ucIDSingular1) : card.ucIDInstitucional1;
                *name = (singular ? QStringLiteral("Novo particular %1 ")
                                  : QStringLiteral("Nova instituição %1 ")) +
                        QString::number(round);
                type(identity, "txtNome", *name);
                type(identity, "txtNIF", nif(round * 2 + (singular ? 0 : 1)));
                // A number of its own: one stored before would make the save ask first.
                card.ucIDTelefones1->addRow(
                    {(singular ? QStringLiteral("+351 222 ") : QStringLiteral("+351 223 ")) +
                         QString::number(100000 + round),
                     QStringLiteral("Telefone")});
                card.setPrpAlteracoes(true);
            },
            [this] { return save(*general.card()) && !general.card()->isNew; },
            [this, name] {
                return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE nome_union LIKE '") +
                                *name + QStringLiteral("%'")) > 0 &&
                       testsupport::incompleteContacts(db.folder(), QStringLiteral("Quarvenses")).isEmpty();
            },
            1,
            tables("tbContactos tbContactos_Singulares tbContactos_Institucionais tbContactos_Telefones "
                   "tbContactos_Tipos_Links tbTulvas_Contactos tbTulvas_Contactos_Permitions "
                   "tbContactos_VCard")};
    }

    Operation savingOtherInformation()
    {
        auto note = std::make_shared<QString>();
        return {
            "gravar: notas e eventos",
            [this, note](int round) {
                frmInicial& card = cardOn(1);
                card.selectTab(2);
                *note = QStringLiteral("Nota %3 'nova' ") + QString::number(round);
                card.ucIDObs1->findChild<QPlainTextEdit*>()->setPlainText(*note);
                QTreeWidgetItem* first = card.eventsList()->topLevelItem(0);
                first->setCheckState(0, first->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
                card.setPrpAlteracoes(true);
            },
            saveTab(2),
            [this, note] {
                return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Notas WHERE contacto_id = 1 "
                                               "AND nota = '") +
                                QString(*note).replace(u'\'', QStringLiteral("''")) + u'\'') > 0;
            },
            2,
            tables("tbContactos_Notas tbContactos_Eventos")};
    }

    Operation savingPermissions()
    {
        auto right = std::make_shared<QChar>();
        return {"gravar: permissões",
                [this, right](int round) {
                    frmInicial& card = cardOn(1);
                    card.selectTab(3);
                    *right = round % 2 == 0 ? u'0' : u'1';
                    card.ucIDPermitions1->setRight(0, 1, *right);
                    card.setPrpAlteracoes(true);
                },
                saveTab(3),
                [this] {
                    return stored("group_code", "tbTulvas_Contactos_Permitions", 1) ==
                           general.card()->ucIDPermitions1->GroupMask();
                },
                3,
                tables("tbTulvas_Contactos_Permitions")};
    }

    // A contact of its own for each round, in two files, shown on the card.
    qint32 makeVictim(int round)
    {
        const QString name = QStringLiteral("'Vítima ") + QString::number(round) + u'\'';
        sql(QStringLiteral("INSERT INTO tbContactos (genero_id, nome_union) VALUES (1, ") + name + u')');
        const qint32 victim = db.count("SELECT MAX(contacto_id) FROM tbContactos");
        const QString id = QString::number(victim);
        sql(QStringLiteral("INSERT INTO tbContactos_Singulares (contacto_id, nome) VALUES (") + id + u',' +
            name + u')');
        sql(QStringLiteral("INSERT INTO tbContactos_Moradas (contacto_id, morada, morada_default) VALUES (") +
            id + QStringLiteral(", 'Rua', 1)"));
        for (const char* file : {"Contactos Quarvenses", "Clientes"})
            sql(QStringLiteral("EXECUTE spADD_CONTACTO_TO_GROUP ") + id + QStringLiteral(", '") +
                QString::fromUtf8(file) + QStringLiteral("','$00011111','$10011111'"));
        hostList.Close();
        hostList.Open(QStringLiteral("SELECT contacto_id, nome_union FROM tbContactos ORDER BY contacto_id"),
                      Data().SqlServer);
        open(victim);
        return victim;
    }

    Operation removing(bool everywhere)
    {
        auto victim = std::make_shared<qint32>();
        return {everywhere ? "apagar em todos os ficheiros" : "retirar deste ficheiro",
                [this, victim](int round) { *victim = makeVictim(round); },
                [this, everywhere] {
                    windows->queueAnswers({AnswerYes, everywhere ? AnswerYes : AnswerNo});
                    general.card()->mnRemover_Click();
                    for (const auto& box : windows->messageBoxes())
                        if (box.text.startsWith(QStringLiteral("Erro: não é possível eliminar")))
                            return false; // the server's procedure refused, and said so
                    return !general.card()->isVisible();
                },
                [this, victim, everywhere] {
                    const bool contact = rows("tbContactos", *victim) > 0;
                    return everywhere ? !contact : contact && rows("tbTulvas_Contactos", *victim) == 0;
                },
                1,
                {}};
    }

    Operation converting(bool toInstitution)
    {
        return {
            toInstitution ? "converter em instituição" : "converter em particular",
            [this, toInstitution](int) {
                // Back to the kind the conversion starts from, outside the count.
                sql(QStringLiteral("UPDATE tbContactos SET genero_id = ") +
                    QString::number(toInstitution ? 1 : 2) + QStringLiteral(" WHERE contacto_id = 35"));
                // The detail row of the kind converted to is missing, so that it is made.
                sql(QString::fromUtf8(toInstitution
                                          ? "DELETE FROM tbContactos_Institucionais WHERE contacto_id = 35"
                                          : "DELETE FROM tbContactos_Singulares WHERE contacto_id = 35"));
                if (!toInstitution &&
                    db.count("SELECT COUNT(*) FROM tbContactos_Institucionais WHERE contacto_id = 35") == 0)
                    sql("INSERT INTO tbContactos_Institucionais (contacto_id) VALUES (35)");
                open(35);
                readAgain(*general.card());
            },
            [this, toInstitution] {
                windows->queueAnswer(AnswerYes);
                frmInicial& card = *general.card();
                if (toInstitution)
                    card.mnConverterInstitucional_Click();
                else
                    card.mnConverterSingular_Click();
                // Done when nothing but the question (and, when the card could
                // not show it again, the news that it is stored) was said.
                for (size_t i = 1; i < windows->messageBoxes().size(); ++i)
                    if (!windows->messageBoxes()[i].text.startsWith(
                            QStringLiteral("O contacto foi convertido")))
                        return false;
                return true;
            },
            [this, toInstitution] {
                return stored("genero_id", "tbContactos", 35) == QString::number(toInstitution ? 2 : 1);
            },
            1,
            {}};
    }

    Operation relating(bool add)
    {
        return {add ? "relacionar" : "remover relação",
                [this, add](int) {
                    frmInicial& card = cardOn(13);
                    sql("DELETE FROM tbContactos_Relacionados WHERE contacto_id = 13 "
                        "AND related_contacto_id = 1");
                    if (!add)
                        sql("INSERT INTO tbContactos_Relacionados (contacto_id, related_contacto_id, "
                            "descrit) VALUES (13, 1, 'Empresa')");
                    readAgain(card);
                },
                [this, add] {
                    ucIDRelacionados* panel = general.card()->ucIDRelacionados1;
                    if (add)
                        return panel->AddRelation(1, QStringLiteral("Empresa d'Ele"));
                    auto* table = panel->findChild<QTableWidget*>(QStringLiteral("lstRelacionados"));
                    for (int r = 0; r < table->rowCount(); ++r)
                        if (table->item(r, 0)->text() == QStringLiteral("1"))
                            table->setCurrentCell(r, 0);
                    windows->queueAnswer(AnswerYes);
                    return panel->RemoveSelected();
                },
                [this, add] {
                    return add ==
                           (db.count("SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id = 13 "
                                     "AND related_contacto_id = 1") > 0);
                },
                1,
                {}};
    }

    Operation photo()
    {
        return {"fotografia",
                [this](int round) {
                    cardOn(13);
                    QImage image(8 + round % 5, 8, QImage::Format_RGB32);
                    image.fill(QColor::fromHsv((round * 37) % 360, 200, 200));
                    image.save(files.filePath(QStringLiteral("foto.png")));
                },
                [this] {
                    return general.card()->ucIDFotos1->LoadFromFile(
                        files.filePath(QStringLiteral("foto.png")));
                },
                [this] { return rows("tbContactos_Fotos", 13) > 0; },
                1,
                {}};
    }

    Operation filing(bool file)
    {
        return {file ? "arquivar documento" : "remover do arquivo",
                [this, file](int round) {
                    frmInicial& card = cardOn(13);
                    card.selectTab(4);
                    document = files.filePath(QStringLiteral("carta ") + QString::number(round) +
                                              QStringLiteral(".txt"));
                    QFile f(document);
                    f.open(QIODevice::WriteOnly);
                    f.write("carta");
                    f.close();
                    if (!file) {
                        documents::ImportarFicheiro(document, 13);
                        readAgain(card);
                    }
                },
                [this, file] {
                    if (file)
                        return !documents::ImportarFicheiro(document, 13, general.card()).isEmpty();
                    ucIDArqDoc* archive = general.card()->ucIDArqDoc1;
                    int row = 0;
                    while (row < archive->documentCount() &&
                           QFileInfo(archive->documentPath(row)).fileName() != QFileInfo(document).fileName())
                        ++row;
                    windows->queueAnswer(AnswerYes);
                    return archive->removeDocument(row);
                },
                [this, file] {
                    const bool row =
                        db.count(QStringLiteral("SELECT COUNT(*) FROM tbArquivo_Documental WHERE "
                                                "contacto_id = 13 AND filename = '") +
                                 QFileInfo(document).fileName() + u'\'');
                    return row == file && QFileInfo::exists(root + QStringLiteral("/13/") +
                                                            QFileInfo(document).fileName()) == file;
                },
                1,
                {}};
    }

    Operation importing(bool update)
    {
        auto name = std::make_shared<QString>();
        auto uid = std::make_shared<QString>();
        return {update ? "importar vCard (--update)" : "importar vCard",
                [this, update, name, uid](int round) {
                    *name = QStringLiteral("Importada ") + QString::number(round);
                    // With --update, Ana Alves's own card (her UID) renamed; without,
                    // a new person sharing her e-mail.
                    *uid = update ? stored("uid", "tbContactos_VCard", 38) : QString();
                    if (update)
                        open(38);
                },
                [this, update, name, uid] {
                    QByteArray card = "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:" + name->toUtf8() +
                                      "\r\nN:" + name->section(u' ', 1).toUtf8() + ";" +
                                      name->section(u' ', 0, 0).toUtf8() +
                                      ";;;\r\nEMAIL:ana.alves@exemplo.pt\r\n";
                    if (!uid->isEmpty())
                        card += "UID:" + uid->toUtf8() + "\r\n";
                    card += "END:VCARD\r\n";
                    const vcard::ImportSummary s =
                        vcard::importCards(card, {update, false}, QStringLiteral("sa"));
                    const bool imported =
                        s.count(vcard::Outcome::Created) + s.count(vcard::Outcome::Updated) == 1;
                    if (!imported)
                        windows.services().messageBox(s.details().join(u'\n'), Information,
                                                      {}); // as the host shows it
                    return imported;
                },
                [this, update, name] {
                    const QString where = update ? QStringLiteral(" AND contacto_id = 38") : QString();
                    return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos WHERE nome_union = '") +
                                    *name + u'\'' + where);
                },
                update ? 1 : 0,
                {}};
    }

    // Contact 13's first export each round: the UID it gives is stored with
    // the file, or neither is there.
    Operation exporting()
    {
        const QString path = files.filePath(QStringLiteral("exportado.vcf"));
        return {"exportar vCard",
                [this, path](int) {
                    sql("DELETE FROM tbContactos_VCard WHERE contacto_id = 13");
                    QFile::remove(path);
                },
                [this, path] {
                    vcard::FileDelivery file(path);
                    const vcard::ExportResult r = vcard::exportContacts({13}, QStringLiteral("sa"), file);
                    if (!r.delivered) // as the host shows it
                        windows.services().messageBox(r.failure, Information, {});
                    return r.delivered;
                },
                [this, path] {
                    QFile written(path);
                    const QString uid = stored("uid", "tbContactos_VCard", 13);
                    return written.open(QIODevice::ReadOnly) && uid != QLatin1String("NULL") &&
                           written.readAll().contains(uid.toUtf8());
                },
                0,
                {}};
    }

    // A word added and another changed in a table's editor, saved in one unit.
    Operation editingTable()
    {
        auto editor = std::make_shared<std::unique_ptr<LookupTableEditor>>();
        auto word = std::make_shared<QString>();
        return {"editar tabela",
                [editor, word](int round) {
                    *word = QStringLiteral("Título ") + QString::number(round);
                    *editor = std::make_unique<LookupTableEditor>(lookupTables().at(0), QStringLiteral("sa"));
                    (*editor)->load();
                    (*editor)->list()->item(0)->setText(*word + QStringLiteral(" (alterado)"));
                    (*editor)->addWord();
                    (*editor)->list()->currentItem()->setText(*word);
                },
                [editor] { return (*editor)->save(); },
                [this, word] {
                    return db.count(
                               QStringLiteral("SELECT COUNT(*) FROM tbTabelas_Titulos WHERE descrit LIKE '") +
                               *word + QStringLiteral("%'")) == 2;
                },
                0,
                {}};
    }

    QTemporaryDir files;
    QString root;
    QString document;
};

} // namespace

// The tests' names, in the order of the operations below.
const char* const operationNames[] = {
    "SavingAPerson",       "SavingAnInstitution",  "SavingNotesAndEvents",
    "SavingPermissions",   "CreatingAPerson",      "CreatingAnInstitution",
    "RemovingEverywhere",  "RemovingFromThisFile", "ConvertingToAnInstitution",
    "ConvertingToAPerson", "RelatingAContact",     "UnrelatingAContact",
    "ChangingThePhoto",    "FilingADocument",      "RemovingADocument",
    "ImportingANewCard",   "ImportingAnUpdate",    "Exporting",
    "EditingATable"};

TEST_P(WritePathFaults, IsWholeOrNothing)
{
    // Ana Alves gets her UID first, as an export would give it.
    testsupport::exportedCards({38}, QStringLiteral("sa"));
    const std::vector<Operation> operations(
        {savingIdentification(13), savingIdentification(1), savingOtherInformation(), savingPermissions(),
         creating(true), creating(false), removing(true), removing(false), converting(true),
         converting(false), relating(true), relating(false), photo(), filing(true), filing(false),
         importing(false), importing(true), exporting(), editingTable()});
    ASSERT_EQ(operations.size(), std::size(operationNames));
    expectClean(everyStatement(operations[GetParam()]));
}

INSTANTIATE_TEST_SUITE_P(Operations, WritePathFaults, ::testing::Range(0, int(std::size(operationNames))),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return operationNames[info.param];
                         });
