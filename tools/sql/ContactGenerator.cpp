#include "tools/sql/ContactGenerator.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/embedded/SqliteDatabase.h"
#include "platform/dialect/SqlFunctions.h"
#include "tools/sql/SampleWords.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <future>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace ado::embedded {

namespace {

// ---- Statements ----
const char* const selectQuarvensesType =
    "SELECT contacto_tipo_id FROM tbContactos_Tipos WHERE descrit = 'Contactos Quarvenses'";
const char* const selectFiles = "SELECT contacto_tipo_id, descrit, related FROM tbContactos_Tipos "
                                "WHERE descrit <> 'Contactos Quarvenses' ORDER BY contacto_tipo_id";
const char* const selectTableExists = "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1";
// What a bulk load sets aside and makes again after it: the indexes, and the
// triggers that keep the host's list row by row.
const char* const selectSetAside = "SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL AND "
                                   "(type = 'index' OR (type = 'trigger' AND name LIKE 'tr%Lista%')) "
                                   "ORDER BY type";
const char* const selectListed =
    "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'tbContactos_Lista'";
const char* const rebuildTrigrams =
    "INSERT INTO tbContactos_Lista_Trigramas (tbContactos_Lista_Trigramas) VALUES ('rebuild')";
// Room for the tables being written, so that the load does not wait on the disk.
const char* const largeCache = "PRAGMA cache_size = -262144";
// An index is built faster by sorting small runs on both cores and merging
// them than by sorting every key in one large cache.
const char* const sortingCache = "PRAGMA cache_size = -4096";
const char* const sortingThreads = "PRAGMA threads = 2";
// A load that mostly adds pages is undone by a rollback journal of the few
// pages it changes, where the write-ahead log would hold every page twice.
// Only when no other connection has the catalog open; the log comes back
// after the load.
const char* const rollbackJournal = "PRAGMA journal_mode = TRUNCATE";
const char* const writeAheadLog = "PRAGMA journal_mode = WAL";
const char* const selectTulvasTypes =
    "SELECT tipo_id, descrit FROM tbTulvas_Contactos_Tipos ORDER BY tipo_id";
const char* const selectAreas =
    "SELECT area_negocio_id, descrit FROM tbContactos_Institucionais_Areas_Negocio ORDER BY area_negocio_id";
const char* const selectEvents = "SELECT evento_id FROM tbContactos_Eventos_Tipos ORDER BY evento_id";
const char* const selectUsers = "SELECT descrit FROM tbUsers ORDER BY user_id";
const char* const selectTaxNumbers =
    "SELECT no_contribuinte FROM tbContactos WHERE no_contribuinte IS NOT NULL";

// Each "INSERT … VALUES " is followed by as many rows as a batch holds.
const char* const insertContact =
    "INSERT INTO tbContactos (contacto_id, genero_id, nome_union, no_contribuinte, chave, user_delete, "
    "created_by, created_date, modified_by, modified_date) VALUES ";
const char* const insertPerson =
    "INSERT INTO tbContactos_Singulares (contacto_id, nome, apelido, titulo, profissao, nacionalidade, "
    "data_nascimento, sexo, no_identificacao) VALUES ";
const char* const insertFirm = "INSERT INTO tbContactos_Institucionais (contacto_id, area_negocio_id, sigla, "
                               "capital_social, sitio) VALUES ";
const char* const insertAddress = "INSERT INTO tbContactos_Moradas (contacto_id, morada, codigo_postal, "
                                  "localidade, pais, morada_default) VALUES ";
const char* const insertPhone =
    "INSERT INTO tbContactos_Telefones (contacto_id, numero, tipo, telefone_default) VALUES ";
const char* const insertEmail =
    "INSERT INTO tbContactos_Emails (contacto_id, email, descrit, email_default) VALUES ";
const char* const insertLink =
    "INSERT INTO tbContactos_Tipos_Links (contacto_id, contacto_tipo_id, created_date) VALUES ";
const char* const insertMember = "INSERT INTO tbTulvas_Contactos (contacto_id, tipo_id, data_entrada, "
                                 "referencia, activo) VALUES ";
const char* const insertMemberRights =
    "INSERT INTO tbTulvas_Contactos_Permitions (contacto_id, user_code, group_code) VALUES ";
// The other files' tables are named by the catalog's types.
const char* const insertInto = "INSERT INTO \"";
const char* const fileMemberColumns = "\" (contacto_id, data_entrada, referencia, activo) VALUES ";
const char* const fileRightsColumns = "\" (contacto_id, user_code, group_code) VALUES ";
const char* const rightsSuffix = "_Permitions";
const char* const insertEvent = "INSERT INTO tbContactos_Eventos (contacto_id, evento_id, activado) VALUES ";
const char* const insertNote =
    "INSERT INTO tbContactos_Notas (contacto_id, nota, created_by, created_date) VALUES ";
const char* const insertRelation = "INSERT INTO tbContactos_Relacionados (contacto_id, related_contacto_id, "
                                   "descrit, produto) VALUES ";
// The host's list row: the contact's first address, telephone and e-mail are
// its default ones.
const char* const insertListed = "INSERT INTO tbContactos_Lista (contacto_id, genero_id, nome_union, "
                                 "no_contribuinte, telefone, email, localidade) VALUES ";
// The contacts are numbered here, after every number the catalog ever gave.
const char* const selectLastContact =
    "SELECT MAX(n) FROM (SELECT MAX(contacto_id) AS n FROM tbContactos UNION ALL "
    "SELECT seq FROM sqlite_sequence WHERE name = 'tbContactos')";

// ---- Shares, in percent ----
constexpr int everyone = 100;
constexpr int personShare = 70;
constexpr int publicBodyShare = 5;  // of firms
constexpr int plainTitleShare = 60; // of people whose profession has no title of its own
constexpr int doubleSurnameShare = 50;
constexpr int foreignShare = 5;
constexpr int idNumberShare = 70;
constexpr int modifiedShare = 60;
constexpr int protectedShare = 1;
constexpr int inactiveShare = 2;
constexpr int floorShare = 40;
constexpr int acronymShare = 30;
constexpr int websiteShare = 40;
constexpr int noAreaShare = 5;
constexpr int noteShare = 8;
constexpr int firmRelationShare = 15;
constexpr int personRelationShare = 3;
constexpr int activatedEventShare = 40;

// How many of each a contact has: 1 + below(extra).
constexpr int extraAddresses = 3;
constexpr int extraPhones = 3;
constexpr int extraEmails = 2;
constexpr int extraEvents = 4; // 0 to 3 events

// The other files a contact may also be in, as the demonstration data names them.
struct FileShare {
    const char* name;
    int percent;
};
constexpr FileShare fileShares[] = {
    {"Clientes", 25}, {"Fornecedores", 10}, {"Colaboradores", 4}, {"Associados", 3}};

// The permission masks of the demonstration data: most contacts open to the
// Comercial and Consulta groups, a few kept to the administrators and one user.
struct Mask {
    const char* users;
    const char* groups;
    int percent;
};
constexpr Mask masks[] = {
    {"$10011111$10021100", "$00011111$00021110$00041000", 36},
    {"$10011111$10021000", "$00011111$00021110$00041000", 36},
    {"$10011111$10021100", "$00011111$00021000$00041000", 11},
    {"$10011111$10021000", "$00011111$00021000$00041000", 11},
    {"$10011111$10030100", "$00011111", 6},
};

constexpr int totalPercent(const Mask (&all)[std::size(masks)])
{
    int sum = 0;
    for (const Mask& mask : all)
        sum += mask.percent;
    return sum;
}
static_assert(totalPercent(masks) == everyone, "the masks' shares make the whole");

// ---- Dates ----
constexpr int firstYear = 2015;
constexpr int createdDays = 3650;
constexpr int modifiedDays = 365;
constexpr int oldestBirthYear = 1940;
constexpr int birthDays = 65 * 365;
constexpr int firstHour = 8;
constexpr int workingHours = 11;
constexpr int minutesInHour = 60;

// ---- Numbers ----
constexpr int genderPerson = 1;
constexpr int genderFirm = 2;
constexpr int taxBodyDigits = 7;
constexpr int taxBodyRange = 10000000;  // 10^taxBodyDigits
constexpr qint64 taxBodyStep = 3141593; // coprime with 10^7: every body once
constexpr qint64 taxBodyStart = 271828;
constexpr char taxPersonPrefixes[] = {'1', '2', '3'};
constexpr char taxFirmPrefix = '5';
constexpr char taxPublicPrefix = '6';
constexpr int phoneDigits = 9;
constexpr int maxHouseNumber = 250;
constexpr int lastPostalSuffix = 999;
constexpr int postalFirstDigits = 4;
constexpr int postalLastDigits = 3;
constexpr int idNumberDigits = 8;
constexpr int referenceDigits = 4;
constexpr int contactsPerRound = 5000; // made on one thread while written on the other
constexpr double capitals[] = {5000, 25000, 50000, 100000, 250000, 1000000};

// splitmix64: small, fast and the same everywhere, so a count always gives the same catalog.
class Random {
  public:
    quint64 next()
    {
        quint64 z = (state_ += golden);
        z = (z ^ (z >> firstShift)) * firstMultiplier;
        z = (z ^ (z >> secondShift)) * secondMultiplier;
        return z ^ (z >> thirdShift);
    }
    int below(int n) { return int(next() % quint64(n)); }
    bool percent(int share) { return below(everyone) < share; }
    template <class T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }
    QByteArray digits(int count)
    {
        QByteArray out(count, '0');
        for (char& c : out)
            c = char('0' + below(10));
        return out;
    }

