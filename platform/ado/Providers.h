#pragma once
// Chooses the provider by the connection string's data source: a local folder
// is an embedded server, any other name a SQL Server.
#include "platform/ado/ConnectionString.h"
#include "platform/ado/Session.h"
#include <atomic>
#include <memory>

namespace ado {

std::unique_ptr<Session> openSession(const ConnectionString& connection, int timeoutSeconds,
                                     const std::atomic_bool* cancelled = nullptr);

} // namespace ado
