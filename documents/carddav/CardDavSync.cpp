#include "documents/carddav/CardDavSync.h"

#include "data/FieldRules.h"
#include "data/TaxNumber.h"
#include "data/TransactionScope.h"
#include "data/modData.h"
#include "documents/ImportarFicheiro.h"
#include "documents/carddav/AddressBook.h"
#include "documents/carddav/SyncState.h"
#include "documents/vcard/ContactStore.h"
#include "documents/vcard/VCardDowngrade.h"
#include "documents/vcard/VCardExchange.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardWriter.h"
#include "duplicates/Reading.h"
#include "permissions/AddUserToGroup.h"
#include "permissions/ContactsFile.h"
#include "permissions/RemoveFromFile.h"
#include "permissions/modCheckPermissions.h"
#include "platform/values/VbError.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

namespace carddav {

namespace {

using duplicates::reading::query;
using duplicates::reading::text;
using vcard::ContactRecord;
using vcard::ContactStore;

// ---- Statements ----
const char16_t selectFileContacts[] =
    u"SELECT l.contacto_id, COALESCE(c.modified_date, c.created_date) AS quando FROM tbContactos_Tipos_Links "
    u"l "
    u"INNER JOIN tbContactos_Tipos t ON t.contacto_tipo_id = l.contacto_tipo_id INNER JOIN tbContactos c ON "
    u"c.contacto_id = l.contacto_id WHERE t.descrit = %1";
const char16_t selectStamp[] =
    u"SELECT COALESCE(modified_date, created_date) AS quando FROM tbContactos WHERE contacto_id = %1";

// Cards sent together: enough to hide the round trips to a distant server,
// few enough that a failing server is found out soon.
constexpr qsizetype sendingBatch = 16;

const QString serverVersion = QStringLiteral("versão do servidor");
const QString catalogVersion = QStringLiteral("versão do catálogo");

QString literal(const QString& value)
{
    return modData::FormatSQLValue(vb::Variant(value), modData::kText);
}

QString stampOf(qint32 id)
{
    ado::Recordset rs = query(sql::compose(selectStamp, {id}));
    return rs.Eof() ? QString() : text(rs(QStringLiteral("quando")));
}

QString named(qint32 id, const QString& name)
{
    return name + QStringLiteral(" (n.º ") + QString::number(id) + u')';
}

// What the card checks of typed text, said of a card from the server.
QString invalidIn(const ContactRecord& r)
{
    for (const vcard::EmailRow& e : r.emails)
        if (!FieldRules::isEmailAddress(e.email))
            return QStringLiteral("o e-mail «") + e.email + QStringLiteral("» não é válido");
    for (const vcard::PhoneRow& p : r.phones)
        if (!FieldRules::isTelephoneNumber(p.numero))
            return QStringLiteral("o telefone «") + p.numero + QStringLiteral("» não é válido");
    for (const vcard::AddressRow& a : r.addresses)
        if (!FieldRules::isPostalCodeFor(a.codigoPostal, a.pais) && !a.codigoPostal.trimmed().isEmpty())
            return QStringLiteral("o código postal «") + a.codigoPostal + QStringLiteral("» não é válido");
    if (!r.nif.trimmed().isEmpty() && !TaxNumber::isValidPortuguese(r.nif))
        return QStringLiteral("o NIF «") + r.nif + QStringLiteral("» não é válido");
    if (r.displayName().isEmpty())
        return QStringLiteral("o cartão não tem nome, organização, e-mail nem telefone");
    return {};
}

bool mayDo(const QString& user, qint32 id, qint32 action)
{
    return modCheckPermissions::CheckObjectSecurity(user, id, contactsfile::kind, action);
}

class Sync {
  public:
    Sync(DavClient& client, const SyncRequest& request, ConflictChooser& chooser, const Progress& progress)
        : client_(client), request_(request), chooser_(chooser), progress_(progress), book_(client),
          store_(request.user)
    {
    }

    SyncSummary run()
    {
        try {
            if (begin())
                work();
        } catch (const vb::Error& e) {
            summary_.failure = e.description();
        }
        summary_.requests = client_.requests();
        return summary_;
    }

  private:
    struct Local {
        explicit Local(QString stampNow = {}) : stamp(std::move(stampNow)) {}
        QString stamp;
        bool changed = false;
        QByteArray card;
        QString name;
        QString fingerprint;
    };

