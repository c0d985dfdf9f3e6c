#pragma once
// Connecting the component: the user's own credentials are proved on the
// server, the primary and the secondary server are raced, and the shared
// connection SqlServer is opened. Failures end in false; those that are not
// an unreachable server or refused credentials are reported.
#include "platform/ado/Connection.h"

#include <QString>
#include <functional>

namespace DatabaseConnection {

// Who won the race of the two probe connections, from their states at one
// poll: 1 the primary (also when both are open: the primary wins a tie), 2
// the secondary, 0 neither.
int raceWinner(int primaryState, int secondaryState);

bool SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                const QString& cnDataSourceSecondary, qint32 Flags);
// A connection of the caller's own, by the same rules as SQLConnect (the
// same strings, the user's own credentials proved, primary and secondary
// raced, the primary winning a tie), opened in `out` on the server that won.
// The process-wide state and the shared connection are left alone: outside
// components of the family use it for their own connection. False, with
// `out` closed, when no server answered or the user was refused; other
// failures are also reported, as SQLConnect reports them.
bool OpenOwn(const QString& User, const QString& Password, const QString& cnUser, const QString& cnPassword,
             const QString& cnInitialCatalog, const QString& cnDataSource,
             const QString& cnDataSourceSecondary, ado::Connection& out);
// `preloadCard` loads the record card without showing it, once connected.
bool Login(const QString& User, const QString& Password, const std::function<void()>& preloadCard);

} // namespace DatabaseConnection