  private:
    static constexpr quint64 seed = 0x5175617276656e73; // fixed: the same contacts every run
    static constexpr quint64 golden = 0x9E3779B97F4A7C15;
    static constexpr quint64 firstMultiplier = 0xBF58476D1CE4E5B9;
    static constexpr quint64 secondMultiplier = 0x94D049BB133111EB;
    static constexpr int firstShift = 30;
    static constexpr int secondShift = 27;
    static constexpr int thirdShift = 31;
    quint64 state_ = seed;
};

// ---- What the catalog already has ----
struct FileTarget {
    int typeId = 0;
    QByteArray table;
    int percent = 0;
};

struct Named {
    int id = 0;
    QByteArray name;
};

struct Lookups {
    int quarvensesType = 0;
    std::vector<FileTarget> files;
    std::vector<Named> tulvasTypes;
    std::vector<Named> areas;
    std::vector<int> events;
    std::vector<QByteArray> users;
    QSet<QByteArray> taxNumbers; // digits only
};

std::vector<Named> readNamed(SqliteDatabase& db, const char* sql)
{
    std::vector<Named> out;
    SqliteStatement st = db.prepare(sql);
    while (st.step())
        out.push_back({sqlite3_column_int(st.get(), 0), st.columnBytes(1)});
    return out;
}

