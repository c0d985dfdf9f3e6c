#include "data/TransactionScope.h"

#include "component/ConnectionState.h"
#include "data/modCode.h"
#include "platform/ado/AdoError.h"

TransactionScope::TransactionScope() = default;

TransactionScope::~TransactionScope()
{
    if (!committed_)
        rollback();
}

void TransactionScope::begin()
{
    ado::Connection& shared = Data().SqlServer;
    if (shared.TransactionLost())
        throw ado::error::transactionLost();
    if (!modCode::IsInTransaction()) {
        shared.BeginTrans();
        began_ = true;
    }
}

void TransactionScope::commit()
{
    ado::Connection& shared = Data().SqlServer;
    // A session that went away took the transaction with it: the writes that
    // followed on a new session, if any, belong to no transaction.
    if (shared.TransactionLost() || (began_ && shared.State() != ado::adStateOpen))
        throw ado::error::transactionLost();
    if (modCode::IsInTransaction())
        shared.CommitTrans();
    committed_ = true;
}

void TransactionScope::rollback() noexcept
{
    try {
        ado::Connection& shared = Data().SqlServer;
        if (shared.isNothing())
            return;
        if (shared.TransactionLost() || (shared.State() == ado::adStateOpen && shared.TransactionLevel() > 0))
            shared.RollbackTrans();
    } catch (const vb::Error&) {
        // the connection closed the session: nothing of it is left on the server
    }
}
