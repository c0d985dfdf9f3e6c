#include "documents/carddav/DavClient.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>

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

DavResponse DavClient::send(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        if (const QString why = refusal(target); !why.isEmpty()) {
            DavResponse refused;
            refused.url = target;
            refused.failure = why;
            return refused;
        }
        DavResponse response = once(verb, target, body, headers);
        if (!isRedirection(response.status) || hop == mostRedirections)
            return response;
        const QUrl next = target.resolved(QUrl(QString::fromUtf8(response.location)));
        if (next == target || !next.isValid())
            return response;
        target = next;
    }
}

DavResponse DavClient::once(const QByteArray& verb, const QUrl& url, const QByteArray& body,
                            const Headers& headers)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(account_.timeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!account_.user.isEmpty())
        request.setRawHeader(authorization,
                             "Basic " + (account_.user + u':' + account_.password).toUtf8().toBase64());
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    ++requests_;
    QNetworkReply* reply = network_.sendCustomRequest(request, verb, body);
    QStringList certificateFaults;
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [&](const QList<QSslError>& errors) {
        for (const QSslError& e : errors)
            if (const QString fault = certificateFault(e); !certificateFaults.contains(fault))
                certificateFaults << fault;
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    DavResponse response;
    response.url = url;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.body = reply->readAll();
    response.etag = reply->rawHeader("ETag");
    response.location = reply->rawHeader("Location");
    if (response.status == 0)
        response.failure = transportFailure(*reply, url, certificateFaults);
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
