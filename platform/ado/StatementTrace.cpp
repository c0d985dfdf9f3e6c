#include "platform/ado/StatementTrace.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <cstdio>

namespace ado {

namespace {

// The trace is process-wide, like a profiler attached to the process;
// asynchronous opens record from their worker threads.
QMutex& traceMutex()
{
    static QMutex mutex;
    return mutex;
}

StatementTrace::Hook& hook()
{
    static StatementTrace::Hook h;
    return h;
}

QString traceLine(const TraceEntry& entry)
{
    QString line = QStringLiteral("%1\t%2\t%3 µs\t")
                       .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs), entry.server)
                       .arg(entry.microseconds);
    QString statement = entry.statement;
    line += statement.replace(u'\n', u' ');
    if (entry.failed)
        line += QStringLiteral("\tERRO: ") + entry.error;
    return line + u'\n';
}

void writeToEnvironmentFile(const TraceEntry& entry)
{
    const QString target = qEnvironmentVariable("QUARVENSES_SQL_TRACE");
    if (target.isEmpty())
        return;
    const QByteArray bytes = traceLine(entry).toUtf8();
    if (target == QStringLiteral("-")) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        return;
    }
    QFile file(target);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(bytes);
}

} // namespace

StatementTrace::Hook StatementTrace::setHook(Hook newHook)
{
    QMutexLocker lock(&traceMutex());
    Hook previous = std::move(hook());
    hook() = std::move(newHook);
    return previous;
}

void StatementTrace::record(const TraceEntry& entry)
{
    QMutexLocker lock(&traceMutex());
    writeToEnvironmentFile(entry);
    if (hook())
        hook()(entry);
}

} // namespace ado
