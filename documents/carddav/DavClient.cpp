#include "documents/carddav/DavClient.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <vector>

namespace carddav {

namespace {

constexpr int mostRedirections = 5;
const QByteArray authorization = QByteArrayLiteral("Authorization");

bool isRedirection(int status)
{
    return status == 301 || status == 302 || status == 307 || status == 308;
}

bool isLoopback(const QUrl& url)
{
    const QString host = url.host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString quotedHost(const QUrl& url)
{
    return QStringLiteral("«") + url.host() + QStringLiteral("»");
}

// What is wrong with the certificate, in the user's language where it is one
// of the usual faults.
QString certificateFault(const QSslError& e)
{
    switch (e.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
        return QStringLiteral("assinado por si próprio");
    case QSslError::CertificateExpired:
        return QStringLiteral("expirado");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("ainda não é válido");
    case QSslError::HostNameMismatch:
        return QStringLiteral("passado a outro nome");
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral("de uma autoridade desconhecida");
    case QSslError::CertificateRevoked:
        return QStringLiteral("revogado");
    default:
        return e.errorString();
    }
}

QString transportFailure(const QNetworkReply& reply, const QUrl& url, const QStringList& certificateFaults)
{
    switch (reply.error()) {
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("o certificado do servidor ") + quotedHost(url) +
               QStringLiteral(" não é de confiança") +
               (certificateFaults.isEmpty()
                    ? QString()
                    : QStringLiteral(" (") + certificateFaults.join(QStringLiteral("; ")) + u')');
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("o servidor ") + quotedHost(url) + QStringLiteral(" recusou a ligação");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("o servidor ") + quotedHost(url) + QStringLiteral(" não foi encontrado");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("o servidor ") + quotedHost(url) + QStringLiteral(" não respondeu a tempo");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("o servidor ") + quotedHost(url) + QStringLiteral(" fechou a ligação");
    default:
        return QStringLiteral("não foi possível falar com ") + quotedHost(url) + QStringLiteral(" (") +
               reply.errorString() + u')';
    }
}

} // namespace

DavClient::DavClient(DavAccount account) : account_(std::move(account))
{
    // Each request names its own credentials; the manager never asks.
    network_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QString DavClient::refusal(const QUrl& url) const
{
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("o endereço «") + url.toString() + QStringLiteral("» não é válido");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return {};
    if (scheme == QLatin1String("http") && (isLoopback(url) || account_.plainHttpAllowed))
        return {};
    if (scheme == QLatin1String("http"))
        return QStringLiteral("o endereço «") + url.toString() +
               QStringLiteral("» usa HTTP sem cifra: a senha passaria às claras; use HTTPS");
    return QStringLiteral("o endereço «") + url.toString() + QStringLiteral("» não é HTTP nem HTTPS");
}

// What a request on the wire gathers until its answer is read.
struct DavClient::InFlight {
    QUrl url;
    QStringList certificateFaults;
    QNetworkReply* reply = nullptr;
};

namespace {

DavResponse refused(const QUrl& url, const QString& why)
{
    DavResponse response;
    response.url = url;
    response.failure = why;
    return response;
}

DavResponse answerOf(QNetworkReply& reply, const QUrl& url, const QStringList& certificateFaults)
{
    DavResponse response;
    response.url = url;
    response.status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.body = reply.readAll();
    response.etag = reply.rawHeader("ETag");
    response.location = reply.rawHeader("Location");
    if (response.status == 0)
        response.failure = transportFailure(reply, url, certificateFaults);
    return response;
}

} // namespace

DavResponse DavClient::send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    const DavRequest request{verb, url, body, headers};
    if (const QString why = refusal(url); !why.isEmpty())
        return refused(url, why);
    return follow(request, once(request));
}

// Where an answer sends the request on, up to a few hops; the answer itself
// when it sends nowhere new.
DavResponse DavClient::follow(DavRequest request, DavResponse response)
{
    for (int hop = 0; isRedirection(response.status) && hop < mostRedirections; ++hop) {
        const QUrl next = request.url.resolved(QUrl(QString::fromUtf8(response.location)));
        if (next == request.url || !next.isValid())
            return response;
        request.url = next;
        if (const QString why = refusal(request.url); !why.isEmpty())
            return refused(request.url, why);
        response = once(request);
    }
    return response;
}

QList<DavResponse> DavClient::sendAll(const QList<DavRequest>& requests)
{
    QList<DavResponse> responses(requests.size());
    std::vector<InFlight> flights(requests.size());
    QEventLoop loop;
    qsizetype waiting = 0;
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (const QString why = refusal(requests[i].url); !why.isEmpty()) {
            responses[i] = refused(requests[i].url, why);
            continue;
        }
        QNetworkReply* reply = start(requests[i], flights[i]);
        ++waiting;
        QObject::connect(reply, &QNetworkReply::finished, &loop, [&loop, &waiting] {
            if (--waiting == 0)
                loop.quit();
        });
    }
    if (waiting > 0)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (!flights[i].reply)
            continue;
        responses[i] =
            follow(requests[i], answerOf(*flights[i].reply, flights[i].url, flights[i].certificateFaults));
        flights[i].reply->deleteLater();
    }
    return responses;
}

QNetworkReply* DavClient::start(const DavRequest& r, InFlight& flight)
{
    QNetworkRequest request(r.url);
    request.setTransferTimeout(account_.timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!account_.user.isEmpty())
        request.setRawHeader(authorization,
                             "Basic " + (account_.user + u':' + account_.password).toUtf8().toBase64());
    for (const auto& [name, value] : r.headers)
        request.setRawHeader(name, value);
    ++requests_;
    flight.url = r.url;
    flight.reply = network_.sendCustomRequest(request, r.verb, r.body);
    QObject::connect(
        flight.reply, &QNetworkReply::sslErrors, flight.reply, [&flight](const QList<QSslError>& errors) {
            for (const QSslError& e : errors)
                if (const QString fault = certificateFault(e); !flight.certificateFaults.contains(fault))
                    flight.certificateFaults << fault;
        });
    return flight.reply;
}

DavResponse DavClient::once(const DavRequest& request)
{
    InFlight flight;
    QNetworkReply* reply = start(request, flight);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    DavResponse response = answerOf(*reply, request.url, flight.certificateFaults);
    reply->deleteLater();
    return response;
}

QString describe(const DavResponse& response)
{
    if (!response.answered())
        return response.failure;
    switch (response.status) {
    case 401:
        return QStringLiteral("o servidor recusou o utilizador ou a senha");
    case 403:
        return QStringLiteral("o servidor não deixa este utilizador fazê-lo");
    case 404:
        return QStringLiteral("o endereço «") + response.url.toString() +
               QStringLiteral("» não existe no servidor");
    case 412:
        return QStringLiteral("o cartão mudou no servidor entretanto");
    default:
        return QStringLiteral("o servidor respondeu ") + QString::number(response.status);
    }
}

} // namespace carddav