bool tableExists(SqliteDatabase& db, const QByteArray& table)
{
    SqliteStatement st = db.prepare(selectTableExists);
    st.bindText(1, table);
    return st.step();
}

int shareOf(const QByteArray& fileName)
{
    for (const FileShare& share : fileShares)
        if (fileName == share.name)
            return share.percent;
    return 0;
}

std::vector<FileTarget> readFiles(SqliteDatabase& db)
{
    std::vector<FileTarget> files;
    SqliteStatement st = db.prepare(selectFiles);
    while (st.step()) {
        FileTarget file{sqlite3_column_int(st.get(), 0), st.columnBytes(2), shareOf(st.columnBytes(1))};
        if (file.percent > 0 && tableExists(db, file.table) && tableExists(db, file.table + rightsSuffix))
            files.push_back(file);
    }
    return files;
}

void missing(const QString& what)
{
    throw error::provider(QStringLiteral("O catálogo não tem os dados de demonstração (") + what +
                          QStringLiteral("): crie-o com --demo."));
}

Lookups readLookups(SqliteDatabase& db)
{
    Lookups found;
    SqliteStatement type = db.prepare(selectQuarvensesType);
    if (!type.step())
        missing(QStringLiteral("Contactos Quarvenses"));
    found.quarvensesType = sqlite3_column_int(type.get(), 0);
    found.files = readFiles(db);
    found.tulvasTypes = readNamed(db, selectTulvasTypes);
    found.areas = readNamed(db, selectAreas);
    for (const Named& event : readNamed(db, selectEvents))
        found.events.push_back(event.id);
    SqliteStatement users = db.prepare(selectUsers);
    while (users.step())
        found.users.push_back(users.columnBytes(0));
    if (found.users.empty() || found.events.empty() || found.tulvasTypes.empty())
        missing(QStringLiteral("utilizadores, eventos e tipos de contacto"));
    SqliteStatement taxes = db.prepare(selectTaxNumbers);
    while (taxes.step())
        found.taxNumbers.insert(taxes.columnBytes(0).replace(' ', QByteArray()));
    return found;
}

// ---- Tax numbers: every body of seven digits once, skipping those in use ----
class TaxNumbers {
  public:
    TaxNumbers(TaxCheckDigit checkDigit, QSet<QByteArray> taken)
        : checkDigit_(std::move(checkDigit)), taken_(std::move(taken))
    {
    }
    QByteArray next(char prefix)
    {
        for (;;) {
            const qint64 body = (taxBodyStart + taxBodyStep * counter_++) % taxBodyRange;
            const QByteArray firstEight =
                prefix + QByteArray::number(body).rightJustified(taxBodyDigits, '0');
            const QByteArray number =
                firstEight + QByteArray::number(checkDigit_(QString::fromLatin1(firstEight)));
            if (!taken_.contains(number)) {
                taken_.insert(number);
                return number;
            }
        }
    }

  private:
    TaxCheckDigit checkDigit_;
    QSet<QByteArray> taken_;
    qint64 counter_ = 0;
};

// ---- One contact ----
struct Address {
    QByteArray street;
    QByteArray postalCode;
    QByteArray town;
};

struct Phone {
    QByteArray number;
    const char* kind;
};

