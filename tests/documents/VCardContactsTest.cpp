// Contacts in and out as vCard: what maps to which column, round trips
// through the catalog that lose nothing, duplicates never doubled, the
// rights of the user, and a card written whole or not at all.
#include "connection/ConnectionState.h"
#include "documents/vcard/ContactMapping.h"
#include "documents/vcard/VCardExchange.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardUpgrade.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/EmbeddedServer.h"
#include "tests/documents/VCardSamples.h"
#include "tests/support/CatalogChecks.h"
#include "tests/support/DemoDatabase.h"
#include "tests/support/ExportedCards.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

#include <gtest/gtest.h>

using ado::embedded::EmbeddedServer;

namespace {

// An individual and an institution holding every mapped property, related
// to each other, with text a careless writer would break.
QByteArray twoContacts()
{
    const QByteArray note =
        "Cliente desde 2019\\, prefere contacto por escrito\\; ver processo n.º 12/2019.\\n"
        "Segunda linha: " +
        QByteArray(140, 'x');
    return samples::file({"BEGIN:VCARD", "VERSION:4.0", "KIND:individual", "FN:Conceição D'Ávila",
                          "N:D'Ávila;Conceição;;Dra.;", "TITLE:Engenheira civil", "BDAY:19800512",
                          "X-NIF:245678906",
                          "ADR;PREF=1:;;Rua de São João\\, 12,3.º esquerdo;Porto;;4000-123;Portugal",
                          "ADR:;;Avenida da Liberdade 10;Lisboa;;1250-096;Portugal",
                          "TEL;TYPE=cell;PREF=1:+351 912 345 678", "TEL;TYPE=voice:+351 222 000 111",
                          "EMAIL;TYPE=work;PREF=1:conceicao@exemplo.pt"}) +
           samples::file(
               {"NOTE:" + note, "PHOTO:data:image/png;base64," + samples::tinyImage("PNG").toBase64()}) +
           samples::file({"RELATED;X-RELACAO=Gerente:urn:uuid:00000000-0000-4000-8000-000000000002",
                          "CATEGORIES:Contactos Quarvenses", "X-ALCUNHA;TYPE=home:Xão",
                          "UID:urn:uuid:00000000-0000-4000-8000-000000000001", "END:VCARD", "BEGIN:VCARD",
                          "VERSION:4.0", "KIND:org", "FN:Águas & Companhia\\, Lda.",
                          "ORG:Águas & Companhia\\, Lda.", "X-NIF:509876540",
                          "ADR;TYPE=work;PREF=1:;;Zona Industrial\\, lote 4;Aveiro;;3800-000;Portugal",
                          "TEL;TYPE=work;X-DESCRICAO=Geral:+351 234 000 000", "EMAIL;PREF=1:geral@aguas.pt",
                          "RELATED;X-RELACAO=Engenheira:urn:uuid:00000000-0000-4000-8000-000000000001",
                          "CATEGORIES:Contactos Quarvenses",
                          "UID:urn:uuid:00000000-0000-4000-8000-000000000002", "END:VCARD"});
}

class VCardContacts : public ::testing::Test {
  protected:
    qint32 idOf(const QString& name) const
    {
        return db
            .value(QStringLiteral("SELECT contacto_id FROM tbContactos WHERE nome_union = '") +
                   QString(name).replace(u'\'', QStringLiteral("''")) + u'\'')
            .toInt();
    }
    int contacts() const { return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos")); }
    // The rows of contact `id` in tbContactos_<table>.
    int rows(const char* table, qint32 id) const
    {
        return db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_%1 WHERE contacto_id = %2")
                            .arg(QLatin1String(table))
                            .arg(id));
    }
    // With `except`, that contact's rows left out.
    QByteArray fingerprint(qint32 except = 0) const
    {
        return testsupport::catalogFingerprint(db.folder(), QStringLiteral("Quarvenses"), {}, except);
    }

    testsupport::ScopedSettings settings;
    testsupport::DemoDatabase db;
    ScriptedWindows windows;
};

} // namespace

