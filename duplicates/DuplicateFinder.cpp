#include "duplicates/DuplicateFinder.h"

#include "connection/ConnectionState.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "duplicates/Likeness.h"
#include "duplicates/Reading.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QMap>
#include <algorithm>
#include <map>

namespace duplicates {

namespace {

using reading::query;
using reading::text;

// Only contacts the user may open, by the list's own rule.
const char16_t selectContacts[] =
    u"SELECT c.contacto_id, c.nome_union, c.no_contribuinte FROM tbContactos c WHERE c.contacto_id IN "
    u"(SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %1) ORDER BY c.contacto_id";
const char16_t selectEmails[] =
    u"SELECT e.contacto_id, e.email FROM tbContactos_Emails e WHERE e.contacto_id IN "
    u"(SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %1) ORDER BY e.contacto_id, e.email_id";
const char16_t selectPhones[] =
    u"SELECT t.contacto_id, t.numero FROM tbContactos_Telefones t WHERE t.contacto_id IN "
    u"(SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %1) ORDER BY t.contacto_id, "
    u"t.telefone_id";
const char16_t selectMemberships[] =
    u"SELECT COUNT(*) AS grupos FROM tbGroups_Users_Links l INNER JOIN tbUsers u ON u.user_id = l.user_id "
    u"WHERE u.descrit = %1";
const QString dismissedTable = QStringLiteral("tbContactos_Duplicados_Rejeitados");
const char16_t selectDismissed[] =
    u"SELECT contacto_id, outro_contacto_id FROM tbContactos_Duplicados_Rejeitados";
const char16_t selectDismissedPair[] = u"SELECT COUNT(*) AS vezes FROM tbContactos_Duplicados_Rejeitados "
                                       u"WHERE contacto_id = %1 AND outro_contacto_id = %2";
const char16_t insertDismissed[] =
    u"INSERT INTO tbContactos_Duplicados_Rejeitados (contacto_id, outro_contacto_id, created_by, "
    u"created_date) VALUES (%1, %2, %3, GETDATE())";

// Names alike are looked for only among names sharing a word at either end
// of their keys, and within blocks of a size a person could still read.
constexpr int alikeFrom = 85;
constexpr int largestBlock = 200;
constexpr int sameLengthShare = 80; // a key at most a fifth shorter than the other

QList<std::pair<qint32, QString>> pairs(const QString& statement)
{
    QList<std::pair<qint32, QString>> out;
    for (ado::Recordset rs = query(statement); !rs.Eof(); rs.MoveNext())
        out.append({vb::CLng(rs.Fields(0).Value()), text(rs.Fields(1).Value())});
    return out;
}

// Groups under one key each: the contacts that share it, each once.
struct Keyed {
    QHash<QString, QList<qint32>> byKey;
    QHash<QString, QString> shown; // the key's first writing, to show

    void add(const QString& key, qint32 id, const QString& written)
    {
        if (key.isEmpty())
            return;
        QList<qint32>& ids = byKey[key];
        if (!ids.contains(id))
            ids.append(id);
        shown.insert(key, shown.value(key, written));
    }
};

bool allDismissed(const QList<qint32>& members, const QSet<std::pair<qint32, qint32>>& dismissed)
{
    for (qsizetype i = 0; i < members.size(); ++i)
        for (qsizetype j = i + 1; j < members.size(); ++j)
            if (!dismissed.contains(orderedPair(members[i], members[j])))
                return false;
    return true;
}

// Several reasons for the same contacts make one group.
class Groups {
  public:
    explicit Groups(const QSet<std::pair<qint32, qint32>>& dismissed) : dismissed_(dismissed) {}

    void add(Reason reason, const QString& value, int score, QList<qint32> members)
    {
        if (members.size() < 2)
            return;
        std::sort(members.begin(), members.end());
        if (allDismissed(members, dismissed_))
            return;
        const auto found = index_.constFind(members);
        if (found != index_.constEnd()) {
            Group& same = groups_[*found];
            if (!same.reasons.contains(reason))
                same.reasons.append(reason);
            return;
        }
        index_.insert(members, groups_.size());
        groups_.append({{reason}, value, score, members});
    }

