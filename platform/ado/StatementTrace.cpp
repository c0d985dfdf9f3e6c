#include "platform/ado/StatementTrace.h"

#include <dlfcn.h>

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
    // One line, with tabs only between the columns.
    line += statement.replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
    if (entry.failed)
        line += QStringLiteral("\tERRO: ") + entry.error;
    if (!entry.origin.isEmpty())
        line += QStringLiteral("\tORIGEM: ") + entry.origin;
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
    // One write a line: the test programs running side by side share the file.
    QFile file(target);
    if (file.open(QIODevice::Append | QIODevice::Text | QIODevice::Unbuffered))
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

void StatementTrace::record(const TraceEntry& given)
{
    TraceEntry entry = given;
    if (entry.origin.isEmpty())
        entry.origin = TraceOrigin::current();
    QMutexLocker lock(&traceMutex());
    writeToEnvironmentFile(entry);
    if (hook())
        hook()(entry);
}

namespace {
thread_local const void* markedCaller = nullptr;
thread_local QString markedScript;
} // namespace

TraceOrigin::TraceOrigin(const void* caller) : outermost_(markedCaller == nullptr && markedScript.isEmpty())
{
    if (outermost_)
        markedCaller = caller;
}

TraceOrigin::TraceOrigin(const QString& scriptName)
    : outermost_(markedCaller == nullptr && markedScript.isEmpty()), named_(true)
{
    if (outermost_)
        markedScript = scriptName;
}

TraceOrigin::~TraceOrigin()
{
    if (outermost_ && named_)
        markedScript.clear();
    else if (outermost_)
        markedCaller = nullptr;
}

QString TraceOrigin::current()
{
    if (!markedScript.isEmpty())
        return markedScript;
    Dl_info info{};
    if (!markedCaller || dladdr(markedCaller, &info) == 0 || !info.dli_fname)
        return {};
    const QString path = QString::fromLocal8Bit(info.dli_fname);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace ado
