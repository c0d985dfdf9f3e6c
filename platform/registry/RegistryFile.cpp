#include "platform/registry/RegistryFile.h"
#include "platform/registry/RegFormat.h"
#include "platform/values/VbError.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int PathFileAccessError = 75; // VB's "Path/File access error"
constexpr int RegistryCorrupt = 1015;   // Windows' "The registry is corrupted"

vb::Error ioError(const QString& what, const QString& path, int err)
{
    return vb::Error(
        PathFileAccessError,
        QStringLiteral("%1 \"%2\": %3").arg(what, path, QString::fromLocal8Bit(std::strerror(err))),
        QStringLiteral("Registry"));
}

// The lock every process takes before rewriting the file; a separate file,
// because the registry file itself is replaced by each write.
class FileLock {
  public:
    explicit FileLock(const QString& path)
    {
        const QByteArray name = QFile::encodeName(path + QStringLiteral(".lock"));
        fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0)
            throw ioError(QStringLiteral("Não foi possível criar o ficheiro de bloqueio de"), path, errno);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                const int err = errno;
                ::close(fd_);
                throw ioError(QStringLiteral("Não foi possível bloquear"), path, err);
            }
        }
    }
    ~FileLock()
    {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_ = -1;
};

void writeAll(int fd, const QByteArray& bytes, const QString& path)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ioError(QStringLiteral("Não foi possível escrever"), path, errno);
        done += n;
    }
}

} // namespace

RegistryFile::RegistryFile(QString path) : path_(std::move(path)) {}

bool RegistryFile::stampNow(Stamp& stamp) const
{
    struct stat st {};
    if (::stat(QFile::encodeName(path_).constData(), &st) != 0)
        return false;
    stamp = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
    return true;
}

RegDocument RegistryFile::load()
{
    Stamp stamp;
    if (!stampNow(stamp)) {
        if (errno != ENOENT)
            throw ioError(QStringLiteral("Não foi possível ler"), path_, errno);
        cached_ = false;
        return {};
    }
    if (cached_ && stamp == cachedStamp_)
        return cache_;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(PathFileAccessError,
                        QStringLiteral("Não foi possível abrir \"%1\": %2").arg(path_, file.errorString()),
                        QStringLiteral("Registry"));
    const QByteArray bytes = file.readAll();
    try {
        cache_ = regformat::parse(regformat::decode(bytes));
    } catch (const RegSyntaxError& e) {
        cached_ = false;
        throw vb::Error(RegistryCorrupt,
                        QStringLiteral("O ficheiro de registo \"%1\" está danificado na linha %2: %3")
                            .arg(path_)
                            .arg(e.line())
                            .arg(e.reason()),
                        QStringLiteral("Registry"));
    }
    cachedStamp_ = stamp;
    cached_ = true;
    return cache_;
}

RegDocument RegistryFile::read()
{
    QMutexLocker guard(&mutex_);
    return load();
}

void RegistryFile::update(const std::function<void(RegDocument&)>& change)
{
    QMutexLocker guard(&mutex_);
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder))
        throw vb::Error(PathFileAccessError,
                        QStringLiteral("Não foi possível criar a pasta \"%1\"").arg(folder),
                        QStringLiteral("Registry"));
    FileLock lock(path_);
    const RegDocument before = load();
    RegDocument after = before;
    change(after);
    if (after == before && QFileInfo::exists(path_))
        return;
    store(after);
}

void RegistryFile::store(const RegDocument& doc)
{
    const QByteArray bytes = regformat::write(doc).toUtf8();
    const QString tmp = path_ + QStringLiteral(".%1.tmp").arg(::getpid());
    const QByteArray tmpName = QFile::encodeName(tmp);
    const int fd = ::open(tmpName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw ioError(QStringLiteral("Não foi possível criar"), tmp, errno);
    try {
        struct stat old {};
        if (::stat(QFile::encodeName(path_).constData(), &old) == 0)
            (void)::fchmod(fd, old.st_mode & 07777);
        writeAll(fd, bytes, tmp);
        if (::fsync(fd) != 0)
            throw ioError(QStringLiteral("Não foi possível gravar"), tmp, errno);
    } catch (...) {
        ::close(fd);
        ::unlink(tmpName.constData());
        throw;
    }
    ::close(fd);
    if (::rename(tmpName.constData(), QFile::encodeName(path_).constData()) != 0) {
        const int err = errno;
        ::unlink(tmpName.constData());
        throw ioError(QStringLiteral("Não foi possível substituir"), path_, err);
    }
    cache_ = doc;
    cached_ = stampNow(cachedStamp_);
}

} // namespace platform
