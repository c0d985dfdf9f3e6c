// Two contacts made one and back: every row of both reaches the kept one
// once, the other goes as a deletion takes it, and undoing restores both
// byte for byte; a change after the merge, or a missing right, refuses; the
// server failing or killed at any statement leaves one state or the other.
#include "duplicates/ContactMerge.h"
#include "connection/ConnectionState.h"
#include "data/modSQLConnection.h"
#include "documents/vcard/ContactStore.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "platform/values/VbError.h"
#include "platform/windows/ScriptedWindowServices.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/DemoDatabase.h"
#include <gtest/gtest.h>

namespace {

const QString catalog = QStringLiteral("Quarvenses");
const QStringList mergeLog = {QStringLiteral("tbContactos_Fusoes")};

class ContactMergeTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        kept = db.count("SELECT MIN(contacto_id) FROM tbContactos WHERE genero_id = 1");
        other = db.count("SELECT MAX(contacto_id) FROM tbContactos WHERE genero_id = 1");
        // The two share an e-mail (written otherwise) and are related to each
        // other; the other has a note, an event and a relation of its own.
        run(QStringLiteral("UPDATE tbContactos_Emails SET email = UPPER((SELECT TOP 1 email FROM "
                           "tbContactos_Emails WHERE contacto_id = %1)) WHERE contacto_id = %2")
                .arg(kept)
                .arg(other));
        run(QStringLiteral("INSERT INTO tbContactos_Relacionados (contacto_id, related_contacto_id, descrit) "
                           "VALUES (%1, %2, N'Irmã'), (%2, 1, N'Sócia d''ele')")
                .arg(other)
                .arg(kept));
        run(QStringLiteral("INSERT INTO tbContactos_Notas (contacto_id, nota, created_by, created_date) "
                           "VALUES (%1, N'Nota d''outro: 100%% certa', N'sa', GETDATE())")
                .arg(other));
        // Both were exported once: each has a vCard UID.
        run(QStringLiteral("INSERT INTO tbContactos_VCard (contacto_id, uid) VALUES (%1, N'%3'), (%2, N'%4')")
                .arg(kept)
                .arg(other)
                .arg(keptUid, otherUid));
        original = fingerprint();
    }
    const QString keptUid = QStringLiteral("urn:uuid:00000000-0000-4000-8000-0000000000a1");
    const QString otherUid = QStringLiteral("urn:uuid:00000000-0000-4000-8000-0000000000a2");
    static void run(const QString& sql) { Data().SqlServer.Execute(sql); }
    QByteArray fingerprint() const { return testsupport::catalogFingerprint(db.folder(), catalog, mergeLog); }
    // %1 the kept contact, %2 the other.
    int count(const QString& sql) const
    {
        return db.count(QString(sql)
                            .replace(QStringLiteral("%1"), QString::number(kept))
                            .replace(QStringLiteral("%2"), QString::number(other)));
    }
    // The other's profession chosen, its e-mail folded into the kept one's.
    qint32 mergeTakingTheProfession()
    {
        duplicates::ContactMerge merge(QStringLiteral("sa"));
        QList<duplicates::FieldChoice> choices = merge.differences(kept, other);
        for (duplicates::FieldChoice& c : choices)
            c.takeOther = c.column == QLatin1String("profissao");
        return merge.merge(kept, other, choices);
    }

    testsupport::DemoDatabase db;
    qint32 kept = 0;
    qint32 other = 0;
    QByteArray original;
};

} // namespace