struct Email {
    QByteArray address;
    const char* label;
};

struct Person {
    QByteArray given;
    QByteArray surname;
    const char* title = nullptr;
    const char* profession = nullptr;
    const char* nationality = nullptr;
    QByteArray birth;
    const char* sex = nullptr;
    QByteArray idNumber;
};

struct Firm {
    int area = 0; // 0: none
    QByteArray acronym;
    QByteArray website;
    std::optional<double> capital;
};

struct Contact {
    qint64 id = 0;
    bool isPerson = true;
    QByteArray name;
    QByteArray key;
    QByteArray taxNumber;
    QByteArray created;
    QByteArray modifiedBy;
    QByteArray modified;
    bool isProtected = false;
    Person person;
    Firm firm;
    QList<Address> addresses;
    QList<Phone> phones;
    QList<Email> emails;
    int tulvasType = 0;
    const Mask* mask = nullptr;
    bool active = true;
    QList<int> files; // indexes into Lookups::files
    QList<std::pair<int, bool>> events;
    QByteArray note;
    const char* relation = nullptr;
    qint64 relatedTo = 0; // a person made before, or none
};

// As the server keeps dates ("yyyy-MM-dd hh:mm:ss.zzz"), written directly:
// a wall-clock time needs no time zone, and looking one up for each of a
// million contacts cost a tenth of the load.
QByteArray dateText(const QDate& day, const QTime& time = QTime(0, 0))
{
    char text[sizeof "yyyy-MM-dd hh:mm:ss.zzz" + 8];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", day.year(), day.month(), day.day(),
                  time.hour(), time.minute(), time.second(), time.msec());
    return QByteArray(text);
}

struct Moment {
    QDate day;
    QTime time;
};

Moment workingMoment(Random& random, const QDate& day)
{
    const int hour = firstHour + random.below(workingHours);
    const int minute = random.below(minutesInHour);
    return {day, QTime(hour, minute)};
}

// Lower-case letters and digits without accents, words joined by dots.
QByteArray slug(const QByteArray& utf8)
{
    QByteArray out;
    for (const QChar c : QString::fromUtf8(utf8).normalized(QString::NormalizationForm_D)) {
        if (c.isMark())
            continue;
        const char16_t u = c.toLower().unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9'))
            out.append(char(u));
        else if (!out.isEmpty() && !out.endsWith('.'))
            out.append('.');
    }
    while (out.endsWith('.'))
        out.chop(1);
    return out;
}

// "Câmara Municipal de Évora" → "CMÉ", in UTF-8 like every other text.
QByteArray initials(const QByteArray& utf8)
{
    QString out;
    for (const QString& word : QString::fromUtf8(utf8).split(u' ', Qt::SkipEmptyParts))
        if (word.front().isUpper())
            out.append(word.front());
    return out.toUtf8();
}

Address makeAddress(Random& random, const words::Town& town)
{
    QByteArray street = random.pick(words::streets);
    street += ", " + QByteArray::number(1 + random.below(maxHouseNumber));
    if (random.percent(floorShare))
        street += QByteArray(", ") + random.pick(words::floors);
    const QByteArray first = QByteArray::number(town.postalFirst + random.below(town.postalSpan))
                                 .rightJustified(postalFirstDigits, '0');
    const QByteArray last =
        QByteArray::number(1 + random.below(lastPostalSuffix)).rightJustified(postalLastDigits, '0');
    return {street, first + '-' + last, town.name};
}

Phone makePhone(Random& random, const words::Town& town, bool first, bool isPerson)
{
    const bool mobile = isPerson ? first : !first;
    const QByteArray prefix =
        mobile ? QByteArray(random.pick(words::mobilePrefixes)) : QByteArray(town.phonePrefix);
    const QByteArray number = prefix + random.digits(phoneDigits - int(prefix.size()));
    if (mobile)
        return {number, "Móvel"};
    return {number, first ? "Fixo" : (isPerson ? "Emprego" : "Fax")};
}

void addContactWays(Random& random, Contact& contact, int sequence)
{
    const words::Town& home = random.pick(words::towns);
    const int addresses = 1 + random.below(extraAddresses);
    for (int i = 0; i < addresses; ++i)
        contact.addresses.append(makeAddress(random, i == 0 ? home : random.pick(words::towns)));
    const int phones = 1 + random.below(extraPhones);
    for (int i = 0; i < phones; ++i)
        contact.phones.append(makePhone(random, home, i == 0, contact.isPerson));
    const QByteArray local =
        contact.isPerson ? slug(contact.person.given + ' ' + contact.person.surname) : slug(contact.key);
    // The number keeps addresses apart; a second address is at another domain.
    const QByteArray mailbox = local + '.' + QByteArray::number(sequence) + '@';
    const int domains = int(std::size(words::mailDomains));
    const int firstDomain = random.below(domains);
    const int emails = 1 + random.below(extraEmails);
    for (int i = 0; i < emails; ++i)
        contact.emails.append({mailbox + words::mailDomains[(firstDomain + i) % domains],
                               i == 0 ? "Principal" : (contact.isPerson ? "Pessoal" : "Facturação")});
}

