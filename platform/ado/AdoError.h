#pragma once
// The errors the data-access layer raises: ADO's own numbers where the
// component tests them, the provider's number and text otherwise.
#include "platform/values/VbError.h"

namespace ado::error {

inline constexpr int ProviderError = -2147217900;     // 0x80040E14: the statement failed on the server
inline constexpr int LoginFailed = -2147217843;       // 0x80040E4D
inline constexpr int ServerUnreachable = -2147467259; // 0x80004005
inline constexpr int Timeout = -2147217871;           // 0x80040E31
inline constexpr int TransactionState = -2147168242;  // 0x8004D00E: no transaction to commit
inline constexpr int TransactionLost = -2147168227;   // 0x8004D01D: the session under the transaction is gone

vb::Error closed();                          // 3709
vb::Error alreadyOpen();                     // 3705
vb::Error noCurrentRecord();                 // 3021
vb::Error itemNotFound(const QString& name); // 3265
vb::Error notAllowed(const QString& what);   // 3219
vb::Error unreachable(const QString& server);
vb::Error loginFailed(const QString& login);
// The server is there but holds no such database (SQL Server's Msg 4060).
inline constexpr int CatalogRefusedNative = 4060;
vb::Error catalogRefused(const QString& catalog);
vb::Error timeout();
vb::Error provider(const QString& text);
vb::Error noTransaction();
// The session that held the open transaction was lost (reconnected, server
// gone): nothing of it was kept, and nothing more runs until it is rolled back.
vb::Error transactionLost();
// A step inside the open transaction failed: it can only be rolled back.
vb::Error transactionDoomed();

} // namespace ado::error
