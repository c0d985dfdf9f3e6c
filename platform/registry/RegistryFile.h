#pragma once
// The registry kept in one .reg file. Reads come from a copy in memory that is
// refreshed whenever the file changed on disk; every write takes a lock that
// all processes share, re-reads the file under it (so nothing another process
// wrote in between is lost), and replaces the file atomically (temporary file
// and rename). A damaged file is refused with the line named, and never
// written over.
#include "platform/registry/RegDocument.h"
#include <QMutex>
#include <QString>
#include <functional>
#include <sys/types.h>

namespace platform {

class RegistryFile {
  public:
    explicit RegistryFile(QString path);

    const QString& path() const { return path_; }
    // The contents now; a file that does not exist yet is empty.
    RegDocument read();
    // Runs `change` on the freshest contents under the lock and writes the
    // result when it differs. Throws vb::Error when the file is damaged or
    // cannot be written; the file is then as it was.
    void update(const std::function<void(RegDocument&)>& change);

  private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long mtimeNs = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    bool stampNow(Stamp& stamp) const;
    RegDocument load(); // under mutex_
    void store(const RegDocument& doc);

    QString path_;
    QMutex mutex_;
    Stamp cachedStamp_;
    bool cached_ = false;
    RegDocument cache_;
};

} // namespace platform
