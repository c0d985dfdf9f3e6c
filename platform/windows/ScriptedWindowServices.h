#pragma once
// Window services for tests: every call is recorded, message boxes and save
// dialogs answer from queues, shell verbs, mail and sound do nothing but are
// recorded (a wave file is still read, and fails as it would). A box or dialog nobody queued an answer for
// calls `onUnexpected` (the test support makes that a test failure) and answers as Escape would (Cancel, or
// OK for an OK-only box, or the last button). Pointer and window state are applied to the widgets as the Qt
// services apply them.
//
//   auto scripted = std::make_shared<platform::ScriptedWindowServices>();
//   auto previous = platform::WindowServices::install(scripted);
//   scripted->queueAnswer(platform::msgbox::AnswerYes);
//   ... code under test ...
//   EXPECT_EQ(scripted->messageBoxes().at(0).title, "Sistema de Segurança");
#include "platform/windows/WindowServices.h"
#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace platform {

class ScriptedWindowServices : public WindowServices {
  public:
    struct MessageBoxCall {
        QString text; // exactly as asked
        int style = 0;
        QString title; // exactly as asked (empty when left empty)
        int answer = 0;
    };
    struct ShellCall {
        QPointer<QWidget> owner;
        QString verb, file, workingFolder;
    };
    struct PrintCall {
        QPointer<QWidget> owner;
        QString title, pdf;
    };
    struct StatusCall {
        QPointer<QWidget> owner;
        QString text;
        int autoCloseMs = 0;
    };
    // Everything, in the order it happened: "messageBox", "mousePointer",
    // "windowState", "repaint", "saveFileName", "shell", "print", "mail", "status",
    // "closeStatus", "waveOutDeviceCount", "playWave".
    struct Event {
        QString kind;
        QPointer<QWidget> window;
        int value = 0;
        QString text;
    };

    std::function<void(const QString& what)> onUnexpected;
    bool mailClientConfigured = true;
    // Whether "open" and "print" find a program, as on a desktop that has one.
    bool programsInstalled = true;
    int waveDevices = 1;
    bool waveDeviceBusy = false;

    void queueAnswer(int answer) { answers_.push_back(answer); }
    void queueAnswers(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
    // An empty path answers as a cancelled dialog.
    void queueSaveFileName(const QString& path) { savePaths_.push_back(path); }
    // How the next print dialog ends (Failed with `failure`); unqueued, it is cancelled.
    void queuePrint(PrintOutcome outcome, const QString& failure = {})
    {
        prints_.push_back({outcome, failure});
    }
    const std::vector<PrintCall>& printCalls() const { return printCalls_; }
    // An empty list answers as a cancelled dialog.
    void queueOpenFileNames(const QStringList& paths) { openPaths_.push_back(paths); }
    const std::vector<OpenFileRequest>& openDialogs() const { return openDialogs_; }
    int unusedAnswers() const { return int(answers_.size()); }
    int unusedSaveFileNames() const { return int(savePaths_.size() + openPaths_.size() + prints_.size()); }

    const std::vector<MessageBoxCall>& messageBoxes() const { return boxes_; }
    const std::vector<SaveFileRequest>& saveDialogs() const { return saveDialogs_; }
    const std::vector<ShellCall>& shellCalls() const { return shellCalls_; }
    const std::vector<MailMessage>& mails() const { return mails_; }
    const std::vector<StatusCall>& statuses() const { return statuses_; }
    const QStringList& playedWaves() const { return played_; }
    const std::vector<Event>& events() const { return events_; }
    // The kinds of events, in order, optionally only those of `kinds`.
    QStringList eventKinds(const QStringList& kinds = {}) const;
    // Drops the answers still queued, keeping what was recorded.
    void discardQueued()
    {
        answers_.clear();
        savePaths_.clear();
        openPaths_.clear();
        prints_.clear();
    }
    // Forgets what was recorded and queued.
    void clear();

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
    PrintOutcome printPdf(QWidget* owner, const QString& title, const QString& pdf,
                          QString& failure) override;
    bool hasMailClient() override { return mailClientConfigured; }
    void showStatus(QWidget* owner, const QString& text, int autoCloseMs) override;
    void closeStatus() override;
    int waveOutDeviceCount() override;
    bool playWave(const QString& path) override;

  protected:
    bool launchMail(const MailMessage& message) override;

  private:
    void record(const QString& kind, QWidget* window = nullptr, int value = 0, const QString& text = {});
    void unexpected(const QString& what);

    std::deque<int> answers_;
    std::deque<QString> savePaths_;
    std::deque<QStringList> openPaths_;
    std::deque<std::pair<PrintOutcome, QString>> prints_;
    std::vector<PrintCall> printCalls_;
    std::vector<OpenFileRequest> openDialogs_;
    std::vector<MessageBoxCall> boxes_;
    std::vector<SaveFileRequest> saveDialogs_;
    std::vector<ShellCall> shellCalls_;
    std::vector<MailMessage> mails_;
    std::vector<StatusCall> statuses_;
    QStringList played_;
    std::vector<Event> events_;
};

} // namespace platform
