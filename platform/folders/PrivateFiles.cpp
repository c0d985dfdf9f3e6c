#include "platform/folders/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr mode_t privateFolderMode = 0700;

} // namespace

bool makePrivateFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute && !makePrivateFolder(parent))
        return false;
    if (::mkdir(QFile::encodeName(absolute).constData(), privateFolderMode) == 0 || errno == EEXIST)
        return QFileInfo(absolute).isDir();
    return false;
}

bool makePrivateFile(const QString& path, int mode)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EEXIST;
}

} // namespace platform
