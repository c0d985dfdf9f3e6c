#include "platform/folders/ErrorLog.h"
#include "platform/folders/PrivateFiles.h"
#include "platform/folders/SpecialFolders.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

QString userName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    if (user.isEmpty())
        user = QString::number(::getuid());
    return user;
}

} // namespace

QString ErrorLog::folder()
{
    const QString env = qEnvironmentVariable("QUARVENSES_LOG_DIR");
    if (!env.isEmpty())
        return env;
    return userStateFolder() + QStringLiteral("/quarvenses");
}

QString ErrorLog::filePath()
{
    return folder() + QStringLiteral("/errors.log");
}

QString ErrorLog::escaped(const QString& field)
{
    QString out;
    out.reserve(field.size());
    for (QChar c : field) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString ErrorLog::line(const ErrorLogEntry& e)
{
    const QStringList fields{
        QDateTime::currentDateTime()
            .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
            .toString(Qt::ISODateWithMs),
        QString::number(QCoreApplication::applicationPid()),
        escaped(userName()),
        escaped(e.title),
        escaped(e.title2),
        escaped(e.module),
        escaped(e.procedure),
        escaped(e.message),
    };
    return fields.join(QLatin1Char('\t'));
}

bool ErrorLog::append(const ErrorLogEntry& entry) noexcept
{
    try {
        const QString dir = folder();
        if (!makePrivateFolder(dir))
            return false;
        const QByteArray bytes = (line(entry) + QLatin1Char('\n')).toUtf8();
        // One write on a file opened for appending: lines of processes that
        // report at once do not interleave.
        const int fd = ::open(QFile::encodeName(filePath()).constData(),
                              O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
        ::close(fd);
        return n == bytes.size();
    } catch (...) {
        return false;
    }
}

} // namespace platform