void makePerson(Random& random, TaxNumbers& taxes, Contact& contact)
{
    Person& p = contact.person;
    const bool male = random.percent(everyone / 2);
    p.given = male ? random.pick(words::maleNames) : random.pick(words::femaleNames);
    p.surname = random.pick(words::surnames);
    if (random.percent(doubleSurnameShare))
        p.surname += QByteArray(" ") + random.pick(words::surnames);
    const words::Profession& job = random.pick(words::professions);
    p.profession = male ? job.male : job.female;
    p.title = male ? job.maleTitle : job.femaleTitle;
    if (!p.title && random.percent(plainTitleShare))
        p.title = male ? words::plainMaleTitle : words::plainFemaleTitle;
    p.nationality = random.percent(foreignShare) ? random.pick(words::nationalities) : words::ownNationality;
    p.birth = dateText(QDate(oldestBirthYear, 1, 1).addDays(random.below(birthDays)));
    p.sex = male ? "M" : "F";
    if (random.percent(idNumberShare))
        p.idNumber = random.digits(idNumberDigits);
    contact.name = p.given + ' ' + p.surname;
    contact.key = contact.name;
    contact.taxNumber = taxes.next(random.pick(taxPersonPrefixes));
}

const char* const* kindsOfArea(const QByteArray& area)
{
    for (const words::AreaKinds& kinds : words::firmKinds)
        if (area == kinds.area)
            return kinds.kinds;
    return words::otherFirmKinds;
}

void makeFirm(Random& random, const Lookups& lookups, TaxNumbers& taxes, Contact& contact, bool publicBody)
{
    Firm& f = contact.firm;
    const words::Town& town = random.pick(words::towns);
    if (publicBody) {
        contact.key = QByteArray(random.pick(words::publicBodies)) + ' ' + town.of + ' ' + town.name;
        contact.name = contact.key;
        contact.taxNumber = taxes.next(taxPublicPrefix);
        return;
    }
    const Named* area = random.percent(noAreaShare) || lookups.areas.empty()
                            ? nullptr
                            : &lookups.areas[std::size_t(random.below(int(lookups.areas.size())))];
    f.area = area ? area->id : 0;
    const char* kind = kindsOfArea(area ? area->name : QByteArray())[random.below(words::kindsPerArea)];
    const QByteArray owner = random.percent(everyone / 2) ? QByteArray(random.pick(words::surnames))
                                                          : QByteArray(town.of) + ' ' + town.name;
    contact.key = QByteArray(kind) + ' ' + owner;
    const bool company = random.percent(everyone / 2);
    contact.name = contact.key + (company ? random.pick(words::firmSuffixes) : "");
    if (company)
        f.capital = random.pick(capitals);
    if (random.percent(acronymShare))
        f.acronym = initials(contact.key);
    if (random.percent(websiteShare))
        f.website = "www." + slug(contact.key).replace('.', '-') + ".pt";
    contact.taxNumber = taxes.next(taxFirmPrefix);
}

const Mask& pickMask(Random& random)
{
    int roll = random.below(everyone);
    for (const Mask& mask : masks) {
        if (roll < mask.percent)
            return mask;
        roll -= mask.percent;
    }
    return masks[0];
}

int tulvasTypeFor(Random& random, const Lookups& lookups, bool publicBody)
{
    for (const Named& type : lookups.tulvasTypes)
        if (publicBody && type.name == "Entidade pública")
            return type.id;
    return lookups.tulvasTypes[std::size_t(random.below(int(lookups.tulvasTypes.size())))].id;
}

void addMembership(Random& random, const Lookups& lookups, Contact& contact, bool publicBody)
{
    contact.tulvasType = tulvasTypeFor(random, lookups, publicBody);
    contact.mask = &pickMask(random);
    contact.active = !random.percent(inactiveShare);
    for (int i = 0; i < int(lookups.files.size()); ++i)
        if (random.percent(lookups.files[std::size_t(i)].percent))
            contact.files.append(i);
    QList<int> events(lookups.events.begin(), lookups.events.end());
    const int count = qMin(int(events.size()), random.below(extraEvents));
    for (int i = 0; i < count; ++i) {
        const int event = events.takeAt(random.below(int(events.size())));
        contact.events.append({event, random.percent(activatedEventShare)});
    }
}

