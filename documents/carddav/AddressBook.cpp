#include "documents/carddav/AddressBook.h"

#include <QDomDocument>
#include <QRegularExpression>
#include <algorithm>

namespace carddav {

namespace {

// ---- Requests ----
const QByteArray propfindBook =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\" "
    "xmlns:cs=\"http://calendarserver.org/ns/\"><d:prop><d:resourcetype/><d:current-user-principal/>"
    "<c:addressbook-home-set/><cs:getctag/><d:sync-token/><d:supported-report-set/>"
    "<c:supported-address-data/></d:prop></d:propfind>";
const QByteArray propfindMembers = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                   "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:resourcetype/><d:getetag/>"
                                   "</d:prop></d:propfind>";
const QByteArray syncCollectionHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                      "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>";
const QByteArray syncCollectionTail =
    "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>";
const QByteArray multigetHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                "<c:addressbook-multiget xmlns:d=\"DAV:\" "
                                "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop><d:getetag/>"
                                "<c:address-data/></d:prop>";
const QByteArray multigetTail = "</c:addressbook-multiget>";
const QByteArray wellKnown = "/.well-known/carddav";

const QByteArray xmlType = "application/xml; charset=utf-8";
const QByteArray vcardType = "text/vcard; charset=utf-8";
constexpr int cardsPerFetch = 100;
constexpr int multiStatus = 207;

Headers davHeaders(const char* depth)
{
    return {{"Content-Type", xmlType}, {"Depth", depth}};
}

// ---- Answers ----
const QString davNamespace = QStringLiteral("DAV:");

QList<QDomElement> childrenNamed(const QDomElement& parent, const QString& localName)
{
    QList<QDomElement> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.localName() == localName)
            out << e;
    return out;
}

int statusOf(const QString& line)
{
    // "HTTP/1.1 200 OK"
    static const QRegularExpression code(QStringLiteral("^\\S+\\s+(\\d{3})"));
    const QRegularExpressionMatch m = code.match(line.trimmed());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

void descendants(const QDomElement& e, QStringList& names)
{
    for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        names << c.localName();
        descendants(c, names);
    }
}

void readProperties(const QDomElement& prop, DavEntry& entry)
{
    for (QDomElement p = prop.firstChildElement(); !p.isNull(); p = p.nextSiblingElement()) {
        const QString name = p.localName();
        entry.text.insert(name, p.text());
        QStringList names;
        descendants(p, names);
        entry.children.insert(name, names);
        if (name == QLatin1String("supported-address-data"))
            for (const QDomElement& type : childrenNamed(p, QStringLiteral("address-data-type")))
                entry.versions << type.attribute(QStringLiteral("version"));
        const QList<QDomElement> inner = childrenNamed(p, QStringLiteral("href"));
        if (!inner.isEmpty())
            entry.hrefs.insert(name, inner.first().text().trimmed());
    }
}

QString xmlEscaped(const QString& text)
{
    return text.toHtmlEscaped();
}

bool fails(const DavResponse& r, QString& failure)
{
    if (r.status == multiStatus)
        return false;
    failure = describe(r);
    return true;
}

} // namespace

Multistatus parseMultistatus(const QByteArray& body)
{
    Multistatus out;
    QDomDocument document;
    if (!document.setContent(body, true))
        return out;
    const QDomElement root = document.documentElement();
    if (root.localName() != QLatin1String("multistatus"))
        return out;
    out.read = true;
    for (const QDomElement& token : childrenNamed(root, QStringLiteral("sync-token")))
        out.token = token.text().trimmed();
    for (const QDomElement& response : childrenNamed(root, QStringLiteral("response"))) {
        DavEntry entry;
        for (const QDomElement& href : childrenNamed(response, QStringLiteral("href")))
            entry.href = href.text().trimmed();
        for (const QDomElement& status : childrenNamed(response, QStringLiteral("status")))
            entry.status = statusOf(status.text());
        for (const QDomElement& propstat : childrenNamed(response, QStringLiteral("propstat"))) {
            int status = 0;
            for (const QDomElement& s : childrenNamed(propstat, QStringLiteral("status")))
                status = statusOf(s.text());
            if (status < 200 || status >= 300)
                continue; // properties the server does not have
            if (entry.status == 0)
                entry.status = status;
            for (const QDomElement& prop : childrenNamed(propstat, QStringLiteral("prop")))
                readProperties(prop, entry);
        }
        out.entries << entry;
    }
    return out;
}

