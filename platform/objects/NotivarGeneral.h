#pragma once
// The family's error reporter, programmatic identifier "Notivar.General":
// shows and logs a failure, and shows the progress of a reconnection to the
// database server (Show, Shutdown, then OK or Bad). Callers create it for one
// call and drop it; it never throws and nothing depends on its answers.
#include "platform/values/Variant.h"
#include <QString>

class QWidget;

namespace contracts {

class NotivarGeneral : public vb::Object {
  public:
    static constexpr const char* ProgId = "Notivar.General";

    virtual void Report(const QString& title, const QString& title2, const QString& module,
                        const QString& procedure, const QString& message) = 0;
    // `form`: the window on whose behalf the connection is re-opened, or nothing.
    virtual void SQLReconnectShow(QWidget* form) = 0;
    virtual void SQLReconnectShutdown(QWidget* form = nullptr) = 0;
    virtual void SQLReconnectShowOK(QWidget* form) = 0;
    virtual void SQLReconnectShowBad(QWidget* form) = 0;
};

} // namespace contracts
