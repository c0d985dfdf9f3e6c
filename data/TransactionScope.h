#pragma once
// One unit of writing on the shared connection. It begins a transaction only
// when none is open, commits when asked, and rolls back whatever is open on
// every other way out, exceptions included. A lost transaction is a failure:
// commit() throws when the session under it went away, even when nothing
// else noticed. A rollback the server refuses closes the session (the
// connection does that), so no lock outlives the scope.
//
//   TransactionScope unit;
//   unit.begin();
//   ... writes ...
//   unit.commit(); // a failure before this line leaves nothing written
#include "platform/ado/Connection.h"

class TransactionScope {
  public:
    TransactionScope();
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

    // Begins unless a transaction is open already (IsInTransaction).
    void begin();
    // Commits whatever transaction is open; throws when it was lost.
    void commit();
    // Undoes whatever is open now (also a transaction an outer caller
    // began); never throws. The destructor does this unless commit() ran.
    void rollback() noexcept;
    bool committed() const { return committed_; }

  private:
    bool committed_ = false;
    bool began_ = false;
};
