#pragma once
// A connection shaped like ADO's. Copies share one connection object, as VB
// object references do.
#include "platform/ado/AdoConstants.h"
#include "platform/ado/Session.h"
#include "platform/values/VbError.h"
#include <QList>
#include <QString>
#include <memory>

namespace ado {

class Recordset;

class Connection {
  public:
    Connection(); // a new, closed connection
    static Connection nothing();
    bool isNothing() const { return !impl_; }
    bool sameObject(const Connection& other) const { return impl_ == other.impl_; }

    QString ConnectionString() const;
    void setConnectionString(const QString& text);
    // Seconds; 15 unless set. Set after the connection string, it wins over
    // the string's "Connect Timeout"; otherwise the string's value applies.
    int ConnectionTimeout() const;
    void setConnectionTimeout(int seconds);
    int CommandTimeout() const; // seconds; 30 unless set
    void setCommandTimeout(int seconds);

    // adStateClosed, adStateOpen, or adStateConnecting while an asynchronous
    // open is under way. Reading it is how such an open is polled.
    int State() const;

    // options adAsyncConnect opens on a worker; a failure then closes the
    // connection and is kept in Errors().
    void Open(const QString& connectionString = {}, const QString& userId = {}, const QString& password = {},
              int options = adConnectUnspecified);
    void Close();
    // A recordset: open when the statement yields rows, closed otherwise.
    Recordset Execute(const QString& commandText, qint64* recordsAffected = nullptr,
                      int options = adCmdUnspecified);
    int BeginTrans(); // the new nesting level
    void CommitTrans();
    // Undoes whatever transaction is open. After a lost session it only
    // clears the loss. A rollback the server refuses closes the session,
    // so that no lock outlives it, and the refusal is thrown.
    void RollbackTrans();

    // The open transaction's nesting level on this connection (0: none),
    // known without asking the server.
    int TransactionLevel() const;
    // The session under an open transaction was lost: every statement,
    // BeginTrans and CommitTrans included, fails until RollbackTrans.
    bool TransactionLost() const;
    // A step inside the open transaction failed where it could not undo
    // itself alone (a unit joined by an inner one): the transaction may only
    // be rolled back; committing it throws. Cleared when it ends.
    void markTransactionDoomed();
    bool TransactionDoomed() const;

    // The errors of the last operation, as ADO's Errors collection.
    QList<vb::Error> Errors() const;

    // For Recordset: runs a batch with the statement trace.
    BatchResult run(const QString& batch) const;
    qint64 runWith(const QString& statement, const QList<vb::Variant>& values) const;
    QStringList primaryKey(const QString& table) const;

  private:
    struct Impl;
    explicit Connection(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
    Impl& impl() const;
    Session& session() const; // throws 3709 unless open
    void refuseWhileLost() const;

    std::shared_ptr<Impl> impl_;
};

} // namespace ado