    QList<Group> take() { return std::move(groups_); }

  private:
    const QSet<std::pair<qint32, qint32>>& dismissed_;
    QMap<QList<qint32>, qsizetype> index_;
    QList<Group> groups_;
};

void addKeyed(Groups& groups, Reason reason, const Keyed& keyed)
{
    // In the keys' order, so that the same catalog gives the same list.
    QStringList keys;
    for (auto it = keyed.byKey.cbegin(); it != keyed.byKey.cend(); ++it)
        if (it->size() > 1)
            keys << it.key();
    std::sort(keys.begin(), keys.end());
    for (const QString& key : keys)
        groups.add(reason, keyed.shown.value(key), 100, keyed.byKey.value(key));
}

// Keys one typing apart: compared within the keys sharing their first or
// their last word.
void addAlikeNames(Groups& groups, const Keyed& names)
{
    QHash<QString, QStringList> blocks;
    for (auto it = names.byKey.cbegin(); it != names.byKey.cend(); ++it) {
        const QStringList words = it.key().split(u' ');
        blocks[u'<' + words.first()].append(it.key());
        if (words.size() > 1)
            blocks[u'>' + words.last()].append(it.key());
    }
    std::map<std::pair<QString, QString>, int> alike; // each pair once, in order
    for (QStringList& block : blocks) {
        if (block.size() < 2 || block.size() > largestBlock)
            continue;
        std::sort(block.begin(), block.end());
        for (qsizetype i = 0; i < block.size(); ++i)
            for (qsizetype j = i + 1; j < block.size(); ++j) {
                const QString& a = block[i];
                const QString& b = block[j];
                if (std::min(a.size(), b.size()) * 100 < std::max(a.size(), b.size()) * sameLengthShare)
                    continue;
                if (const int score = similarity(a, b, alikeFrom); score >= alikeFrom)
                    alike[{a, b}] = score;
            }
    }
    std::vector<std::pair<std::pair<QString, QString>, int>> ordered(alike.begin(), alike.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& x, const auto& y) { return x.second > y.second; });
    for (const auto& [keys, score] : ordered) {
        QList<qint32> members = names.byKey.value(keys.first) + names.byKey.value(keys.second);
        groups.add(Reason::Name,
                   names.shown.value(keys.first) + QStringLiteral(" / ") + names.shown.value(keys.second),
                   score, members);
    }
}

QString reasonText(Reason reason)
{
    switch (reason) {
    case Reason::Nif:
        return QStringLiteral("o mesmo NIF");
    case Reason::Email:
        return QStringLiteral("o mesmo e-mail");
    case Reason::Phone:
        return QStringLiteral("o mesmo telefone");
    case Reason::Name:
        return QStringLiteral("o mesmo nome");
    }
    return {};
}

} // namespace

std::pair<qint32, qint32> orderedPair(qint32 a, qint32 b)
{
    return {std::min(a, b), std::max(a, b)};
}

QString Group::description() const
{
    if (reasons.size() == 1 && reasons.first() == Reason::Name && score < 100)
        return QStringLiteral("nomes parecidos (") + QString::number(score) + QStringLiteral("%): ") + value;
    QStringList said;
    for (const Reason reason : reasons)
        said << reasonText(reason);
    const QString last = said.takeLast();
    const QString all =
        said.isEmpty() ? last : said.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
    return reasons.size() == 1 ? all + u' ' + value : all;
}

