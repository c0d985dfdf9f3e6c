#pragma once
// Starting the host: first-run set-up, signing in through General, the main
// window, and the unattended screenshot.
#include "host/HostOptions.h"
#include <QString>
#include <memory>

class General;
class HostWindow;

class HostSession {
  public:
    explicit HostSession(HostOptions options);
    ~HostSession();

    // Prepares the server and settings; false (with the reason) when it cannot.
    bool prepare(QString& problem);
    // Signs in; false with the reason shown to the user.
    bool signIn(const QString& user, const QString& password, QString& problem);
    // The main window, listed.
    HostWindow& showMain();
    General& component() { return *component_; }
    const HostOptions& options() const { return options_; }
    QString serverFolder() const;

  private:
    HostOptions options_;
    std::unique_ptr<General> component_;
    std::unique_ptr<HostWindow> window_;
};
