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
    int ConnectionTimeout() const; // seconds; 15 unless set
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
    void RollbackTrans();

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

    std::shared_ptr<Impl> impl_;
};

} // namespace ado
