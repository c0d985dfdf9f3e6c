#include "platform/folders/SpecialFolders.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {

namespace {

QString withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString fromEnvironment(const char* name, const QString& otherwise)
{
    const QString value = qEnvironmentVariable(name).trimmed();
    return withoutTrailingSeparator(value.isEmpty() ? otherwise : value);
}

QString desktopFolder()
{
    QString xdg = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (xdg.isEmpty())
        xdg = QDir::homePath();
    return fromEnvironment("QUARVENSES_DESKTOP", xdg);
}

} // namespace

QString specialFolder(int number)
{
    switch (number) {
    case folder::CommonAppData:
        // Shared by all users of the machine, as ProgramData is on Windows.
        return fromEnvironment("QUARVENSES_COMMON_APPDATA", QStringLiteral("/var/lib/quarvenses"));
    case folder::Desktop:
    case folder::DesktopDirectory:
        return desktopFolder();
    default:
        return {};
    }
}

QString tempFolder()
{
    return fromEnvironment("QUARVENSES_TEMP", QDir::tempPath());
}

QString userStateFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
    return withoutTrailingSeparator(xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state") : xdg);
}

bool isFolderWritable(const QString& folder)
{
    if (folder.isEmpty() || !QDir(folder).exists())
        return false;
    // A name of our own, so that two processes testing at once do not meet.
    QTemporaryFile probe(folder + QStringLiteral("/.quarvenses-write-test-XXXXXX"));
    if (!probe.open())
        return false;
    const bool written = probe.write("TESTE\n") == 6 && probe.flush();
    probe.close();
    return written && probe.remove();
}

} // namespace platform
