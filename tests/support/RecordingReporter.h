#pragma once
// Stands in for the family's reporter for the life of the object and keeps
// every report: {title, title2, module, procedure, message}.
#include "platform/objects/ComponentRegistry.h"
#include <QStringList>
#include <memory>
#include <vector>

namespace testsupport {

class RecordingReporter {
  public:
    RecordingReporter();
    ~RecordingReporter();
    RecordingReporter(const RecordingReporter&) = delete;
    RecordingReporter& operator=(const RecordingReporter&) = delete;

    const std::vector<QStringList>& reports() const { return log_->reports; }
    // The reconnection display's calls in order: "Show", "Shutdown", "OK", "Bad".
    const QStringList& progress() const { return log_->progress; }
    void clear()
    {
        log_->reports.clear();
        log_->progress.clear();
    }

    struct Log {
        std::vector<QStringList> reports;
        QStringList progress;
    };

  private:
    std::shared_ptr<Log> log_;
    std::unique_ptr<platform::ScopedComponent> registration_;
};

} // namespace testsupport
