#pragma once
// The window services on the desktop: Qt message boxes and file dialog, the
// desktop's programs for the shell verbs and mail, ALSA for sound.
#include "platform/windows/WindowServices.h"
#include <QPointer>
#include <QWidget>
#include <memory>

class QFileDialog;
class QMessageBox;

namespace platform {

class QtWindowServices : public WindowServices {
  public:
    QtWindowServices();
    ~QtWindowServices() override;

    int messageBox(const QString& text, int style, const QString& title) override;
    void setMousePointer(QWidget* window, int pointer) override;
    int mousePointer(QWidget* window) override;
    void setWindowState(QWidget* window, int state) override;
    int windowState(QWidget* window) override;
    void repaint(QWidget* window) override;
    QString saveFileName(const SaveFileRequest& request) override;
    QStringList openFileNames(const OpenFileRequest& request) override;
    bool shellExecute(QWidget* owner, const QString& verb, const QString& file,
                      const QString& workingFolder) override;
    bool hasMailClient() override;
    static bool hasProgramFor(const QString& file);
    PrintOutcome printPdf(QWidget* owner, const QString& title, const QString& pdf,
                          QString& failure) override;
    void showStatus(QWidget* owner, const QString& text, int autoCloseMs) override;
    void closeStatus() override;
    int waveOutDeviceCount() override;
    bool playWave(const QString& path) override;

    // The dialogs as they are shown, for tests that look at them unshown.
    static std::unique_ptr<QMessageBox> buildMessageBox(const QString& text, int style, const QString& title);
    static std::unique_ptr<QFileDialog> buildSaveDialog(const SaveFileRequest& request);
    // The status window, while one is shown.
    QWidget* statusWindow() const { return status_; }

  protected:
    bool launchMail(const MailMessage& message) override;

  private:
    QPointer<QWidget> status_;
};

// Qt's name filter for a Windows filter pair: "Documentos (*.doc *.rtf)".
QString qtNameFilter(const FileFilter& filter);

} // namespace platform
