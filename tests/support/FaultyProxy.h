#pragma once
// An HTTP proxy on the loopback in front of a server, one request to a
// connection, that can stop the server at the n-th request it sees: that
// request dropped before the server gets it, or carried out by the server
// and its answer lost; every request after it dropped. It can also hold
// each request a while, as a distant network would, or send each on to
// the server by a redirection.
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

namespace testsupport {

class FaultyProxy : public QObject {
  public:
    enum class Fault { BeforeServer, AfterServer };

    explicit FaultyProxy(quint16 serverPort);
    quint16 port() const { return listener_.serverPort(); }
    // The server stops at the n-th request from now (1 = the next); 0: it runs again.
    void failRequest(int n, Fault fault);
    // Each request reaches the server this long after it came.
    void delayRequests(int milliseconds) { delayMs_ = milliseconds; }
    // Each request of this verb is answered with a permanent redirection to the server itself.
    void redirectRequests(const QByteArray& verb) { redirectVerb_ = verb; }
    int redirected() const { return redirected_; }
    int requestsSeen() const { return seen_; }
    bool failed() const { return failed_; }

  private:
    void accept();
    void readFrom(QTcpSocket* client, const std::shared_ptr<QByteArray>& request);
    void forward(QTcpSocket* client, const QByteArray& request, bool dropAnswer);
    void redirect(QTcpSocket* client, const QByteArray& request);

    quint16 serverPort_;
    QTcpServer listener_;
    int seen_ = 0;
    int failAt_ = 0;
    Fault fault_ = Fault::BeforeServer;
    bool failed_ = false;
    int delayMs_ = 0;
    QByteArray redirectVerb_;
    int redirected_ = 0;
};

} // namespace testsupport
