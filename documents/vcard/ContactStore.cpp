#include "documents/vcard/ContactStore.h"

#include "platform/dialect/LikePattern.h"

#include "duplicates/Likeness.h"

#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "permissions/AddUserToGroup.h"
#include "permissions/ContactsFile.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QUuid>
#include <utility>

namespace vcard {

namespace {

const char16_t selectContact[] =
    u"SELECT c.genero_id, c.nome_union, c.no_contribuinte, c.created_date, c.modified_date, s.nome, "
    u"s.apelido, "
    u"s.titulo, s.profissao, s.data_nascimento FROM tbContactos c LEFT JOIN tbContactos_Singulares s "
    u"ON s.contacto_id = c.contacto_id WHERE c.contacto_id = %1";
const char16_t selectAddresses[] =
    u"SELECT morada, codigo_postal, localidade, pais, morada_default FROM tbContactos_Moradas "
    u"WHERE contacto_id = %1 ORDER BY morada_id";
const char16_t selectPhones[] = u"SELECT numero, tipo, telefone_default FROM tbContactos_Telefones "
                                u"WHERE contacto_id = %1 ORDER BY telefone_id";
const char16_t selectEmails[] =
    u"SELECT email, descrit, email_default FROM tbContactos_Emails WHERE contacto_id = %1 ORDER BY email_id";
const char16_t selectNotes[] = u"SELECT nota FROM tbContactos_Notas WHERE contacto_id = %1 ORDER BY nota_id";
const char16_t selectPhoto[] =
    u"SELECT TOP 1 imagem FROM tbContactos_Fotos WHERE contacto_id = %1 ORDER BY foto_id DESC";
const char16_t selectRelated[] = u"SELECT related_contacto_id, descrit FROM tbContactos_Relacionados "
                                 u"WHERE contacto_id = %1 ORDER BY relacao_id";
const char16_t selectFiles[] =
    u"SELECT t.descrit FROM tbContactos_Tipos_Links l INNER JOIN tbContactos_Tipos t "
    u"ON t.contacto_tipo_id = l.contacto_tipo_id WHERE l.contacto_id = %1 ORDER BY l.link_id";
const char16_t selectExists[] = u"SELECT COUNT(*) AS n FROM tbContactos WHERE contacto_id = %1";
const char16_t selectExchange[] = u"SELECT uid, propriedades FROM tbContactos_VCard WHERE contacto_id = %1";
const char16_t insertExchange[] =
    u"INSERT INTO tbContactos_VCard (contacto_id, uid, propriedades) VALUES (%1, %2, %3)";
const char16_t deleteExchange[] = u"DELETE FROM tbContactos_VCard WHERE contacto_id = %1";
const char16_t selectByUid[] =
    u"SELECT TOP 1 v.contacto_id, c.genero_id, c.nome_union FROM tbContactos_VCard v INNER JOIN "
    u"tbContactos c ON c.contacto_id = v.contacto_id WHERE v.uid = %1";
// A UID of a contact merged into another finds the one kept.
const char16_t selectByUidOrMerged[] =
    u"SELECT TOP 1 v.contacto_id, c.genero_id, c.nome_union FROM (SELECT contacto_id, uid FROM "
    u"tbContactos_VCard "
    u"UNION ALL SELECT contacto_id, uid FROM tbContactos_VCard_Fundidos) v INNER JOIN tbContactos c ON "
    u"c.contacto_id = v.contacto_id WHERE v.uid = %1";
const char16_t selectMergedUidsTable[] = u"SELECT COUNT(*) AS tabelas FROM INFORMATION_SCHEMA.TABLES WHERE "
                                         u"TABLE_NAME = N'tbContactos_VCard_Fundidos'";
const char16_t selectByNif[] = u"SELECT TOP 1 contacto_id, genero_id, nome_union FROM tbContactos WHERE "
                               u"REPLACE(no_contribuinte, N' ', N'') = %1 ORDER BY contacto_id";
const char16_t selectByName[] = u"SELECT TOP 1 contacto_id, genero_id, nome_union FROM tbContactos WHERE "
                                u"nome_union COLLATE Latin1_General_CI_AI LIKE N'%1' ORDER BY contacto_id";
const char16_t selectByEmail[] =
    u"SELECT TOP 1 c.contacto_id, c.genero_id, c.nome_union FROM tbContactos_Emails e INNER JOIN tbContactos "
    u"c "
    u"ON c.contacto_id = e.contacto_id WHERE e.email = %1 ORDER BY c.contacto_id";
// Numbers compare without their spaces and without the country's prefix.
const char16_t selectByPhone[] =
    u"SELECT TOP 1 c.contacto_id, c.genero_id, c.nome_union FROM tbContactos_Telefones t INNER JOIN "
    u"tbContactos c ON c.contacto_id = t.contacto_id WHERE REPLACE(REPLACE(t.numero, N' ', N''), N'+351', "
    u"N'') "
    u"= %1 ORDER BY c.contacto_id";
const char16_t selectOpenable[] =
    u"SELECT contacto_id FROM tbContactos WHERE contacto_id IN (SELECT contacto_id FROM "
    u"tbTulvas_Contactos_Permitions WHERE %1) ORDER BY nome_union, contacto_id";

const char16_t insertContact[] =
    u"INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte, created_by, created_date) "
    u"VALUES (%1, %2, %3, %4, GETDATE()); SELECT @@IDENTITY as last";
const char16_t updateContact[] =
    u"UPDATE tbContactos SET nome_union = %1, no_contribuinte = %2, modified_by = %3, "
    u"modified_date = GETDATE() WHERE contacto_id = %4";
const char16_t deleteSingular[] = u"DELETE FROM tbContactos_Singulares WHERE contacto_id = %1";
const char16_t insertSingular[] =
    u"INSERT INTO tbContactos_Singulares (contacto_id, nome, apelido, titulo, profissao, data_nascimento) "
    u"VALUES (%1, %2, %3, %4, %5, %6)";
const char16_t insertInstitution[] = u"INSERT INTO tbContactos_Institucionais (contacto_id) VALUES (%1)";
const char16_t deleteAddresses[] = u"DELETE FROM tbContactos_Moradas WHERE contacto_id = %1";
const char16_t insertAddress[] =
    u"INSERT INTO tbContactos_Moradas (contacto_id, morada, codigo_postal, localidade, pais, morada_default) "
    u"VALUES (%1, %2, %3, %4, %5, %6)";
const char16_t deletePhones[] = u"DELETE FROM tbContactos_Telefones WHERE contacto_id = %1";
const char16_t insertPhone[] =
    u"INSERT INTO tbContactos_Telefones (contacto_id, numero, tipo, telefone_default) "
    u"VALUES (%1, %2, %3, %4)";
const char16_t deleteEmails[] = u"DELETE FROM tbContactos_Emails WHERE contacto_id = %1";
const char16_t insertEmail[] = u"INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) "
                               u"VALUES (%1, %2, %3, %4)";
const char16_t insertNote[] = u"INSERT INTO tbContactos_Notas (contacto_id, nota, created_by, created_date) "
                              u"VALUES (%1, %2, %3, GETDATE())";
const char16_t insertPhoto[] =
    u"INSERT INTO tbContactos_Fotos (contacto_id, ficheiro, imagem) VALUES (%1, NULL, %2)";
const char16_t selectRelation[] =
    u"SELECT relacao_id FROM tbContactos_Relacionados WHERE contacto_id = %1 AND "
    u"related_contacto_id = %2";
const char16_t insertRelation[] =
    u"INSERT INTO tbContactos_Relacionados (contacto_id, related_contacto_id, descrit, produto) "
    u"VALUES (%1, %2, %3, %4)";

constexpr qint32 individualGenero = 1;
constexpr qint32 institutionGenero = 2;
const QString uidPrefix = QStringLiteral("urn:uuid:");

// nome_union's width: a given name and a surname at their widths may exceed it.
constexpr int unionNameWidth = 150;

QString text(const vb::Variant& v)
{
    return v.isNull() ? QString() : vb::CStr(v);
}

QString literal(const QString& value)
{
    return modData::FormatSQLValue(vb::Variant(value), modData::kText);
}

QString bit(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString dateLiteral(const QDate& date)
{
    if (!date.isValid())
        return QStringLiteral("NULL");
    return modData::FormatSQLValue(vb::Variant::fromDate(vb::DateSerial(date)), modData::kDate);
}

ado::Recordset query(const QString& statement)
{
    ado::Recordset rs;
    rs.Open(statement, Data().SqlServer);
    return rs;
}

void execute(const QString& statement)
{
    Data().SqlServer.Execute(statement);
}

QString unionName(const ContactRecord& c)
{
    return c.displayName().left(unionNameWidth).trimmed();
}

QString newUid()
{
    return uidPrefix + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

ContactStore::ContactStore(QString user) : user_(std::move(user)) {}

ContactRecord ContactStore::load(qint32 id)
{
    ContactRecord r;
    ado::Recordset rs = query(sql::compose(selectContact, {id}));
    if (rs.Eof())
        throw vb::Error(0, QStringLiteral("O contacto n.º ") + QString::number(id) +
                               QStringLiteral(" não existe."));
    r.institution = vb::CLng(rs(QStringLiteral("genero_id"))) == institutionGenero;
    if (r.institution) {
        r.organizacao = text(rs(QStringLiteral("nome_union")));
    } else {
        r.nome = text(rs(QStringLiteral("nome")));
        r.apelido = text(rs(QStringLiteral("apelido")));
        r.titulo = text(rs(QStringLiteral("titulo")));
        r.profissao = text(rs(QStringLiteral("profissao")));
        const vb::Variant born = rs(QStringLiteral("data_nascimento"));
        if (!born.isNull())
            r.nascimento = vb::SerialDate(vb::CDbl(born));
        if (r.nome.isEmpty() && r.apelido.isEmpty())
            r.nome = text(rs(QStringLiteral("nome_union")));
    }
    r.nif = text(rs(QStringLiteral("no_contribuinte")));
    vb::Variant stamp = rs(QStringLiteral("modified_date"));
    if (stamp.isNull())
        stamp = rs(QStringLiteral("created_date"));
    if (!stamp.isNull())
        r.modified = vb::FromSerial(vb::CDbl(stamp));
    rs.Close();

    for (rs = query(sql::compose(selectAddresses, {id})); !rs.Eof(); rs.MoveNext())
        r.addresses << AddressRow{text(rs(QStringLiteral("morada"))),
                                  text(rs(QStringLiteral("codigo_postal"))),
                                  text(rs(QStringLiteral("localidade"))), text(rs(QStringLiteral("pais"))),
                                  vb::CBool(rs(QStringLiteral("morada_default")))};
    for (rs = query(sql::compose(selectPhones, {id})); !rs.Eof(); rs.MoveNext())
        r.phones << PhoneRow{text(rs(QStringLiteral("numero"))), text(rs(QStringLiteral("tipo"))),
                             vb::CBool(rs(QStringLiteral("telefone_default")))};
    for (rs = query(sql::compose(selectEmails, {id})); !rs.Eof(); rs.MoveNext())
        r.emails << EmailRow{text(rs(QStringLiteral("email"))), text(rs(QStringLiteral("descrit"))),
                             vb::CBool(rs(QStringLiteral("email_default")))};
    for (rs = query(sql::compose(selectNotes, {id})); !rs.Eof(); rs.MoveNext())
        r.notes << text(rs(QStringLiteral("nota")));
    rs = query(sql::compose(selectPhoto, {id}));
    if (!rs.Eof())
        r.photoPng = QByteArray::fromBase64(text(rs(QStringLiteral("imagem"))).toLatin1());
    QList<std::pair<qint32, QString>> related;
    for (rs = query(sql::compose(selectRelated, {id})); !rs.Eof(); rs.MoveNext())
        related.append(
            {vb::CLng(rs(QStringLiteral("related_contacto_id"))), text(rs(QStringLiteral("descrit")))});
    for (rs = query(sql::compose(selectFiles, {id})); !rs.Eof(); rs.MoveNext())
        r.categories << text(rs(QStringLiteral("descrit")));
    rs.Close();
    for (const auto& [other, descrit] : related)
        r.related << RelatedRow{uidOf(other), descrit};

    QString kept;
    r.uid = uidOf(id, &kept);
    r.kept = keptProperties(kept);
    return r;
}

// The contact's UID, made and stored the first time it is asked for; with
// `kept`, what is kept with the contact too.
QString ContactStore::uidOf(qint32 id, QString* kept)
{
    ado::Recordset rs = query(sql::compose(selectExchange, {id}));
    const bool hasRow = !rs.Eof();
    const QString uid = hasRow ? text(rs(QStringLiteral("uid"))) : QString();
    if (kept)
        *kept = hasRow ? text(rs(QStringLiteral("propriedades"))) : QString();
    rs.Close();
    if (hasRow)
        return uid; // the column is never empty
    const QString made = newUid();
    execute(sql::compose(insertExchange, {id, literal(made), QStringLiteral("NULL")}));
    return made;
}

namespace {

// Folded as the server's accent- and case-blind LIKE folds, in words.
QStringList foldedWords(const QString& name)
{
    const dialect::LikePattern::Folded folded =
        dialect::LikePattern::fold(name, dialect::LikePattern::Accents::Insensitive);
    QString plain = QString::fromUcs4(folded.constData(), folded.size());
    for (QChar& ch : plain)
        if (!ch.isLetterOrNumber())
            ch = u' ';
    return plain.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

QString ContactStore::Duplicate::named() const
{
    return QStringLiteral("n.º ") + QString::number(id) + (name.isEmpty() ? QString() : u' ' + name);
}

bool ContactStore::namesAgree(const QString& stored, const QString& card)
{
    const QStringList a = foldedWords(stored);
    const QStringList b = foldedWords(card);
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == b)
        return true;
    const QStringList& shorter = a.size() < b.size() ? a : b;
    const QStringList& longer = a.size() < b.size() ? b : a;
    if (shorter.size() < 2)
        return false;
    for (const QString& word : shorter)
        if (!longer.contains(word))
            return false;
    return true;
}

ContactStore::Duplicate ContactStore::findDuplicate(const ContactRecord& c)
{
    const auto first = [](const QString& statement, Match match, const QString& reason) {
        Duplicate d;
        ado::Recordset rs = query(statement);
        if (!rs.Eof()) {
            d.id = vb::CLng(rs(QStringLiteral("contacto_id")));
            d.institution = vb::CLng(rs(QStringLiteral("genero_id"))) == institutionGenero;
            const vb::Variant name = rs(QStringLiteral("nome_union"));
            d.name = name.isNull() ? QString() : vb::CStr(name);
            d.match = match;
            d.reason = reason;
        }
        rs.Close();
        return d;
    };
    if (!c.uid.isEmpty())
        if (Duplicate d = first(sql::compose(uidStatement(), {literal(c.uid)}), Match::Uid,
                                QStringLiteral("o mesmo UID"));
            d.id)
            return d;
    const QString nif = QString(c.nif).remove(u' ');
    if (!nif.isEmpty())
        if (Duplicate d =
                first(sql::compose(selectByNif, {literal(nif)}), Match::Nif, QStringLiteral("o mesmo NIF"));
            d.id)
            return d;
    for (const EmailRow& e : c.emails)
        if (Duplicate d = first(sql::compose(selectByEmail, {literal(e.email)}), Match::Email,
                                QStringLiteral("o mesmo e-mail"));
            d.id)
            return d;
    for (const PhoneRow& t : c.phones)
        if (const QString number = duplicates::comparableNumber(t.numero); !number.isEmpty())
            if (Duplicate d = first(sql::compose(selectByPhone, {literal(number)}), Match::Phone,
                                    QStringLiteral("o mesmo telefone"));
                d.id)
                return d;
    if (const QString name = c.displayName().trimmed(); !name.isEmpty())
        return first(sql::compose(selectByName, {sql::likeLiteral(name)}), Match::Name,
                     QStringLiteral("o mesmo nome"));
    return {};
}

qint32 ContactStore::create(const ContactRecord& c)
{
    ado::Recordset rs = Data().SqlServer.Execute(
        sql::compose(insertContact, {c.institution ? institutionGenero : individualGenero,
                                     literal(unionName(c)), literal(c.nif), literal(user_)}));
    qint32 id = vb::CLng(rs(QStringLiteral("last")));
    rs.Close();
    writeIdentity(id, c, true);
    QString file = contactsfile::name;
    if (!membership::AddUserToGroup(id, file))
        throw vb::Error(0, QStringLiteral("não foi possível arquivá-lo em «") + contactsfile::name +
                               QStringLiteral("» com as suas permissões por omissão"));
    writeRows(id, c);
    writeExchange(id, c);
    return id;
}

void ContactStore::update(qint32 id, const ContactRecord& c)
{
    execute(sql::compose(updateContact, {literal(unionName(c)), literal(c.nif), literal(user_), id}));
    writeIdentity(id, c, false);
    for (const char16_t* clear : {deleteAddresses, deletePhones, deleteEmails})
        execute(sql::compose(clear, {id}));
    // Notes and photos are history: only what is new is added.
    const ContactRecord stored = load(id);
    ContactRecord added = c;
    added.notes.clear();
    for (const QString& note : c.notes)
        if (!stored.notes.contains(note))
            added.notes << note;
    if (c.photoPng == stored.photoPng)
        added.photoPng.clear();
    writeRows(id, added);
    ContactRecord exchange = c;
    exchange.uid = stored.uid;
    writeExchange(id, exchange);
}

void ContactStore::writeIdentity(qint32 id, const ContactRecord& c, bool created)
{
    if (c.institution) {
        if (created)
            execute(sql::compose(insertInstitution, {id}));
        return;
    }
    const QString values[] = {literal(c.nome), literal(c.apelido), literal(c.titulo), literal(c.profissao),
                              dateLiteral(c.nascimento)};
    if (!created)
        execute(sql::compose(deleteSingular, {id}));
    // Written whole: nothing of an older row is left.
    execute(sql::compose(insertSingular, {id, values[0], values[1], values[2], values[3], values[4]}));
}

void ContactStore::writeRows(qint32 id, const ContactRecord& c)
{
    for (const AddressRow& a : c.addresses)
        execute(sql::compose(insertAddress, {id, literal(a.morada), literal(a.codigoPostal),
                                             literal(a.localidade), literal(a.pais), bit(a.preferred)}));
    for (const PhoneRow& t : c.phones)
        execute(sql::compose(insertPhone, {id, literal(t.numero), literal(t.tipo), bit(t.preferred)}));
    for (const EmailRow& e : c.emails)
        execute(sql::compose(insertEmail, {id, literal(e.email), literal(e.descrit), bit(e.preferred)}));
    for (const QString& note : c.notes)
        execute(sql::compose(insertNote, {id, literal(note), literal(user_)}));
    if (!c.photoPng.isEmpty())
        execute(sql::compose(insertPhoto, {id, literal(QString::fromLatin1(c.photoPng.toBase64()))}));
}

// The UID and what the columns cannot hold: the kept properties, and the
// categories that are no file the contact is in.
void ContactStore::writeExchange(qint32 id, const ContactRecord& c)
{
    QList<Property> kept = c.kept;
    QStringList unfiled;
    QStringList filed;
    for (ado::Recordset rs = query(sql::compose(selectFiles, {id})); !rs.Eof(); rs.MoveNext())
        filed << text(rs(QStringLiteral("descrit")));
    for (const QString& category : c.categories)
        if (!filed.contains(category, Qt::CaseInsensitive))
            unfiled << category;
    if (!unfiled.isEmpty())
        kept << Property::fromComponents(QStringLiteral("CATEGORIES"), {unfiled});
    const QString uid = c.uid.isEmpty() ? newUid() : c.uid;
    execute(sql::compose(deleteExchange, {id}));
    execute(sql::compose(insertExchange, {id, literal(uid), literal(keptText(kept))}));
}

QList<RelatedRow> ContactStore::relate(qint32 id, const QList<RelatedRow>& related)
{
    QList<RelatedRow> unknown;
    for (const RelatedRow& rel : related) {
        const qint32 other = contactOfUid(rel.uid);
        if (other == 0 || other == id) {
            unknown << rel;
            continue;
        }
        ado::Recordset rs = query(sql::compose(selectRelation, {id, other}));
        const bool there = !rs.Eof();
        rs.Close();
        if (!there)
            execute(sql::compose(insertRelation,
                                 {id, other, literal(rel.descrit), literal(Conn().strDataServer)}));
    }
    return unknown;
}

void ContactStore::keepUnresolved(qint32 id, const QList<RelatedRow>& unresolved)
{
    if (unresolved.isEmpty())
        return;
    ado::Recordset rs = query(sql::compose(selectExchange, {id}));
    const QString uid = rs.Eof() ? newUid() : text(rs(QStringLiteral("uid")));
    const QList<Property> kept = withUnresolved(
        rs.Eof() ? QList<Property>() : keptProperties(text(rs(QStringLiteral("propriedades")))), unresolved);
    rs.Close();
    execute(sql::compose(deleteExchange, {id}));
    execute(sql::compose(insertExchange, {id, literal(uid), literal(keptText(kept))}));
}

bool ContactStore::exists(qint32 id)
{
    ado::Recordset rs = query(sql::compose(selectExists, {id}));
    const bool there = vb::CLng(rs(QStringLiteral("n"))) > 0;
    rs.Close();
    return there;
}

const char16_t* ContactStore::uidStatement()
{
    if (!mergedUids_) {
        ado::Recordset rs = query(QString::fromUtf16(selectMergedUidsTable));
        mergedUids_ = vb::CLng(rs.Fields(0).Value()) > 0;
        rs.Close();
    }
    return *mergedUids_ ? selectByUidOrMerged : selectByUid;
}

qint32 ContactStore::contactOfUid(const QString& uid)
{
    ado::Recordset rs = query(sql::compose(uidStatement(), {literal(uid)}));
    const qint32 id = rs.Eof() ? 0 : vb::CLng(rs(QStringLiteral("contacto_id")));
    rs.Close();
    return id;
}

QList<qint32> ContactStore::openable()
{
    const QString condition = modCheckPermissions::OpenCondition(user_);
    QList<qint32> ids;
    if (condition.isEmpty())
        return ids;
    for (ado::Recordset rs = query(sql::compose(selectOpenable, {condition})); !rs.Eof(); rs.MoveNext())
        ids << vb::CLng(rs(QStringLiteral("contacto_id")));
    return ids;
}

} // namespace vcard