void addHistory(Random& random, const Lookups& lookups, Contact& contact)
{
    const Moment created = workingMoment(random, QDate(firstYear, 1, 1).addDays(random.below(createdDays)));
    contact.created = dateText(created.day, created.time);
    if (random.percent(modifiedShare)) {
        contact.modifiedBy = lookups.users[std::size_t(random.below(int(lookups.users.size())))];
        const Moment modified = workingMoment(random, created.day.addDays(1 + random.below(modifiedDays)));
        contact.modified = dateText(modified.day, modified.time);
    }
    contact.isProtected = random.percent(protectedShare);
    if (random.percent(noteShare))
        contact.note = random.pick(words::notes);
}

Contact makeContact(Random& random, const Lookups& lookups, TaxNumbers& taxes, int sequence)
{
    Contact contact;
    contact.isPerson = random.percent(personShare);
    const bool publicBody = !contact.isPerson && random.percent(publicBodyShare);
    if (contact.isPerson)
        makePerson(random, taxes, contact);
    else
        makeFirm(random, lookups, taxes, contact, publicBody);
    addContactWays(random, contact, sequence);
    addMembership(random, lookups, contact, publicBody);
    addHistory(random, lookups, contact);
    if (random.percent(contact.isPerson ? personRelationShare : firmRelationShare))
        contact.relation =
            contact.isPerson ? random.pick(words::relationsToPeople) : random.pick(words::relationsToFirms);
    return contact;
}

// The contacts in order, numbered from the first number the catalog has not
// given; a relation points to a person made before.
class ContactMaker {
  public:
    ContactMaker(const Lookups& lookups, TaxCheckDigit checkDigit, qint64 firstId)
        : lookups_(lookups), taxes_(std::move(checkDigit), lookups.taxNumbers), firstId_(firstId)
    {
    }

    std::vector<Contact> next(int count)
    {
        std::vector<Contact> made;
        made.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i) {
            ++sequence_;
            Contact contact = makeContact(random_, lookups_, taxes_, sequence_);
            contact.id = firstId_ + sequence_ - 1;
            if (contact.relation && !people_.empty())
                contact.relatedTo = people_[std::size_t(random_.below(int(people_.size())))];
            if (contact.isPerson)
                people_.push_back(contact.id);
            made.push_back(std::move(contact));
        }
        return made;
    }

  private:
    const Lookups& lookups_;
    TaxNumbers taxes_;
    Random random_;
    qint64 firstId_;
    int sequence_ = 0;
    std::vector<qint64> people_;
};

// ---- Writing ----
// One value of a row, NULL where a text or number is missing.
class Value {
  public:
    Value() = default;
    Value(int number) : kind_(Kind::Integer), integer_(number) {}
    Value(qint64 number) : kind_(Kind::Integer), integer_(number) {}
    Value(double number) : kind_(Kind::Real), real_(number) {}
    Value(const QByteArray& text) : kind_(text.isNull() ? Kind::Null : Kind::Text), text_(text) {}
    // The words' own texts, read where they are.
    Value(const char* text)
        : kind_(text ? Kind::Text : Kind::Null),
          text_(QByteArray::fromRawData(text, text ? qsizetype(std::strlen(text)) : 0))
    {
    }

    void bind(SqliteStatement& st, int index) const
    {
        switch (kind_) {
        case Kind::Null:
            st.bindNull(index);
            break;
        case Kind::Integer:
            st.bindInt(index, integer_);
            break;
        case Kind::Real:
            st.bindDouble(index, real_);
            break;
        case Kind::Text:
            st.bindText(index, text_);
            break;
        }
    }

  private:
    enum class Kind { Null, Integer, Real, Text };
    Kind kind_ = Kind::Null;
    qint64 integer_ = 0;
    double real_ = 0;
    QByteArray text_;
};

// Rows of one table written many to a statement: a statement's own cost, and
// the server's note of the table's last number, are paid once a batch
// instead of once a row. Nothing is written until the batch is full or
// flushed.
class BatchedInsert {
  public:
    BatchedInsert(SqliteDatabase& db, QByteArray insertValues)
        : db_(db), insertValues_(std::move(insertValues)), columns_(columnsOf(insertValues_))
    {
        pending_.reserve(std::size_t(columns_ * rowsPerBatch));
    }

    void add(std::initializer_list<Value> row)
    {
        Q_ASSERT(int(row.size()) == columns_);
        pending_.insert(pending_.end(), row);
        if (int(pending_.size()) == columns_ * rowsPerBatch)
            flush();
    }

    void flush()
    {
        const int rows = int(pending_.size()) / columns_;
        if (rows == 0)
            return;
        if (rows == rowsPerBatch) {
            if (!full_)
                full_.emplace(db_.prepare(statementFor(rows)));
            write(*full_);
        } else {
            SqliteStatement last = db_.prepare(statementFor(rows));
            write(last);
        }
    }