bool AddressBook::isAddressBook(const QUrl& url, QString& failure, QUrl* home, QUrl* principal)
{
    const DavResponse r = client_.send("PROPFIND", url, propfindBook, davHeaders("0"));
    if (fails(r, failure))
        return false;
    const Multistatus answer = parseMultistatus(r.body);
    if (answer.entries.isEmpty()) {
        failure = QStringLiteral("o servidor deu uma resposta que não se percebe");
        return false;
    }
    const DavEntry& e = answer.entries.first();
    if (e.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("addressbook"))) {
        url_ = r.url.resolved(QUrl(e.href.isEmpty() ? r.url.path() : e.href));
        found_ = e; // its facts came with it
        return true;
    }
    if (home && e.hrefs.contains(QStringLiteral("addressbook-home-set")))
        *home = r.url.resolved(QUrl(e.hrefs.value(QStringLiteral("addressbook-home-set"))));
    if (principal && e.hrefs.contains(QStringLiteral("current-user-principal")))
        *principal = r.url.resolved(QUrl(e.hrefs.value(QStringLiteral("current-user-principal"))));
    failure = QStringLiteral("«") + url.toString() + QStringLiteral("» não é um livro de endereços");
    return false;
}

bool AddressBook::firstBookIn(const QUrl& home, QString& failure)
{
    const DavResponse r = client_.send("PROPFIND", home, propfindMembers, davHeaders("1"));
    if (fails(r, failure))
        return false;
    QStringList books;
    for (const DavEntry& e : parseMultistatus(r.body).entries)
        if (e.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("addressbook")))
            books << e.href;
    if (books.isEmpty()) {
        failure =
            QStringLiteral("não há nenhum livro de endereços em «") + home.toString() + QStringLiteral("»");
        return false;
    }
    std::sort(books.begin(), books.end());
    url_ = r.url.resolved(QUrl(books.first()));
    return true;
}

bool AddressBook::locate(const QUrl& given, QString& failure)
{
    if (failure = client_.refusal(given); !failure.isEmpty())
        return false;
    QUrl home, principal;
    for (const QUrl& start : {given, given.resolved(QUrl(QString::fromLatin1(wellKnown)))}) {
        if (isAddressBook(start, failure, &home, &principal))
            return true;
        if (home.isEmpty() && !principal.isEmpty())
            isAddressBook(principal, failure, &home);
        if (!home.isEmpty())
            return firstBookIn(home, failure);
    }
    return false;
}

bool AddressBook::facts(BookFacts& out, QString& failure)
{
    if (!found_ && !isAddressBook(url_, failure))
        return false;
    const DavEntry e = *found_;
    found_.reset(); // asked again next time
    out.ctag = e.text.value(QStringLiteral("getctag"));
    out.token = e.text.value(QStringLiteral("sync-token"));
    // A server that names the versions it takes and not 4.0 gets 3.0.
    out.takesVersion4 = e.versions.isEmpty() || e.versions.contains(QStringLiteral("4.0"));
    out.changesReport =
        e.children.value(QStringLiteral("supported-report-set")).contains(QStringLiteral("sync-collection"));
    return true;
}

namespace {

// The members of the book only: the book itself and sub-collections aside.
bool isCard(const DavEntry& e, const QUrl& book)
{
    const QString path = book.resolved(QUrl(e.href)).path();
    const QString own = book.path();
    if (path == own || path + u'/' == own || own + u'/' == path)
        return false;
    return !e.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("collection"));
}

} // namespace