    // ---- Reading both sides ----
    bool begin()
    {
        QString failure;
        step(QStringLiteral("A procurar o livro de endereços"));
        if (!book_.locate(request_.url, failure) || !book_.facts(facts_, failure)) {
            summary_.failure = failure;
            return false;
        }
        summary_.book = book_.url().toString();
        bookKey_ = summary_.book;
        state_ = loadState(bookKey_);
        step(QStringLiteral("A ler o que mudou no servidor"));
        if (facts_.changesReport)
            return book_.changes(state_.token, listing_, failure) || fail(failure);
        if (!facts_.ctag.isEmpty() && facts_.ctag == state_.ctag)
            return true; // nothing changed there
        return book_.list(listing_, failure) || fail(failure);
    }

    bool fail(const QString& failure)
    {
        summary_.failure = failure;
        return false;
    }

    void readCatalog()
    {
        step(QStringLiteral("A ler os contactos do ficheiro"));
        const QList<qint32> openable = store_.openable();
        const QSet<qint32> mayOpen(openable.cbegin(), openable.cend());
        for (ado::Recordset rs = query(sql::compose(selectFileContacts, {literal(request_.file)})); !rs.Eof();
             rs.MoveNext()) {
            const qint32 id = vb::CLng(rs(QStringLiteral("contacto_id")));
            inFile_.insert(id);
            if (mayOpen.contains(id))
                local_.insert(id, Local(text(rs(QStringLiteral("quando")))));
        }
        notOpenable_ = QSet<qint32>(inFile_).subtract(mayOpen);
        // Only contacts whose stamp moved are read whole.
        TransactionScope unit; // a first reading gives a contact its UID
        unit.begin();
        for (auto it = local_.begin(); it != local_.end(); ++it) {
            const auto paired = state_.pairings.constFind(it.key());
            if (paired != state_.pairings.cend() && paired->stamp == it->stamp)
                continue;
            readCard(it.key(), *it);
            it->changed = paired == state_.pairings.cend() || paired->fingerprint != it->fingerprint;
        }
        unit.commit();
    }

    void readCard(qint32 id, Local& local)
    {
        const ContactRecord r = store_.load(id);
        local.name = r.displayName();
        const vcard::Card card = vcard::toCard(r);
        local.card = facts_.takesVersion4 ? vcard::write({card}) : vcard::write30({card});
        local.fingerprint = fingerprint(local.card);
    }

    Local& loaded(qint32 id)
    {
        Local& local = local_[id];
        if (local.card.isEmpty())
            readCard(id, local);
        return local;
    }

    // ---- The work ----
    void work()
    {
        readCatalog();
        QHash<QString, QByteArray> changedThere; // href → ETag
        QStringList unknownThere;
        for (auto it = listing_.etags.cbegin(); it != listing_.etags.cend(); ++it) {
            const qint32 id = state_.contactAt(it.key());
            if (id == 0)
                unknownThere << it.key();
            else if (state_.pairings.value(id).etag != it.value())
                changedThere.insert(it.key(), it.value());
        }
        QSet<qint32> goneThere;
        for (const QString& href : listing_.removed)
            if (const qint32 id = state_.contactAt(href))
                goneThere.insert(id);
        if (listing_.whole)
            for (const Pairing& p : std::as_const(state_.pairings))
                if (!listing_.etags.contains(p.href))
                    goneThere.insert(p.contact);

        QList<RemoteCard> cards;
        QString failure;
        if (!book_.fetch(changedThere.keys() + unknownThere, cards, failure)) {
            summary_.failure = failure;
            return;
        }
        total_ = int(cards.size() + goneThere.size() + local_.size() + state_.pairings.size());
        QSet<qint32> handled;
        for (const RemoteCard& card : cards) {
            const qint32 id = state_.contactAt(card.href);
            step(QStringLiteral("A receber ") + card.href.section(u'/', -1));
            guarded(id ? QString::number(id) : card.href, [&] {
                if (id)
                    changedOnServer(id, card);
                else
                    newOnServer(card, handled);
            });
            handled.insert(id);
        }
        for (const qint32 id : goneThere) {
            step(QStringLiteral("A tratar cartões apagados"));
            guarded(QString::number(id), [&] { goneOnServer(id); });
            handled.insert(id);
        }
        remoteDone_ = summary_.refused.isEmpty();
        QList<qint32> toSend;
        for (auto it = local_.cbegin(); it != local_.cend(); ++it)
            if (!handled.contains(it.key()) && (it->changed || !state_.pairings.contains(it.key())))
                toSend << it.key();
            else
                step(QStringLiteral("A enviar"));
        for (qsizetype at = 0; at < toSend.size(); at += sendingBatch)
            sendBatch(toSend.mid(at, sendingBatch));
        for (const Pairing& p : std::as_const(state_.pairings)) {
            step(QStringLiteral("A apagar no servidor"));
            if (!handled.contains(p.contact) && !local_.contains(p.contact) &&
                !notOpenable_.contains(p.contact))
                guarded(QString::number(p.contact), [&] { goneFromCatalog(p); });
        }
        rememberStamps(handled);
        if (remoteDone_) {
            TransactionScope unit;
            unit.begin();
            saveBook(bookKey_, request_.file, listing_.token.isEmpty() ? state_.token : listing_.token,
                     facts_.ctag);
            unit.commit();
        }
    }

