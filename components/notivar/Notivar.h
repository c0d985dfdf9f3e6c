#pragma once
// The error reporter: each report becomes one line of the error log and a
// critical message box; the reconnection progress is a small status window.
// Nothing here throws. QUARVENSES_REPORTER_QUIET=1 keeps the boxes away
// (the log is still written).
#include "platform/objects/NotivarGeneral.h"

namespace notivar {

class Notivar : public contracts::NotivarGeneral {
  public:
    void Report(const QString& title, const QString& title2, const QString& module, const QString& procedure,
                const QString& message) override;
    void SQLReconnectShow(QWidget* form) override;
    void SQLReconnectShutdown(QWidget* form = nullptr) override;
    void SQLReconnectShowOK(QWidget* form) override;
    void SQLReconnectShowBad(QWidget* form) override;

    // The box's text for a report.
    static QString boxText(const QString& title2, const QString& module, const QString& procedure,
                           const QString& message);
    static bool quiet();
};

// How long the outcome of a reconnection stays on screen.
inline constexpr int OutcomeShownMs = 3000;

} // namespace notivar
