#include "platform/ado/embedded/LatencyMarker.h"

#include <QByteArray>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ado::embedded {

namespace {

constexpr int longestText = 32; // a number of milliseconds and some white space

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

int LatencyMarker::milliseconds(int folderDescriptor)
{
    struct stat marker {};
    if (folderDescriptor < 0 || ::fstatat(folderDescriptor, name_, &marker, 0) != 0) {
        present_ = false;
        value_ = 0;
        return 0;
    }
    if (present_ && marker.st_ino == inode_ && marker.st_size == size_ && sameTime(marker.st_mtim, modified_))
        return value_;
    present_ = true;
    inode_ = marker.st_ino;
    size_ = marker.st_size;
    modified_ = marker.st_mtim;
    value_ = read(folderDescriptor);
    return value_;
}

int LatencyMarker::read(int folderDescriptor) const
{
    const int fd = ::openat(folderDescriptor, name_, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[longestText] = {};
    ssize_t got = -1;
    do {
        got = ::read(fd, text, sizeof text - 1);
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    if (got <= 0)
        return 0;
    bool number = false;
    const int value = QByteArray(text, int(got)).trimmed().toInt(&number);
    return number && value > 0 ? value : 0;
}

} // namespace ado::embedded