    // A contact saved again unchanged only moved its stamp: remembered, so
    // that the next sync does not read it again.
    void rememberStamps(const QSet<qint32>& handled)
    {
        TransactionScope unit;
        unit.begin();
        for (auto it = local_.cbegin(); it != local_.cend(); ++it) {
            const auto paired = state_.pairings.constFind(it.key());
            if (handled.contains(it.key()) || it->changed || it->card.isEmpty() ||
                paired == state_.pairings.cend() || paired->stamp == it->stamp)
                continue;
            Pairing p = *paired;
            p.stamp = it->stamp;
            savePairing(bookKey_, p);
        }
        unit.commit();
    }

    void guarded(const QString& what, const std::function<void()>& job)
    {
        try {
            job();
        } catch (const vb::Error& e) {
            // Most failures name the contact themselves.
            summary_.refused << (e.description().startsWith(what)
                                     ? e.description()
                                     : what + QStringLiteral(": ") + e.description());
        }
    }

    // ---- From the server ----
    static ContactRecord recordOf(const RemoteCard& card)
    {
        QString problem;
        const QList<vcard::Card> cards = vcard::read(card.body, &problem);
        if (cards.isEmpty())
            throw vb::Error(0, QStringLiteral("o cartão do servidor não se lê (") + problem + u')');
        return vcard::fromCard(cards.first());
    }

    void changedOnServer(qint32 id, const RemoteCard& card)
    {
        const Pairing paired = state_.pairings.value(id);
        if (!local_.contains(id)) {
            // Deleted here, or out of the file, or another user's: the catalog's rule holds.
            if (notOpenable_.contains(id))
                return;
            goneFromCatalog(
                Pairing{paired.contact, paired.href, card.etag, paired.fingerprint, paired.stamp});
            return;
        }
        Local& local = loaded(id);
        const QString there = fingerprint(card.body);
        if (there == local.fingerprint || there == paired.fingerprint) {
            // Only the server's spelling or version moved; or the catalog's change still to go.
            if (there == local.fingerprint)
                remember(id, card.href, card.etag, local);
            else
                sendChange(id, card.href, card.etag);
            return;
        }
        if (local.changed)
            return conflict(id, card);
        receive(id, card, local.stamp);
    }