TEST(ContactMapping, ColumnsTakeWhatTheyCanTheRestIsKeptAndRanksFollowTheDefaultRow)
{
    const vcard::ContactRecord simon = vcard::fromCard(vcard::read(samples::rfc6350Example()).first());
    EXPECT_EQ(simon.apelido, QStringLiteral("Perreault"));
    EXPECT_EQ(simon.nome, QStringLiteral("Simon"));
    ASSERT_EQ(simon.addresses.size(), 1);
    EXPECT_EQ(simon.addresses[0].morada, QStringLiteral("2875 Laurier\nSuite D2-630"));
    EXPECT_EQ(simon.addresses[0].localidade, QStringLiteral("Quebec"));
    ASSERT_EQ(simon.phones.size(), 2);
    EXPECT_TRUE(simon.phones[0].preferred);
    EXPECT_EQ(simon.phones[1].tipo, QStringLiteral("Móvel"));
    EXPECT_FALSE(simon.phones[1].preferred);
    EXPECT_FALSE(simon.nascimento.isValid()) << "a birthday without its year has no column";
    // Round trip through the record alone: the same card.
    EXPECT_TRUE(vcard::equivalent(vcard::toCard(simon),
                                  vcard::upgradeTo40(vcard::read(samples::rfc6350Example()).first())))
        << testing::PrintToString(vcard::toCard(simon));

    // A kept property whose columns changed since gives way to the columns.
    vcard::ContactRecord moved = simon;
    moved.addresses[0].localidade = QStringLiteral("Montréal");
    const vcard::Card out = vcard::toCard(moved);
    ASSERT_EQ(out.properties(QStringLiteral("ADR")).size(), 1);
    EXPECT_EQ(out.property(QStringLiteral("ADR"))->components()[3], QStringList{QStringLiteral("Montréal")});
    for (const vcard::Property& p : out.properties())
        EXPECT_FALSE(p.hasParameter(QStringLiteral("X-QV-CHAVE"))) << p.name().toStdString();

    // Ranks stay as the card gave them while the default row stays; when the user
    // moves the default, the new default outranks every other row.
    const QByteArray card = samples::file(
        {"BEGIN:VCARD", "VERSION:4.0", "FN:Rita Sá", "N:Sá;Rita;;;", "EMAIL;PREF=1:rita@um.example",
         "EMAIL;PREF=2:rita@dois.example", "EMAIL:rita@tres.example",
         "PHOTO;ENCODING=b:" + samples::tinyImage("PNG").toBase64(), "END:VCARD"});
    vcard::ContactRecord rita = vcard::fromCard(vcard::read(card).first());
    const auto prefs = [](const vcard::ContactRecord& r) {
        QList<int> out;
        for (const vcard::Property& p : vcard::toCard(r).properties(QStringLiteral("EMAIL")))
            out << p.pref();
        return out;
    };
    EXPECT_EQ(prefs(rita), (QList<int>{1, 2, 0}));
    rita.emails[0].preferred = false;
    rita.emails[1].preferred = true;
    EXPECT_EQ(prefs(rita), (QList<int>{0, 2, 0}));
    rita.emails[1].preferred = false;
    rita.emails[2].preferred = true;
    EXPECT_EQ(prefs(rita), (QList<int>{0, 2, 1}));
    // A photo without a type word is typed by its bytes.
    EXPECT_TRUE(vcard::upgradeTo40(vcard::read(card).first())
                    .property(QStringLiteral("PHOTO"))
                    ->value()
                    .startsWith(QStringLiteral("data:image/png;base64,")));
}

