#pragma once
// Window services for the command-line tools: a message box becomes a line on
// standard error and takes its default answer; there are no windows to point,
// no dialogs and no sound.
#include "platform/windows/WindowServices.h"

class ConsoleWindowServices : public platform::WindowServices {
  public:
    // Installs an instance as the process's window services.
    static void install();

    int messageBox(const QString& text, int style, const QString& title) override;
    void setMousePointer(QWidget*, int) override {}
    int mousePointer(QWidget*) override { return platform::pointer::Default; }
    void setWindowState(QWidget*, int) override {}
    int windowState(QWidget*) override { return platform::windowstate::Normal; }
    void repaint(QWidget*) override {}
    QString saveFileName(const platform::SaveFileRequest&) override { return QString(); }
    QStringList openFileNames(const platform::OpenFileRequest&) override { return {}; }
    bool shellExecute(QWidget*, const QString&, const QString&, const QString&) override { return false; }
    bool hasMailClient() override { return false; }
    platform::PrintOutcome printPdf(QWidget*, const QString&, const QString&, QString& failure) override
    {
        failure = QStringLiteral("um programa de consola não imprime");
        return platform::PrintOutcome::Failed;
    }
    void showStatus(QWidget*, const QString& text, int) override;
    void closeStatus() override {}
    int waveOutDeviceCount() override { return 0; }
    bool playWave(const QString&) override { return false; }

  protected:
    bool launchMail(const platform::MailMessage&) override { return false; }
};
