#include "platform/folders/InstalledFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace platform {

namespace {

const QString dataName = QStringLiteral("share/quarvenses");

} // namespace

QString libraryFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

QStringList dataFolders()
{
    QStringList folders;
    const QString libraries = libraryFolder();
    if (!libraries.isEmpty()) {
        // Installed: the data folder as the build configured it relative to the libraries.
        folders << QDir::cleanPath(libraries + u'/' + QStringLiteral(QV_DATA_FROM_LIBDIR));
        folders << QDir::cleanPath(libraries + QStringLiteral("/../") + dataName); // build/lib → build/share
    }
    if (QCoreApplication::instance())
        folders << QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") +
                                   dataName);
    folders.removeDuplicates();
    return folders;
}

QString findDataFile(const QString& relativePath)
{
    for (const QString& folder : dataFolders())
        if (QFileInfo::exists(folder + u'/' + relativePath))
            return folder + u'/' + relativePath;
    return {};
}

QString installedComponentsFolder()
{
    const QString libraries = libraryFolder();
    return libraries.isEmpty() ? QString() : libraries + QStringLiteral("/quarvenses/components");
}

} // namespace platform