    void newOnServer(const RemoteCard& card, QSet<qint32>& handled)
    {
        const ContactRecord r = recordOf(card);
        const ContactStore::Duplicate same = store_.findDuplicate(r);
        const bool sameContact =
            same.match == ContactStore::Match::Uid ||
            (same.match != ContactStore::Match::None && same.match != ContactStore::Match::Name &&
             ContactStore::namesAgree(same.name, r.displayName()));
        if (sameContact && local_.contains(same.id) && !state_.pairings.contains(same.id)) {
            handled.insert(same.id);
            Local& local = loaded(same.id);
            if (fingerprint(card.body) == local.fingerprint)
                return remember(same.id, card.href, card.etag, local);
            state_.pairings.insert(same.id, Pairing{same.id, card.href, card.etag, QString(), local.stamp});
            return conflict(same.id, card);
        }
        if (sameContact && !local_.contains(same.id))
            throw vb::Error(0, QStringLiteral("o cartão «") + r.displayName() + QStringLiteral("» é o de ") +
                                   same.named() + QStringLiteral(", que não está no ficheiro «") +
                                   request_.file + QStringLiteral("» ou que não pode abrir"));
        if (sameContact)
            throw vb::Error(0, QStringLiteral("o cartão «") + r.displayName() + QStringLiteral("» repete ") +
                                   same.named() + QStringLiteral(", que já tem o seu cartão no livro"));
        if (const QString why = invalidIn(r); !why.isEmpty())
            throw vb::Error(0, r.displayName() + QStringLiteral(": ") + why);
        if (!mayDo(request_.user, 0, modCheckPermissions::Create))
            throw vb::Error(0, r.displayName() + QStringLiteral(": não tem permissão para criar contactos"));
        TransactionScope unit;
        unit.begin();
        const qint32 id = store_.create(r);
        fileIn(id);
        store_.keepUnresolved(id, store_.relate(id, r.related));
        Local local(stampOf(id));
        readCard(id, local);
        savePairing(bookKey_, Pairing{id, card.href, card.etag, local.fingerprint, local.stamp});
        unit.commit();
        handled.insert(id);
        ++summary_.received;
        summary_.lines << QStringLiteral("Criado no catálogo: ") + named(id, local.name);
    }

    void fileIn(qint32 id)
    {
        if (request_.file.compare(contactsfile::name, Qt::CaseInsensitive) == 0)
            return;
        QString file = request_.file;
        qint32 contact = id;
        if (!membership::AddUserToGroup(contact, file))
            throw vb::Error(0, QStringLiteral("não foi possível pôr o contacto no ficheiro «") + file +
                                   QStringLiteral("»"));
    }

    // The server's card into the contact, over the contact as read at `stampSeen`.
    void receive(qint32 id, const RemoteCard& card, const QString& stampSeen)
    {
        const ContactRecord r = recordOf(card);
        const QString name = local_.value(id).name;
        if (const QString why = invalidIn(r); !why.isEmpty())
            throw vb::Error(0, named(id, name) + QStringLiteral(": ") + why);
        if (!mayDo(request_.user, id, modCheckPermissions::Change))
            throw vb::Error(0, named(id, name) + QStringLiteral(": não tem permissão para o alterar"));
        TransactionScope unit;
        unit.begin();
        if (stampOf(id) != stampSeen)
            throw vb::Error(
                0, named(id, name) +
                       QStringLiteral(": foi alterado por outro utilizador durante a sincronização"));
        if (store_.load(id).institution != r.institution)
            throw vb::Error(0, named(id, name) + QStringLiteral(": o cartão é de outro tipo de contacto"));
        store_.update(id, r);
        store_.keepUnresolved(id, store_.relate(id, r.related));
        Local after(stampOf(id));
        readCard(id, after);
        savePairing(bookKey_, Pairing{id, card.href, card.etag, after.fingerprint, after.stamp});
        unit.commit();
        local_[id] = after;
        ++summary_.received;
        summary_.lines << QStringLiteral("Recebido: ") + named(id, after.name);
    }

    void goneOnServer(qint32 id)
    {
        const Pairing paired = state_.pairings.value(id);
        if (!local_.contains(id)) {
            if (notOpenable_.contains(id))
                return;
            forget(id); // gone on both sides
            return;
        }
        Local& local = local_[id];
        if (local.changed) {
            // Changed here since: the catalog's version goes back.
            Local& card = loaded(id);
            const DavResponse r = book_.create(paired.href, card.card);
            if (!r.ok())
                throw vb::Error(0, named(id, card.name) + QStringLiteral(": ") + describe(r));
            remember(id, paired.href, r.etag, card);
            ++summary_.sent;
            summary_.lines << QStringLiteral("Enviado de novo: ") + named(id, card.name);
            return;
        }
        if (!mayDo(request_.user, id, modCheckPermissions::Change))
            throw vb::Error(0,
                            QStringLiteral("n.º ") + QString::number(id) +
                                QStringLiteral(": apagado no servidor, mas não tem permissão para o tirar do "
                                               "ficheiro"));
        TransactionScope unit;
        unit.begin();
        if (!membership::RemoveFromFile(id, request_.file))
            throw vb::Error(0,
                            QStringLiteral("o ficheiro «") + request_.file + QStringLiteral("» não existe"));
        forgetPairing(bookKey_, id);
        unit.commit();
        ++summary_.leftTheFile;
        summary_.lines << QStringLiteral("Retirado do ficheiro: n.º ") + QString::number(id);
    }

