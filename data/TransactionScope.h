#pragma once
// One unit of writing on the shared connection. The outermost scope begins
// the transaction and is the only one that ends it; a scope begun while a
// transaction is open joins it without owning it. A lost transaction is a
// failure: commit() throws when the session under it went away, even when
// nothing else noticed. A rollback the server refuses closes the session
// (the connection does that), so no lock outlives the scope.
//
//   TransactionScope unit;
//   unit.begin();
//   ... writes ...
//   unit.commit(); // a failure before this line leaves nothing written
//
// An inner scope that ends without committing dooms the outer unit: the
// outer commit() then throws and its scope rolls everything back, so a step
// that failed inside can never be committed by the caller.
#include "platform/ado/Connection.h"

class TransactionScope {
  public:
    TransactionScope();
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    // Begins, or joins the transaction a caller began on this connection.
    void begin();
    // The owner commits (throwing when the transaction was lost or doomed);
    // a joined scope only marks its part done.
    void commit();
    // The owner undoes its transaction; a joined scope dooms the outer one.
    // Never throws. The destructor does this unless commit() ran.
    void rollback() noexcept;
    bool committed() const { return committed_; }
    // True when this scope began the transaction (and so ends it).
    bool owns() const { return began_; }

  private:
    bool committed_ = false;
    bool began_ = false;
    bool joined_ = false;
    bool ended_ = false;
};
