#include "tests/support/Radicale.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace testsupport {

namespace {

constexpr int startTimeoutMs = 15000;
const QByteArray makeBookBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><mkcol xmlns=\"DAV:\" "
    "xmlns:CR=\"urn:ietf:params:xml:ns:carddav\"><set><prop><resourcetype><collection/><CR:addressbook/>"
    "</resourcetype><displayname>%1</displayname></prop></set></mkcol>";

} // namespace

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

Radicale::Radicale(const QStringList& users, bool https) : https_(https)
{
    QFile passwords(dir_.filePath(QStringLiteral("users")));
    passwords.open(QIODevice::WriteOnly);
    passwords.write(users.join(u'\n').toUtf8() + '\n');
    passwords.close();
    start();
}

Radicale::~Radicale()
{
    stop();
}

bool Radicale::start()
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("radicale"));
    if (program.isEmpty()) {
        failure_ = QStringLiteral("radicale não está instalado");
        return false;
    }
    if (port_ == 0)
        port_ = freeLoopbackPort();
    if (https_ && !makeCertificate())
        return false;
    QFile config(dir_.filePath(QStringLiteral("config")));
    config.open(QIODevice::WriteOnly);
    config.write(
        QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%4[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                       "htpasswd_encryption = plain\n[storage]\nfilesystem_folder = %3\n"
                       "[rights]\ntype = owner_only\n[logging]\nlevel = warning\n")
            .arg(port_)
            .arg(dir_.filePath(QStringLiteral("users")), dir_.filePath(QStringLiteral("collections")),
                 https_ ? tlsSettings() : QString())
            .toUtf8());
    config.close();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program, {QStringLiteral("--config"), config.fileName()});
    if (!process_.waitForStarted(startTimeoutMs)) {
        failure_ = QStringLiteral("radicale não arrancou");
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < startTimeoutMs && process_.state() != QProcess::NotRunning) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    failure_ = QStringLiteral("radicale não arrancou");
    return false;
}

// A certificate of its own for 127.0.0.1, signed by no one the system trusts.
bool Radicale::makeCertificate()
{
    const QStringList arguments =
        QStringLiteral("req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1").split(u' ');
    const int made = QProcess::execute(
        QStringLiteral("openssl"),
        arguments + QStringList{QStringLiteral("-keyout"), dir_.filePath(QStringLiteral("chave.pem")),
                                QStringLiteral("-out"), dir_.filePath(QStringLiteral("certificado.pem"))});
    if (made != 0)
        failure_ = QStringLiteral("openssl não fez o certificado");
    return made == 0;
}

QString Radicale::tlsSettings() const
{
    return QStringLiteral("ssl = True\ncertificate = ") + dir_.filePath(QStringLiteral("certificado.pem")) +
           QStringLiteral("\nkey = ") + dir_.filePath(QStringLiteral("chave.pem")) + u'\n';
}

void Radicale::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QUrl Radicale::base() const
{
    return QUrl((https_ ? QStringLiteral("https") : QStringLiteral("http")) +
                QStringLiteral("://127.0.0.1:") + QString::number(port_) + u'/');
}

QUrl Radicale::makeBook(const QString& user, const QString& password, const QString& name)
{
    const QUrl url = base().resolved(QUrl(user + u'/' + name + u'/'));
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", "Basic " + (user + u':' + password).toUtf8().toBase64());
    request.setRawHeader("Content-Type", "application/xml; charset=utf-8");
    QNetworkReply* reply =
        network.sendCustomRequest(request, "MKCOL", QString::fromUtf8(makeBookBody).arg(name).toUtf8());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    return status == 201 ? url : QUrl();
}

QMap<QString, QByteArray> Radicale::storedCards(const QString& user, const QString& name) const
{
    QMap<QString, QByteArray> cards;
    const QDir folder(dir_.filePath(QStringLiteral("collections/collection-root/") + user + u'/' + name));
    for (const QString& file : folder.entryList({QStringLiteral("*.vcf")}, QDir::Files)) {
        QFile card(folder.filePath(file));
        if (card.open(QIODevice::ReadOnly))
            cards.insert(file, card.readAll());
    }
    return cards;
}

} // namespace testsupport