  private:
    static constexpr int rowsPerBatch = 100;

    // "INSERT INTO t (a, b, c) VALUES " names three columns.
    static int columnsOf(const QByteArray& insertValues)
    {
        const qsizetype open = insertValues.indexOf('(');
        const qsizetype close = insertValues.indexOf(')', open);
        return int(insertValues.mid(open, close - open).count(',')) + 1;
    }

    QByteArray statementFor(int rows) const
    {
        QByteArray row = "(?";
        row += QByteArray(", ?").repeated(columns_ - 1) + ')';
        QByteArray sql = insertValues_ + row;
        for (int i = 1; i < rows; ++i)
            sql += ", " + row;
        return sql;
    }

    void write(SqliteStatement& st)
    {
        for (std::size_t i = 0; i < pending_.size(); ++i)
            pending_[i].bind(st, int(i) + 1);
        st.stepToEnd();
        st.reset();
        pending_.clear();
    }

    SqliteDatabase& db_;
    QByteArray insertValues_;
    int columns_;
    std::vector<Value> pending_;
    std::optional<SqliteStatement> full_;
};

struct FileStatements {
    BatchedInsert member;
    BatchedInsert rights;
};

class Writer {
  public:
    // `listed`: the catalog has the host's list, written here row by row.
    Writer(SqliteDatabase& db, const Lookups& lookups, bool listed)
        : lookups_(lookups), contact_(db, insertContact), person_(db, insertPerson), firm_(db, insertFirm),
          address_(db, insertAddress), phone_(db, insertPhone), email_(db, insertEmail),
          link_(db, insertLink), member_(db, insertMember), memberRights_(db, insertMemberRights),
          event_(db, insertEvent), note_(db, insertNote), relation_(db, insertRelation)
    {
        for (const FileTarget& file : lookups.files)
            files_.push_back({BatchedInsert(db, insertInto + file.table + fileMemberColumns),
                              BatchedInsert(db, insertInto + file.table + rightsSuffix + fileRightsColumns)});
        if (listed)
            listed_.emplace(db, insertListed);
    }

    void write(const Contact& contact)
    {
        writeContact(contact);
        writeDetail(contact);
        writeWays(contact);
        writeListed(contact);
        writeMemberships(contact);
        writeExtras(contact);
    }

    // What the batches still hold, the contacts first.
    void finish()
    {
        for (BatchedInsert* batch : {&contact_, &person_, &firm_, &address_, &phone_, &email_, &link_,
                                     &member_, &memberRights_, &event_, &note_, &relation_})
            batch->flush();
        for (FileStatements& file : files_) {
            file.member.flush();
            file.rights.flush();
        }
        if (listed_)
            listed_->flush();
    }

  private:
    void writeContact(const Contact& c)
    {
        contact_.add({c.id, c.isPerson ? genderPerson : genderFirm, c.name, c.taxNumber, c.key,
                      c.isProtected ? 1 : 0, lookups_.users.front(), c.created, c.modifiedBy, c.modified});
    }

    void writeDetail(const Contact& c)
    {
        if (c.isPerson) {
            const Person& p = c.person;
            person_.add(
                {c.id, p.given, p.surname, p.title, p.profession, p.nationality, p.birth, p.sex, p.idNumber});
            return;
        }
        const Firm& f = c.firm;
        firm_.add({c.id, f.area ? Value(f.area) : Value(), f.acronym, f.capital ? Value(*f.capital) : Value(),
                   f.website});
    }

    void writeWays(const Contact& c)
    {
        for (int i = 0; i < c.addresses.size(); ++i) {
            const Address& a = c.addresses[i];
            address_.add({c.id, a.street, a.postalCode, a.town, words::country, i == 0 ? 1 : 0});
        }
        for (int i = 0; i < c.phones.size(); ++i)
            phone_.add({c.id, c.phones[i].number, c.phones[i].kind, i == 0 ? 1 : 0});
        for (int i = 0; i < c.emails.size(); ++i)
            email_.add({c.id, c.emails[i].address, c.emails[i].label, i == 0 ? 1 : 0});
    }

    void writeListed(const Contact& c)
    {
        if (!listed_)
            return;
        const QByteArray none("");
        listed_->add({c.id, c.isPerson ? genderPerson : genderFirm, c.name, c.taxNumber,
                      c.phones.isEmpty() ? none : c.phones.first().number,
                      c.emails.isEmpty() ? none : c.emails.first().address,
                      c.addresses.isEmpty() ? none : c.addresses.first().town});
    }