    // ---- To the server ----
    // Contacts new or changed in the catalog, their cards on the wire together;
    // each answer then dealt with in turn, as if it had been sent alone.
    void sendBatch(const QList<qint32>& ids)
    {
        QList<qint32> sending;
        QList<CardPut> cards;
        for (const qint32 id : ids) {
            step(QStringLiteral("A enviar"));
            guarded(named(id, local_.value(id).name), [&] {
                cards << cardToSend(id);
                sending << id;
            });
        }
        const QList<DavResponse> answers = book_.put(cards);
        for (qsizetype i = 0; i < sending.size(); ++i)
            guarded(named(sending[i], local_.value(sending[i]).name), [&] {
                if (cards[i].etag.isEmpty())
                    created(sending[i], cards[i].href, answers[i]);
                else
                    replaced(sending[i], cards[i].href, answers[i]);
            });
    }

    CardPut cardToSend(qint32 id)
    {
        const Local& local = loaded(id);
        const auto paired = state_.pairings.constFind(id);
        if (paired != state_.pairings.cend())
            return {paired->href, local.card, paired->etag};
        return {book_.hrefFor(uidOf(local.card, id)), local.card, {}};
    }

    void created(qint32 id, const QString& href, const DavResponse& r)
    {
        Local& local = loaded(id);
        if (r.status == 412) {
            // A card is there already: this sync's own, sent before a fault, or another's.
            const DavResponse there = book_.get(href);
            if (!there.ok())
                throw vb::Error(0, named(id, local.name) + QStringLiteral(": ") + describe(there));
            const RemoteCard card{href, there.etag, there.body};
            if (fingerprint(card.body) == local.fingerprint)
                return remember(id, href, card.etag, local);
            state_.pairings.insert(id, Pairing{id, href, card.etag, QString(), local.stamp});
            return conflict(id, card);
        }
        if (!r.ok())
            throw vb::Error(0, named(id, local.name) + QStringLiteral(": ") + describe(r));
        remember(id, href, r.etag, local);
        ++summary_.sent;
        summary_.lines << QStringLiteral("Enviado: ") + named(id, local.name);
    }

    void sendChange(qint32 id, const QString& href, const QByteArray& etag)
    {
        replaced(id, href, book_.replace(href, loaded(id).card, etag));
    }

    void replaced(qint32 id, const QString& href, const DavResponse& r)
    {
        Local& local = loaded(id);
        if (r.status == 412) {
            const DavResponse there = book_.get(href);
            if (there.ok())
                return changedOnServer(id, RemoteCard{href, there.etag, there.body});
        }
        if (!r.ok())
            throw vb::Error(0, named(id, local.name) + QStringLiteral(": ") + describe(r));
        remember(id, href, r.etag, local);
        ++summary_.sent;
        summary_.lines << QStringLiteral("Enviado: ") + named(id, local.name);
    }

    void goneFromCatalog(const Pairing& paired)
    {
        DavResponse r = book_.remove(paired.href, paired.etag);
        if (r.status == 412) {
            // Changed there since: the catalog's deletion holds, over the version there now.
            const DavResponse there = book_.get(paired.href);
            r = there.ok() ? book_.remove(paired.href, there.etag) : there;
        }
        if (!r.ok() && r.status != 404)
            throw vb::Error(0, QStringLiteral("n.º ") + QString::number(paired.contact) +
                                   QStringLiteral(": o cartão não foi apagado no servidor (") + describe(r) +
                                   u')');
        forget(paired.contact);
        ++summary_.deletedOnServer;
        summary_.lines << QStringLiteral("Apagado no servidor: n.º ") + QString::number(paired.contact);
    }

