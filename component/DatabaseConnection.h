#pragma once
// Connecting the component: the user's own credentials are proved on the
// server, the primary and the secondary server are raced, and the shared
// connection SqlServer is opened. Failures end in false; those that are not
// an unreachable server or refused credentials are reported.
#include <QString>
#include <functional>

namespace DatabaseConnection {

bool SQLConnect(const QString& User, const QString& Password, const QString& cnUser,
                const QString& cnPassword, const QString& cnInitialCatalog, const QString& cnDataSource,
                const QString& cnDataSourceSecondary, qint32 Flags);
// `preloadCard` loads the record card without showing it, once connected.
bool Login(const QString& User, const QString& Password, const std::function<void()>& preloadCard);

} // namespace DatabaseConnection