    void writeMemberships(const Contact& c)
    {
        const QByteArray reference = "REF-" + QByteArray::number(c.id).rightJustified(referenceDigits, '0');
        link_.add({c.id, lookups_.quarvensesType, c.created});
        member_.add({c.id, c.tulvasType, c.created, reference, c.active ? 1 : 0});
        memberRights_.add({c.id, c.mask->users, c.mask->groups});
        for (const int index : c.files) {
            link_.add({c.id, lookups_.files[std::size_t(index)].typeId, c.created});
            FileStatements& file = files_[std::size_t(index)];
            file.member.add({c.id, c.created, reference, 1});
            file.rights.add({c.id, c.mask->users, c.mask->groups});
        }
    }

    void writeExtras(const Contact& c)
    {
        for (const auto& [event, activated] : c.events)
            event_.add({c.id, event, activated ? 1 : 0});
        if (!c.note.isNull())
            note_.add({c.id, c.note, lookups_.users.front(), c.created});
        if (c.relatedTo)
            relation_.add({c.id, c.relatedTo, c.relation, "Quarvenses"});
    }

    const Lookups& lookups_;
    BatchedInsert contact_, person_, firm_, address_, phone_, email_, link_, member_, memberRights_, event_,
        note_, relation_;
    std::vector<FileStatements> files_;
    std::optional<BatchedInsert> listed_;
};

void checkRequest(const GeneratedContacts& request)
{
    if (request.count < 0 || request.count > maxGeneratedContacts)
        throw error::provider(QStringLiteral("O número de contactos a gerar tem de estar entre 0 e ") +
                              QString::number(maxGeneratedContacts) + u'.');
    if (!request.checkDigit)
        throw error::provider(
            QStringLiteral("Falta a regra do dígito de controlo dos números de contribuinte."));
}

// Rows in bulk go faster into tables without indexes, each index then built
// once from its sorted rows; the host's list is written with the contacts
// (its triggers set aside) and its trigram index rebuilt. All inside the load's
// transaction: a failure leaves everything as it was.
class BulkLoad {
  public:
    explicit BulkLoad(SqliteDatabase& db) : db_(db)
    {
        db_.exec(largeCache);
        {
            SqliteStatement listed = db_.prepare(selectListed);
            listed_ = listed.step();
            SqliteStatement aside = db_.prepare(selectSetAside);
            while (aside.step()) {
                remade_.push_back(aside.columnBytes(2));
                dropped_.push_back("DROP " + aside.columnBytes(0).toUpper() + " \"" + aside.columnBytes(1) +
                                   "\"");
            }
        } // finished before the schema changes
        for (const QByteArray& drop : dropped_)
            db_.exec(drop.constData());
    }

    bool listed() const { return listed_; }

    void finish()
    {
        db_.exec(sortingCache);
        db_.exec(sortingThreads);
        for (const QByteArray& sql : remade_) // the indexes, then the triggers
            db_.exec(sql.constData());
        if (listed_)
            db_.exec(rebuildTrigrams);
    }

  private:
    SqliteDatabase& db_;
    bool listed_ = false;
    std::vector<QByteArray> remade_;
    std::vector<QByteArray> dropped_;
};

qint64 firstFreeId(SqliteDatabase& db)
{
    SqliteStatement last = db.prepare(selectLastContact);
    last.step();
    return sqlite3_column_int64(last.get(), 0) + 1;
}

// The contacts are made on a second thread while the ones made before are
// written: making them costs a sixth of writing them.
void generate(SqliteDatabase& db, const GeneratedContacts& request)
{
    const Lookups lookups = readLookups(db);
    ContactMaker maker(lookups, request.checkDigit, firstFreeId(db));
    BulkLoad bulk(db);
    {
        Writer writer(db, lookups, bulk.listed());
        int left = request.count;
        const auto makeSome = [&maker, &left] {
            const int count = std::min(left, contactsPerRound);
            left -= count;
            return maker.next(count);
        };
        std::vector<Contact> made = makeSome();
        while (!made.empty()) {
            std::future<std::vector<Contact>> following = std::async(std::launch::async, makeSome);
            for (const Contact& contact : made)
                writer.write(contact);
            made = following.get();
        }
        writer.finish();
    }
    bulk.finish();
}

} // namespace

void addGeneratedContacts(const QString& catalogPath, const GeneratedContacts& request)
{
    checkRequest(request);
    SqliteDatabase db(catalogPath, SqliteDatabase::ReadWrite);
    dialect::FunctionContext functions;
    dialect::registerFunctions(db.get(), &functions);
    sqlite3_exec(db.get(), rollbackJournal, nullptr, nullptr, nullptr); // stays WAL while others read
    db.exec("BEGIN IMMEDIATE");
    try {
        generate(db, request);
        db.exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db.get(), writeAheadLog, nullptr, nullptr, nullptr);
        throw;
    }
    db.exec(writeAheadLog);
}

} // namespace ado::embedded