TEST_F(VCardContacts, ImportThenExportGivesTheSameCardsHostileTextToo)
{
    const int before = contacts();
    const vcard::ImportSummary summary = vcard::importCards(twoContacts(), {}, QStringLiteral("sa"));
    EXPECT_EQ(summary.totals(), QStringLiteral("Criados: 2, actualizados: 0, ignorados: 0, recusados: 0."))
        << summary.details().join(u'\n').toStdString();
    EXPECT_EQ(contacts(), before + 2);
    const qint32 person = idOf(QStringLiteral("Conceição D'Ávila"));
    const qint32 company = idOf(QStringLiteral("Águas & Companhia, Lda."));

    // The card shows what the columns say.
    EXPECT_EQ(db.value(QStringLiteral("SELECT titulo FROM tbContactos_Singulares WHERE contacto_id = ") +
                       QString::number(person)),
              QStringLiteral("Dra."));
    EXPECT_EQ(db.value(QStringLiteral("SELECT morada FROM tbContactos_Moradas WHERE morada_default = 1 AND "
                                      "contacto_id = ") +
                       QString::number(person)),
              QStringLiteral("Rua de São João, 12\n3.º esquerdo"));
    EXPECT_EQ(db.count(QStringLiteral("SELECT COUNT(*) FROM tbContactos_Relacionados WHERE contacto_id = ") +
                       QString::number(person) + QStringLiteral(" AND related_contacto_id = ") +
                       QString::number(company)),
              1);
    EXPECT_TRUE(testsupport::incompleteContacts(db.folder(), QStringLiteral("Quarvenses")).isEmpty());

    QString problem;
    const QByteArray exported = testsupport::exportedCards({person, company}, QStringLiteral("sa"), &problem);
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    QList<vcard::Card> again = vcard::read(exported);
    const QList<vcard::Card> source = vcard::read(twoContacts());
    ASSERT_EQ(again.size(), 2);
    EXPECT_TRUE(again[0].property(QStringLiteral("REV")).has_value());
    for (int i = 0; i < 2; ++i) {
        again[i].removeProperties(QStringLiteral("REV")); // the source has none
        EXPECT_TRUE(vcard::equivalent(again[i], source[i]))
            << "exported: " << testing::PrintToString(again[i])
            << "\nsource: " << testing::PrintToString(source[i]);
    }

    // The same file again creates nothing; asked to, it updates.
    const vcard::ImportSummary second = vcard::importCards(twoContacts(), {}, QStringLiteral("sa"));
    EXPECT_EQ(second.totals(), QStringLiteral("Criados: 0, actualizados: 0, ignorados: 2, recusados: 0."));
    EXPECT_EQ(second.details().first(), QStringLiteral("Ignorado: Conceição D'Ávila (já existe como n.º ") +
                                            QString::number(person) +
                                            QStringLiteral(" Conceição D'Ávila, com o mesmo UID)"));
    EXPECT_EQ(contacts(), before + 2);
    QByteArray renamed = twoContacts();
    renamed.replace("N:D'Ávila;Conceição;;Dra.;", "N:D'Ávila;Conceição Maria;;Dra.;");
    renamed.replace("FN:Conceição D'Ávila", "FN:Conceição Maria D'Ávila");
    const vcard::ImportSummary updated = vcard::importCards(renamed, {true, false}, QStringLiteral("sa"));
    EXPECT_EQ(updated.count(vcard::Outcome::Updated), 2);
    EXPECT_EQ(idOf(QStringLiteral("Conceição Maria D'Ávila")), person);
    EXPECT_EQ(rows("Moradas", person), 2) << "rows replaced, not added";
    EXPECT_EQ(rows("Notas", person), 1) << "a note already there is not added twice";

    // Hostile text is stored as typed and comes back.
    const QByteArray name = "O'Neil %4 '' %1); DELETE FROM tbContactos;--";
    const QByteArray card = samples::file(
        {"BEGIN:VCARD", "VERSION:4.0", "N:" + QByteArray(name).replace(";", "\\;") + ";Ana;;;",
         "NOTE:" + QByteArray(20, '\'') + " %2 %L1 \\; fim", "TEL;X-DESCRICAO=%3'x:+351 1", "END:VCARD"});
    const vcard::ImportSummary hostile = vcard::importCards(card, {}, QStringLiteral("sa"));
    ASSERT_EQ(hostile.count(vcard::Outcome::Created), 1) << hostile.details().join(u'\n').toStdString();
    EXPECT_EQ(contacts(), before + 3);
    const qint32 id = hostile.lines[0].contactId;
    EXPECT_EQ(db.value(QStringLiteral("SELECT apelido FROM tbContactos_Singulares WHERE contacto_id = ") +
                       QString::number(id)),
              QString::fromUtf8(name));
    const vcard::Card back = vcard::read(testsupport::exportedCards({id}, QStringLiteral("sa"))).first();
    EXPECT_EQ(back.text(QStringLiteral("NOTE")), QString(20, u'\'') + QStringLiteral(" %2 %L1 ; fim"));
    EXPECT_EQ(back.property(QStringLiteral("TEL"))->parameter(QStringLiteral("X-DESCRICAO")),
              QStringList{QStringLiteral("%3'x")});
}