bool AddressBook::changes(const QString& token, Listing& out, QString& failure)
{
    const QByteArray body = syncCollectionHead + xmlEscaped(token).toUtf8() + syncCollectionTail;
    DavResponse r = client_.send("REPORT", url_, body, davHeaders("1"));
    // A token the server forgot: everything again, from no token.
    if (!token.isEmpty() && (r.status == 403 || r.status == 409 || r.status == 400))
        return changes(QString(), out, failure);
    if (fails(r, failure))
        return false;
    const Multistatus answer = parseMultistatus(r.body);
    out = Listing();
    out.whole = token.isEmpty();
    out.token = answer.token;
    for (const DavEntry& e : answer.entries) {
        if (!isCard(e, url_))
            continue;
        const QString href = url_.resolved(QUrl(e.href)).path(QUrl::FullyEncoded);
        if (e.status == 404)
            out.removed << href;
        else
            out.etags.insert(href, e.text.value(QStringLiteral("getetag")).toUtf8());
    }
    return true;
}

bool AddressBook::list(Listing& out, QString& failure)
{
    const DavResponse r = client_.send("PROPFIND", url_, propfindMembers, davHeaders("1"));
    if (fails(r, failure))
        return false;
    out = Listing();
    out.whole = true;
    for (const DavEntry& e : parseMultistatus(r.body).entries)
        if (isCard(e, url_))
            out.etags.insert(url_.resolved(QUrl(e.href)).path(QUrl::FullyEncoded),
                             e.text.value(QStringLiteral("getetag")).toUtf8());
    return true;
}

bool AddressBook::fetch(const QStringList& hrefs, QList<RemoteCard>& out, QString& failure)
{
    for (qsizetype from = 0; from < hrefs.size(); from += cardsPerFetch) {
        QByteArray body = multigetHead;
        for (const QString& href : hrefs.mid(from, cardsPerFetch))
            body += "<d:href>" + xmlEscaped(href).toUtf8() + "</d:href>";
        body += multigetTail;
        const DavResponse r = client_.send("REPORT", url_, body, davHeaders("1"));
        if (fails(r, failure))
            return false;
        for (const DavEntry& e : parseMultistatus(r.body).entries)
            if (e.status >= 200 && e.status < 300 && e.text.contains(QStringLiteral("address-data")))
                out << RemoteCard{url_.resolved(QUrl(e.href)).path(QUrl::FullyEncoded),
                                  e.text.value(QStringLiteral("getetag")).toUtf8(),
                                  e.text.value(QStringLiteral("address-data")).toUtf8()};
    }
    return true;
}

DavRequest AddressBook::putting(const CardPut& card) const
{
    const Headers headers{{"Content-Type", vcardType},
                          card.etag.isEmpty() ? std::pair{QByteArray("If-None-Match"), QByteArray("*")}
                                              : std::pair{QByteArray("If-Match"), card.etag}};
    return DavRequest{"PUT", at(card.href), card.card, headers};
}

DavResponse AddressBook::create(const QString& href, const QByteArray& card)
{
    const DavRequest r = putting({href, card, {}});
    return client_.send(r.verb, r.url, r.body, r.headers);
}

DavResponse AddressBook::replace(const QString& href, const QByteArray& card, const QByteArray& etag)
{
    const DavRequest r = putting({href, card, etag});
    return client_.send(r.verb, r.url, r.body, r.headers);
}

QList<DavResponse> AddressBook::put(const QList<CardPut>& cards)
{
    QList<DavRequest> requests;
    requests.reserve(cards.size());
    for (const CardPut& card : cards)
        requests << putting(card);
    return client_.sendAll(requests);
}

DavResponse AddressBook::remove(const QString& href, const QByteArray& etag)
{
    return client_.send("DELETE", at(href), {}, {{"If-Match", etag}});
}

DavResponse AddressBook::get(const QString& href)
{
    return client_.send("GET", at(href));
}

QString AddressBook::hrefFor(const QString& uid) const
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9._-]"));
    QString name = uid;
    if (name.startsWith(QLatin1String("urn:uuid:"), Qt::CaseInsensitive))
        name = name.mid(9);
    name.replace(unsafe, QStringLiteral("_"));
    QString path = url_.path(QUrl::FullyEncoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + name + QStringLiteral(".vcf");
}

} // namespace carddav