    // ---- Both sides changed ----
    void conflict(qint32 id, const RemoteCard& card)
    {
        Local& local = loaded(id);
        const Keep keep = chooser_.choose(local.name, id);
        if (keep == Keep::Later)
            throw vb::Error(0, named(id, local.name) +
                                   QStringLiteral(": alterado no catálogo e no servidor; fica para a próxima "
                                                  "sincronização"));
        ++summary_.conflicts;
        if (keep == Keep::Catalog) {
            archive(id, local.name, card.body, serverVersion);
            const DavResponse r = book_.replace(card.href, local.card, card.etag);
            if (!r.ok())
                throw vb::Error(0, named(id, local.name) + QStringLiteral(": ") + describe(r));
            remember(id, card.href, r.etag, local);
            ++summary_.sent;
            summary_.lines << QStringLiteral("Conflito, fica o do catálogo: ") + named(id, local.name);
            return;
        }
        archive(id, local.name, local.card, catalogVersion);
        receive(id, card, local.stamp);
        summary_.lines.last() = QStringLiteral("Conflito, fica o do servidor: ") + named(id, local.name);
    }

    // The version that does not stay, as a vCard in the contact's archive.
    void archive(qint32 id, const QString& name, const QByteArray& card, const QString& which)
    {
        QTemporaryDir folder;
        const QString fileName =
            vcard::fileNameFor(name + QStringLiteral(" (") + which + u' ' +
                               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH'h'mm")) +
                               u')')
                .replace(u'/', u'_');
        QFile file(folder.path() + u'/' + fileName);
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(card) != card.size())
            throw vb::Error(0, named(id, name) + QStringLiteral(": não foi possível preparar a ") + which);
        file.close();
        const QString archived = documents::ImportarFicheiro(file.fileName(), id);
        if (archived.isEmpty())
            throw vb::Error(0, named(id, name) + QStringLiteral(": a ") + which +
                                   QStringLiteral(" não ficou no arquivo do contacto; nada foi alterado"));
        summary_.archived << named(id, name) + QStringLiteral(": ") + archived;
    }

    // ---- What the sync remembers ----
    void remember(qint32 id, const QString& href, const QByteArray& etag, const Local& local)
    {
        const Pairing p{id, href, etag, local.fingerprint, local.stamp};
        TransactionScope unit;
        unit.begin();
        savePairing(bookKey_, p);
        unit.commit();
        state_.pairings.insert(id, p);
    }

    void forget(qint32 id)
    {
        TransactionScope unit;
        unit.begin();
        forgetPairing(bookKey_, id);
        unit.commit();
    }

    static QString uidOf(const QByteArray& card, qint32 id)
    {
        const QList<vcard::Card> cards = vcard::read(card);
        const QString uid = cards.isEmpty() ? QString() : cards.first().text(QStringLiteral("UID"));
        return uid.isEmpty() ? QStringLiteral("contacto-") + QString::number(id) : uid;
    }

    void step(const QString& what)
    {
        if (progress_) {
            ++done_;
            progress_(done_ - 1, std::max(total_, done_), what);
        }
    }

    DavClient& client_;
    SyncRequest request_;
    ConflictChooser& chooser_;
    Progress progress_;
    AddressBook book_;
    ContactStore store_;
    SyncSummary summary_;
    BookFacts facts_;
    QString bookKey_;
    BookState state_;
    Listing listing_;
    QHash<qint32, Local> local_;
    QSet<qint32> inFile_;
    QSet<qint32> notOpenable_;
    bool remoteDone_ = false;
    int done_ = 0;
    int total_ = 0;
};

} // namespace

QString SyncSummary::totals() const
{
    return QStringLiteral("Enviados: ") + QString::number(sent) + QStringLiteral(", recebidos: ") +
           QString::number(received) + QStringLiteral(", apagados no servidor: ") +
           QString::number(deletedOnServer) + QStringLiteral(", retirados do ficheiro: ") +
           QString::number(leftTheFile) + QStringLiteral(", conflitos: ") + QString::number(conflicts) +
           QStringLiteral(", por fazer: ") + QString::number(refused.size()) + u'.';
}

QString fingerprint(const QByteArray& card)
{
    const QList<vcard::Card> cards = vcard::read(card);
    const QByteArray normal =
        cards.isEmpty() ? card : vcard::write({vcard::toCard(vcard::fromCard(cards.first()))});
    return QString::fromLatin1(QCryptographicHash::hash(normal, QCryptographicHash::Sha256).toHex());
}

SyncSummary synchronise(DavClient& client, const SyncRequest& request, ConflictChooser& chooser,
                        const Progress& progress)
{
    return Sync(client, request, chooser, progress).run();
}

} // namespace carddav
