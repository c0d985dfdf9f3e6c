#include "tests/support/RecordingReporter.h"

#include "platform/objects/NotivarGeneral.h"

namespace testsupport {

namespace {

class Recorder : public contracts::NotivarGeneral {
  public:
    explicit Recorder(std::shared_ptr<RecordingReporter::Log> log) : log_(std::move(log)) {}
    void Report(const QString& t, const QString& t2, const QString& m, const QString& p,
                const QString& msg) override
    {
        log_->reports.push_back({t, t2, m, p, msg});
    }
    void SQLReconnectShow(QWidget*) override { log_->progress.append(QStringLiteral("Show")); }
    void SQLReconnectShutdown(QWidget*) override { log_->progress.append(QStringLiteral("Shutdown")); }
    void SQLReconnectShowOK(QWidget*) override { log_->progress.append(QStringLiteral("OK")); }
    void SQLReconnectShowBad(QWidget*) override { log_->progress.append(QStringLiteral("Bad")); }

  private:
    std::shared_ptr<RecordingReporter::Log> log_;
};

} // namespace

RecordingReporter::RecordingReporter() : log_(std::make_shared<Log>())
{
    auto log = log_;
    registration_ = std::make_unique<platform::ScopedComponent>(
        QStringLiteral("Notivar.General"), [log] { return std::make_shared<Recorder>(log); });
}

RecordingReporter::~RecordingReporter() = default;

} // namespace testsupport