TEST_F(VCardContacts, AnExportHoldsWhatTheUserMayOpenDuplicatesByNifOrEmailAndTheUsersRights)
{
    // An export holds only what the user may open.
    EXPECT_EQ(vcard::openableContacts(QStringLiteral("sa")).size(), 43) << "every contact of the file";
    Data().SqlServer.Execute(QStringLiteral(
        "UPDATE tbTulvas_Contactos_Permitions SET group_code = REPLACE(group_code, '$00041000', '$00040000') "
        "WHERE contacto_id NOT IN (1, 13, 33)"));
    const QList<qint32> mine = vcard::openableContacts(QStringLiteral("joao"));
    EXPECT_EQ(mine.size(), 3);
    QString problem;
    const QByteArray cards = testsupport::exportedCards({1, 2, 13}, QStringLiteral("joao"), &problem);
    EXPECT_EQ(vcard::read(cards).size(), 2);
    EXPECT_EQ(problem, QStringLiteral("n.º 2: sem permissão para o abrir"));
    EXPECT_EQ(vcard::fileNameFor(QStringLiteral("Silva/Costa: \"Lda\"")),
              QStringLiteral("Silva_Costa_ _Lda_.vcf"));

    // Contact 13 in the demonstration data (Maria Silva): a NIF is hers
    // only under her name; under another it is refused, never replaced.
    const QString nif =
        db.value(QStringLiteral("SELECT no_contribuinte FROM tbContactos WHERE contacto_id = 13"));
    const QByteArray sameNif = samples::file({"BEGIN:VCARD", "VERSION:3.0", "N:Outra;Pessoa;;;",
                                              "FN:Pessoa Outra", "X-NIF:" + nif.toUtf8(), "END:VCARD"});
    const QByteArray stored = fingerprint();
    for (const bool update : {false, true}) {
        vcard::ImportSummary s = vcard::importCards(sameNif, {update, false}, QStringLiteral("sa"));
        ASSERT_EQ(s.lines.size(), 1);
        EXPECT_EQ(
            s.details().first(),
            QStringLiteral("Recusado: Pessoa Outra (o NIF é o de n.º 13 Maria Silva, que tem outro nome)"));
    }
    const QByteArray herNif = samples::file({"BEGIN:VCARD", "VERSION:3.0", "N:SILVA;Maria;;;",
                                             "FN:MARIA SILVA", "X-NIF:" + nif.toUtf8(), "END:VCARD"});
    vcard::ImportSummary s = vcard::importCards(herNif, {}, QStringLiteral("sa"));
    EXPECT_EQ(s.details().first(),
              QStringLiteral("Ignorado: Maria SILVA (já existe como n.º 13 Maria Silva, com o mesmo NIF)"));
    EXPECT_EQ(fingerprint(), stored);
    // Another kind of contact is never updated from it.
    const QByteArray orgSameNif = samples::file(
        {"BEGIN:VCARD", "VERSION:4.0", "KIND:org", "FN:Maria Silva", "X-NIF:" + nif.toUtf8(), "END:VCARD"});
    s = vcard::importCards(orgSameNif, {true, false}, QStringLiteral("sa"));
    EXPECT_EQ(s.lines[0].outcome, vcard::Outcome::Refused);

    // An e-mail or a telephone shared with a stored contact (a family's, an
    // office's) is only likeness: the card is a new contact, and the stored
    // one is named and left as it was, --update or not.
    const QString email =
        db.value(QStringLiteral("SELECT email FROM tbContactos_Emails WHERE contacto_id = 38"));
    const QString phone =
        db.value(QStringLiteral("SELECT TOP 1 numero FROM tbContactos_Telefones WHERE contacto_id = 38"));
    const struct {
        QByteArray name;
        QByteArray line;
        const char* likeness;
    } shared[] = {{"FN:Rita Silva", "EMAIL:" + email.toUpper().toUtf8(), "o mesmo e-mail"},
                  {"FN:Rita Silva",
                   "TEL:+351" + QString(phone).remove(u' ').remove(QStringLiteral("+351")).toUtf8(),
                   "o mesmo telefone"},
                  {"FN:ANA ÁLVES", "NOTE:outra pessoa", "o mesmo nome"}};
    for (const auto& [name, line, likeness] : shared) {
        const QByteArray others = fingerprint();
        s = vcard::importCards(samples::file({"BEGIN:VCARD", "VERSION:4.0", name, line, "END:VCARD"}),
                               {true, false}, QStringLiteral("sa"));
        EXPECT_EQ(s.lines[0].outcome, vcard::Outcome::Created);
        EXPECT_EQ(s.lines[0].reason,
                  QStringLiteral("parecido com n.º 38 Ana Alves: ") + QString::fromUtf8(likeness));
        EXPECT_NE(s.lines[0].contactId, 38);
        EXPECT_EQ(fingerprint(s.lines[0].contactId), others) << "the stored contacts are left as they were";
    }

    // joao may not create contacts: nothing is written.
    const QByteArray before = fingerprint();
    Conn().strUser = QStringLiteral("joao");
    s = vcard::importCards(twoContacts(), {}, QStringLiteral("joao"));
    EXPECT_EQ(s.totals(), QStringLiteral("Criados: 0, actualizados: 0, ignorados: 0, recusados: 2."));
    EXPECT_EQ(s.lines[0].reason, QStringLiteral("não tem permissão para criar contactos"));
    EXPECT_EQ(fingerprint(), before);

    // A trial run checks everything and keeps nothing.
    Conn().strUser = QStringLiteral("sa");
    s = vcard::importCards(twoContacts(), {false, true}, QStringLiteral("sa"));
    EXPECT_EQ(s.count(vcard::Outcome::Created), 2);
    EXPECT_EQ(fingerprint(), before);
}

