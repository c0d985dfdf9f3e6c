#pragma once
// WebDAV requests to an address book server, one at a time or a batch at
// once, waited for in a local event loop. Basic authentication is sent with every request (the
// servers ask for it anyway); HTTPS is the rule, plain HTTP is taken only on
// the loopback or when the caller allows it. A certificate the system does
// not trust fails the request with a message saying so.
#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <utility>

class QNetworkReply;

namespace carddav {

struct DavResponse {
    int status = 0; // the HTTP status; 0 when no answer came
    QByteArray body;
    QByteArray etag;     // the ETag header, as sent
    QByteArray location; // a redirection's target
    QString failure;     // why no answer came, in Portuguese
    QUrl url;            // where the answer came from, after redirections

    bool answered() const { return status != 0; }
    bool ok() const { return status >= 200 && status < 300; }
};

using Headers = QList<std::pair<QByteArray, QByteArray>>;

struct DavRequest {
    QByteArray verb;
    QUrl url;
    QByteArray body;
    Headers headers;
};

struct DavAccount {
    QString user;
    QString password;
    bool plainHttpAllowed = false; // HTTP to a host other than the loopback
    int timeoutMs = 30000;
};

class DavClient {
  public:
    explicit DavClient(DavAccount account);

    DavResponse send(const QByteArray& verb, const QUrl& url, const QByteArray& body = {},
                     const Headers& headers = {});
    // Several requests on the wire at once (the network manager keeps a few
    // connections to a server), so that a batch costs little more than one
    // round trip however far the server is. The answers in the requests'
    // order; a redirected request is then followed on its own.
    QList<DavResponse> sendAll(const QList<DavRequest>& requests);
    // How many requests were sent (for the summary and the benchmarks).
    int requests() const { return requests_; }

    // Why this address may not be used, or empty text.
    QString refusal(const QUrl& url) const;

  private:
    struct InFlight;
    DavResponse once(const DavRequest& request);
    DavResponse follow(DavRequest request, DavResponse response);
    QNetworkReply* start(const DavRequest& request, InFlight& flight);

    DavAccount account_;
    QNetworkAccessManager network_;
    int requests_ = 0;
};

// A failure of the request in one line: the transport's, or the status.
QString describe(const DavResponse& response);

} // namespace carddav
