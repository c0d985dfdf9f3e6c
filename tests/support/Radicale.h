#pragma once
// A throw-away Radicale (Debian's CardDAV server) on 127.0.0.1, in a folder
// of its own, with htpasswd users, for the life of the object. Skips the
// test when the program is not installed.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

namespace testsupport {

class Radicale {
  public:
    // `users`: "name:password" lines.
    // With `https`, it answers with a certificate of its own that no one trusts.
    explicit Radicale(const QStringList& users = {QStringLiteral("ana:senha-ana")}, bool https = false);
    ~Radicale();
    Radicale(const Radicale&) = delete;
    Radicale& operator=(const Radicale&) = delete;

    bool running() const { return process_.state() == QProcess::Running && port_ != 0; }
    QString failure() const { return failure_; }
    quint16 port() const { return port_; }
    QUrl base() const;
    // A new address book of `user`'s; its URL.
    QUrl makeBook(const QString& user, const QString& password, const QString& name);
    // The cards of a book as files in Radicale's folder (name → bytes).
    QMap<QString, QByteArray> storedCards(const QString& user, const QString& name) const;
    void stop();
    bool start();

  private:
    bool makeCertificate();
    QString tlsSettings() const;

    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    bool https_ = false;
    QString failure_;
};

// A free TCP port on the loopback, for a server to take.
quint16 freeLoopbackPort();

} // namespace testsupport