// A fault at every statement of an import: the card is refused and nothing
// of it is left, or (the fault fell on a read outside its unit) it is there
// whole; no lock is held.
TEST_F(VCardContacts, ACardIsWrittenWholeOrNotAtAll)
{
    windows->onUnexpected = [](const QString&) {}; // failed checks are reported in boxes
    const QByteArray person = twoContacts().left(twoContacts().indexOf("END:VCARD") + 11);
    int points = 0;
    int refused = 0;
    for (int k = 1;; ++k) {
        // Each round its own card, so that one written before is no duplicate.
        QByteArray card = person;
        card.replace("0000-4000-8000-000000000001", "0000-4000-8000-1" + QByteArray::number(100000 + k));
        card.replace("X-NIF:245678906\r\n", "");
        card.replace("conceicao@", "conceicao" + QByteArray::number(k) + "@");
        card.replace("D'\xC3\x81vila", "D'\xC3\x81vila " + QByteArray::number(k)); // its number is kept
        const QByteArray before = fingerprint();
        const int count = contacts();
        EmbeddedServer::armFault(k, EmbeddedServer::FaultKind::Fail);
        const vcard::ImportSummary s = vcard::importCards(card, {}, QStringLiteral("sa"));
        const bool faulted = EmbeddedServer::statementsSinceArmed() >= k;
        EmbeddedServer::disarmFault();
        ASSERT_EQ(s.lines.size(), 1);
        EXPECT_TRUE(testsupport::catalogWritableNow(db.folder(), QStringLiteral("Quarvenses"))) << k;
        EXPECT_TRUE(testsupport::incompleteContacts(db.folder(), QStringLiteral("Quarvenses")).isEmpty())
            << k;
        if (!faulted) {
            EXPECT_EQ(s.lines[0].outcome, vcard::Outcome::Created);
            break;
        }
        ++points;
        if (s.lines[0].outcome == vcard::Outcome::Created) {
            EXPECT_EQ(contacts(), count + 1) << k;
            continue;
        }
        ++refused;
        EXPECT_EQ(s.lines[0].outcome, vcard::Outcome::Refused) << k;
        EXPECT_FALSE(s.lines[0].reason.startsWith(QStringLiteral("não tem permissão"))) << k;
        EXPECT_EQ(fingerprint(), before) << "statement " << k;
        ASSERT_LT(k, 500);
    }
    EXPECT_GT(refused, 10);
    EXPECT_GT(points, refused);
}
