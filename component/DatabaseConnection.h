#pragma once
// Connecting the component: the user's own credentials are proved on the
// server, the primary and the secondary server are raced, and the shared
// connection SqlServer is opened. Failures end in false; those that are not
// an unreachable server or refused credentials are reported.
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
// `preloadCard` loads the record card without showing it, once connected.
bool Login(const QString& User, const QString& Password, const std::function<void()>& preloadCard);

} // namespace DatabaseConnection