QList<Group> groupsOf(const Catalog& catalog)
{
    Keyed nifs, emails, phones, names;
    for (const Contact& c : catalog.contacts) {
        nifs.add(comparableNif(c.nif), c.id, c.nif);
        names.add(nameKey(c.name), c.id, c.name);
    }
    for (const auto& [id, email] : catalog.emails)
        emails.add(comparableEmail(email), id, email);
    for (const auto& [id, number] : catalog.phones)
        phones.add(comparableNumber(number), id, number);
    Groups groups(catalog.dismissed);
    addKeyed(groups, Reason::Nif, nifs);
    addKeyed(groups, Reason::Email, emails);
    addKeyed(groups, Reason::Phone, phones);
    addKeyed(groups, Reason::Name, names);
    addAlikeNames(groups, names);
    return groups.take();
}

DuplicateFinder::DuplicateFinder(QString user) : user_(std::move(user)) {}

QList<Group> DuplicateFinder::find()
{
    return groupsOf(read());
}

Catalog DuplicateFinder::read()
{
    Catalog catalog;
    contacts_.clear();
    const QString condition = modCheckPermissions::OpenCondition(user_);
    if (condition.isEmpty()) {
        // No condition is no contact only for a user in no group; for
        // another it is a reading that failed, not an empty catalog.
        if (inSomeGroup())
            throw vb::Error(0, QStringLiteral("não foi possível ler as permissões de ") + user_);
        return catalog;
    }
    for (ado::Recordset rs = query(sql::compose(selectContacts, {condition})); !rs.Eof(); rs.MoveNext()) {
        Contact c;
        c.id = vb::CLng(rs.Fields(0).Value());
        c.name = text(rs.Fields(1).Value());
        c.nif = text(rs.Fields(2).Value());
        catalog.contacts.append(c);
    }
    catalog.emails = pairs(sql::compose(selectEmails, {condition}));
    catalog.phones = pairs(sql::compose(selectPhones, {condition}));
    catalog.dismissed = readDismissed();
    for (const Contact& c : catalog.contacts)
        contacts_.insert(c.id, c);
    for (const auto& [id, email] : catalog.emails)
        if (auto it = contacts_.find(id); it != contacts_.end() && it->email.isEmpty())
            it->email = email;
    for (const auto& [id, number] : catalog.phones)
        if (auto it = contacts_.find(id); it != contacts_.end() && it->phone.isEmpty())
            it->phone = number;
    return catalog;
}

bool DuplicateFinder::inSomeGroup()
{
    ado::Recordset rs =
        query(sql::compose(selectMemberships, {modData::FormatSQLValue(vb::Variant(user_), modData::kText)}));
    const bool some = vb::CLng(rs.Fields(0).Value()) > 0;
    rs.Close();
    return some;
}

QSet<std::pair<qint32, qint32>> DuplicateFinder::readDismissed()
{
    QSet<std::pair<qint32, qint32>> dismissed;
    if (!reading::hasTable(dismissedTable))
        return dismissed; // an older catalog: nothing was ever dismissed
    for (ado::Recordset rs = query(QString::fromUtf16(selectDismissed)); !rs.Eof(); rs.MoveNext())
        dismissed.insert(orderedPair(vb::CLng(rs.Fields(0).Value()), vb::CLng(rs.Fields(1).Value())));
    return dismissed;
}

const Contact& DuplicateFinder::contact(qint32 id) const
{
    static const Contact none;
    const auto found = contacts_.constFind(id);
    return found == contacts_.constEnd() ? none : *found;
}

void DuplicateFinder::dismiss(qint32 first, qint32 second)
{
    const auto [low, high] = orderedPair(first, second);
    if (!reading::hasTable(dismissedTable))
        throw vb::Error(
            0, QStringLiteral("o catálogo não tem a tabela tbContactos_Duplicados_Rejeitados; peça ao "
                              "administrador que a crie (ver o README)"));
    TransactionScope unit;
    unit.begin();
    ado::Recordset rs = query(sql::compose(selectDismissedPair, {low, high}));
    const bool already = vb::CLng(rs.Fields(0).Value()) > 0;
    rs.Close();
    if (!already)
        Data().SqlServer.Execute(sql::compose(
            insertDismissed, {low, high, modData::FormatSQLValue(vb::Variant(user_), modData::kText)}));
    unit.commit();
}

} // namespace duplicates