TEST_F(ContactMergeTest, EveryRowReachesTheKeptContactOnceTheUndoRestoresBothAndALaterChangeRefusesIt)
{
    duplicates::ContactMerge merge(QStringLiteral("sa"));
    const QList<duplicates::FieldChoice> choices = merge.differences(kept, other);
    QStringList captions;
    for (const duplicates::FieldChoice& c : choices)
        captions << c.caption;
    EXPECT_TRUE(captions.contains(QStringLiteral("Nome"))) << captions.join(u',').toStdString();
    EXPECT_FALSE(captions.contains(QStringLiteral("created_date")));
    const QString profession = db.value(QStringLiteral("SELECT profissao FROM tbContactos_Singulares WHERE "
                                                       "contacto_id = %1"),
                                        other);
    const int phones =
        count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Telefones WHERE contacto_id IN (%1, %2)"));
    const int notes =
        count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Notas WHERE contacto_id IN (%1, %2)"));

    const qint32 id = mergeTakingTheProfession();
    EXPECT_GT(id, 0);
    EXPECT_EQ(
        db.value(QStringLiteral("SELECT profissao FROM tbContactos_Singulares WHERE contacto_id = %1"), kept),
        profession);
    // Counts after the merge: %1 the kept contact, %2 the other.
    const struct {
        const char* sql;
        int expected;
        const char* why;
    } after[] = {
        {"SELECT COUNT(*) FROM tbContactos WHERE contacto_id = %2", 0, "the other goes"},
        {"SELECT COUNT(*) FROM tbContactos c JOIN tbContactos_Singulares s ON s.contacto_id = c.contacto_id "
         "WHERE c.contacto_id = %1 AND c.nome_union = s.nome + ' ' + s.apelido",
         1, "the list names the person by the surnames chosen"},
        {"SELECT COUNT(*) FROM tbContactos_Telefones WHERE contacto_id = %1", phones, "every telephone"},
        {"SELECT COUNT(*) FROM tbContactos_Notas WHERE contacto_id = %1", notes, "every note"},
        {"SELECT COUNT(*) - COUNT(DISTINCT LOWER(email)) FROM tbContactos_Emails WHERE contacto_id = %1", 0,
         "the shared e-mail once"},
        {"SELECT SUM(email_default) FROM tbContactos_Emails WHERE contacto_id = %1", 1, "one default e-mail"},
        {"SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id = %1 AND related_contacto_id = %1",
         0, "no relation to itself"},
        {"SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id = %1 AND related_contacto_id = 1",
         1, "the other's relation"},
        {"SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id = %2 OR related_contacto_id = %2",
         0, "none to the other"},
    };
    for (const auto& [sql, expected, why] : after)
        EXPECT_EQ(count(QString::fromUtf8(sql)), expected) << why;
    EXPECT_EQ(testsupport::incompleteContacts(db.folder(), catalog), QStringList());

    EXPECT_EQ(vcard::ContactStore(QStringLiteral("sa")).contactOfUid(otherUid), kept)
        << "a later import of the other's card finds the kept contact";
    EXPECT_EQ(vcard::ContactStore(QStringLiteral("sa")).contactOfUid(keptUid), kept);

    ASSERT_EQ(merge.merges().value(0).id, id);
    EXPECT_FALSE(merge.merges().value(0).undone);
    merge.undo(id);
    EXPECT_EQ(fingerprint(), original) << "both contacts as they were, byte for byte";
    EXPECT_EQ(vcard::ContactStore(QStringLiteral("sa")).contactOfUid(otherUid), other);
    EXPECT_TRUE(merge.merges().value(0).undone);
    EXPECT_THROW(merge.undo(id), vb::Error) << "once";
    EXPECT_EQ(testsupport::incompleteContacts(db.folder(), catalog), QStringList());

    // A change after the merge, or a missing right, refuses and changes nothing.
    const qint32 again = mergeTakingTheProfession();
    run(QStringLiteral("INSERT INTO tbContactos_Telefones (contacto_id, numero, tipo, telefone_default) "
                       "VALUES (%1, N'912 000 000', N'Móvel', 0)")
            .arg(kept));
    const QByteArray changed = fingerprint();
    try {
        merge.undo(again);
        ADD_FAILURE() << "undone over a later change";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.description(),
                  QStringLiteral("o contacto n.º ") + QString::number(kept) +
                      QStringLiteral(" foi alterado depois da fusão (tbContactos_Telefones); "
                                     "nada foi desfeito"));
    }
    EXPECT_EQ(fingerprint(), changed);

    const qint32 another = db.count("SELECT MIN(contacto_id) FROM tbContactos WHERE genero_id = 2");
    EXPECT_THROW(merge.merge(kept, another, {}), vb::Error) << "a person and an institution";
    Conn().strUser = QStringLiteral("joao");
    EXPECT_THROW(duplicates::ContactMerge(QStringLiteral("joao")).merge(kept, another, {}), vb::Error);
    EXPECT_EQ(fingerprint(), changed);
}

// The server failing, or killed, at each statement of a merge or of its undo:
// the catalog holds the contacts as they were or as merged, never a half. The
// four cases are tests of their own, so that the slow sanitized build runs
// them side by side.
using ado::embedded::EmbeddedServer;
const char* const faultCases[] = {"MergeFailing", "MergeKilled", "UndoFailing", "UndoKilled"};
class MergeUnderFaults : public ContactMergeTest, public ::testing::WithParamInterface<int> {};

TEST_P(MergeUnderFaults, LeavesOneStateOrTheOther)
{
    const bool undoing = GetParam() >= 2;
    const auto kind = GetParam() % 2 ? EmbeddedServer::FaultKind::Kill : EmbeddedServer::FaultKind::Fail;
    // What the failures say goes to boxes nobody answers here.
    auto boxes = std::make_shared<platform::ScriptedWindowServices>();
    boxes->onUnexpected = [](const QString&) {};
    const auto previous = platform::WindowServices::install(boxes);
    const qint32 clean = mergeTakingTheProfession();
    const testsupport::CatalogContent merged = testsupport::catalogContent(db.folder(), catalog);
    duplicates::ContactMerge(QStringLiteral("sa")).undo(clean);
    ASSERT_EQ(fingerprint(), original);
    const auto withoutLog = [](testsupport::CatalogContent c) {
        c.remove(QStringLiteral("tbContactos_Fusoes"));
        return c;
    };
    int points = 0;
    for (int k = 1; k < 400; ++k) {
        modSQLConnection::CheckSQLConnection();
        qint32 id = 0;
        if (undoing)
            id = mergeTakingTheProfession();
        EmbeddedServer::armFault(k, kind);
        bool failed = false;
        try {
            if (undoing)
                duplicates::ContactMerge(QStringLiteral("sa")).undo(id);
            else
                id = mergeTakingTheProfession();
        } catch (const vb::Error&) {
            failed = true;
        }
        const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
        EmbeddedServer::disarmFault();
        modSQLConnection::CheckSQLConnection();
        EXPECT_EQ(Data().SqlServer.TransactionLevel(), 0);
        const bool asBefore = fingerprint() == original;
        const bool asMerged =
            withoutLog(testsupport::catalogContent(db.folder(), catalog)) == withoutLog(merged);
        EXPECT_TRUE(asBefore || asMerged) << (undoing ? "undo" : "merge") << " at " << k;
        EXPECT_EQ(failed, undoing ? asMerged : asBefore) << "told exactly when it did not happen, at " << k;
        // Back to the start for the next point.
        if (asMerged)
            duplicates::ContactMerge(QStringLiteral("sa")).undo(id);
        ASSERT_EQ(fingerprint(), original) << k;
        if (!faulted)
            break;
        ++points;
    }
    EXPECT_GT(points, 40);
    platform::WindowServices::install(previous);
}

INSTANTIATE_TEST_SUITE_P(MergeAndUndo, MergeUnderFaults, ::testing::Range(0, int(std::size(faultCases))),
                         [](const auto& info) { return faultCases[info.param]; });
