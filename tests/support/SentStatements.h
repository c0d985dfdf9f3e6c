#pragma once
// The statements a piece of work sends to the server, in order (the
// transaction-level probes the connection makes on its own left out).
#include "platform/ado/StatementTrace.h"
#include <QStringList>
#include <functional>

namespace testsupport {

inline QStringList sentStatements(const std::function<void()>& work)
{
    QStringList sent;
    ado::ScopedTrace trace([&](const ado::TraceEntry& e) {
        if (e.kind == ado::TraceEntry::Kind::Statement &&
            !e.statement.startsWith(QStringLiteral("SELECT @@TRANCOUNT")))
            sent.append(e.statement);
    });
    work();
    return sent;
}

} // namespace testsupport
