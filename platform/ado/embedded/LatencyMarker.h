#pragma once
// A marker file in the server's folder holding milliseconds as text. It is
// looked at through the folder's descriptor with one fstatat and read again
// only when it changed (another file, size or modification time), so that a
// session can consult it before every statement.
#include <ctime>
#include <sys/types.h>

namespace ado::embedded {

class LatencyMarker {
  public:
    explicit LatencyMarker(const char* name) : name_(name) {}
    // The marker's milliseconds; 0 when it is missing or holds no number.
    int milliseconds(int folderDescriptor);

  private:
    int read(int folderDescriptor) const;

    const char* name_;
    bool present_ = false;
    ino_t inode_ = 0;
    off_t size_ = 0;
    timespec modified_{};
    int value_ = 0;
};

} // namespace ado::embedded
