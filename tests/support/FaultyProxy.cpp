#include "tests/support/FaultyProxy.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace testsupport {

namespace {

// The whole request is in: its head, and the body its Content-Length names.
bool complete(const QByteArray& request)
{
    const qsizetype headEnd = request.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    static const QRegularExpression length(QStringLiteral("(?im)^content-length:\\s*(\\d+)"));
    const QRegularExpressionMatch m = length.match(QString::fromLatin1(request.left(headEnd)));
    const qsizetype body = m.hasMatch() ? m.captured(1).toLongLong() : 0;
    return request.size() >= headEnd + 4 + body;
}

// One request a connection: the server is asked to close after answering.
QByteArray closing(QByteArray request)
{
    const qsizetype headEnd = request.indexOf("\r\n\r\n");
    static const QRegularExpression connection(QStringLiteral("(?im)^connection:[^\\r\\n]*\\r\\n"));
    QString head = QString::fromLatin1(request.left(headEnd + 2));
    head.remove(connection);
    return head.toLatin1() + "Connection: close\r\n" + request.mid(headEnd + 2);
}

} // namespace

FaultyProxy::FaultyProxy(quint16 serverPort) : serverPort_(serverPort)
{
    listener_.listen(QHostAddress::LocalHost, 0);
    connect(&listener_, &QTcpServer::newConnection, this, &FaultyProxy::accept);
}

void FaultyProxy::failRequest(int n, Fault fault)
{
    failAt_ = n == 0 ? 0 : seen_ + n;
    fault_ = fault;
    failed_ = false;
}

void FaultyProxy::accept()
{
    while (QTcpSocket* client = listener_.nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        connect(client, &QTcpSocket::readyRead, this, [this, client, request] { readFrom(client, request); });
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
    }
}

void FaultyProxy::readFrom(QTcpSocket* client, const std::shared_ptr<QByteArray>& request)
{
    request->append(client->readAll());
    if (!complete(*request))
        return;
    ++seen_;
    // From the n-th request on, the server is gone: its clients' retries too.
    const bool fails = failAt_ != 0 && seen_ >= failAt_;
    const bool carriedOut = fails && fault_ == Fault::AfterServer && seen_ == failAt_;
    failed_ = failed_ || fails;
    if (fails && !carriedOut) {
        client->abort();
        return;
    }
    const QByteArray whole = closing(*request);
    request->clear();
    if (!redirectVerb_.isEmpty() && whole.startsWith(redirectVerb_ + ' '))
        return redirect(client, whole);
    if (delayMs_ == 0)
        return forward(client, whole, fails);
    QTimer::singleShot(delayMs_, this, [this, client = QPointer<QTcpSocket>(client), whole, fails] {
        if (client)
            forward(client, whole, fails);
    });
}

void FaultyProxy::redirect(QTcpSocket* client, const QByteArray& request)
{
    ++redirected_;
    const QByteArray path = request.left(request.indexOf("\r\n")).split(' ').value(1);
    client->write(
        "HTTP/1.1 308 Permanent Redirect\r\nLocation: http://127.0.0.1:" + QByteArray::number(serverPort_) +
        path + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    client->disconnectFromHost();
}

void FaultyProxy::forward(QTcpSocket* clientSocket, const QByteArray& request, bool dropAnswer)
{
    const QPointer<QTcpSocket> client(clientSocket);
    auto* server = new QTcpSocket(this);
    auto answer = std::make_shared<QByteArray>();
    connect(server, &QTcpSocket::connected, server, [server, request] { server->write(request); });
    connect(server, &QTcpSocket::readyRead, server, [server, answer] { answer->append(server->readAll()); });
    connect(server, &QTcpSocket::disconnected, this, [server, client, answer, dropAnswer] {
        answer->append(server->readAll());
        server->deleteLater();
        if (!client)
            return;
        if (dropAnswer) {
            client->abort(); // the server did it; the client never hears
            return;
        }
        client->write(*answer);
        client->disconnectFromHost();
    });
    connect(server, &QTcpSocket::errorOccurred, server, [server, client](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            return;
        server->deleteLater();
        if (client)
            client->abort();
    });
    server->connectToHost(QHostAddress::LocalHost, serverPort_);
}

} // namespace testsupport
