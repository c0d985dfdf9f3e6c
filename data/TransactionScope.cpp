#include "data/TransactionScope.h"

#include "connection/ConnectionState.h"
#include "platform/ado/AdoError.h"

TransactionScope::TransactionScope() = default;

TransactionScope::~TransactionScope()
{
    if (!committed_)
        rollback();
}

// Decided by the connection's own count of what it began, never by the
// server's @@TRANCOUNT: a driver's implicit transactions make that count
// say "open" where nothing of ours is, and a unit that joined it would
// never commit.
void TransactionScope::begin()
{
    ado::Connection& shared = Data().SqlServer;
    if (shared.TransactionLost())
        throw ado::error::transactionLost();
    if (began_ || joined_)
        return;
    if (shared.TransactionLevel() > 0) {
        joined_ = true;
        return;
    }
    shared.BeginTrans();
    began_ = true;
}

void TransactionScope::commit()
{
    ado::Connection& shared = Data().SqlServer;
    // A session that went away took the transaction with it: the writes that
    // followed on a new session, if any, belong to no transaction.
    if (shared.TransactionLost() || ((began_ || joined_) && shared.State() != ado::adStateOpen))
        throw ado::error::transactionLost();
    if (began_) {
        if (shared.TransactionDoomed())
            throw ado::error::transactionDoomed();
        shared.CommitTrans();
    }
    committed_ = true;
    ended_ = true;
}

void TransactionScope::rollback() noexcept
{
    if (ended_)
        return;
    ended_ = true;
    try {
        ado::Connection& shared = Data().SqlServer;
        if (shared.isNothing())
            return;
        if (joined_) {
            shared.markTransactionDoomed();
            return;
        }
        if (!began_)
            return;
        if (shared.TransactionLost() || (shared.State() == ado::adStateOpen && shared.TransactionLevel() > 0))
            shared.RollbackTrans();
    } catch (const vb::Error&) {
        // the connection closed the session: nothing of it is left on the server
    }
}
