#pragma once
// What the component asks of the desktop: message boxes with VB's styles and
// answers, mouse pointer and window state of a window, the save-file dialog,
// the shell verbs "open" and "print", printing a PDF through the print
// dialog, mail with an attachment, a small status
// window that is not modal, and wave sound. One process-wide instance is
// current: the Qt one unless another was installed (tests install
// ScriptedWindowServices).
//
//   int answer = platform::WindowServices::current().messageBox(text, 4 + 32, caption);
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace platform {

namespace pointer {
inline constexpr int Default = 0;
inline constexpr int Arrow = 1;
inline constexpr int Hourglass = 11;
} // namespace pointer

namespace windowstate {
inline constexpr int Normal = 0;
inline constexpr int Minimized = 1;
inline constexpr int Maximized = 2;
} // namespace windowstate

struct FileFilter {
    QString description;
    QString pattern; // Windows' form: "*.doc", "*.doc;*.rtf"
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

struct SaveFileRequest {
    QString title;
    QString initialFolder;
    std::vector<FileFilter> filters;
    int filterIndex = 0; // 1-based as Windows counts; 0 means the first
    QString proposedName;
    QString defaultExtension;
    bool hideReadOnly = false;
    // The dialog asks before a chosen file that exists is replaced; a caller
    // that asks itself (it may write under another name) turns this off.
    bool confirmOverwrite = true;
};

struct OpenFileRequest {
    QString title;
    QString initialFolder;
    std::vector<FileFilter> filters;
    bool multiple = false; // several files may be chosen
};

// How a print job went: the desktop's print dialog chooses the printer, the
// copies and the pages, and the job goes to the print system.
enum class PrintOutcome { Queued, Cancelled, NoPrinter, Failed };

struct MailMessage {
    QStringList attachments;
    QString subject;
    QString body;      // the system's line breaks are accepted
    QString recipient; // may be empty: the user chooses in the mail client
};

class WindowServices {
  public:
    virtual ~WindowServices() = default;

    static WindowServices& current();
    // Makes `services` current and gives back the one it replaces;
    // installing nothing goes back to the Qt services.
    static std::shared_ptr<WindowServices> install(std::shared_ptr<WindowServices> services);

    // VB's MsgBox: style bits in, answer (1 OK, 2 Cancel, 6 Yes, 7 No, …) out.
    virtual int messageBox(const QString& text, int style, const QString& title) = 0;

    // `window` nothing: the pointer of the whole application (VB's Screen).
    virtual void setMousePointer(QWidget* window, int pointer) = 0;
    virtual int mousePointer(QWidget* window) = 0;
    virtual void setWindowState(QWidget* window, int state) = 0;
    virtual int windowState(QWidget* window) = 0;
    virtual void repaint(QWidget* window) = 0;

    // The chosen path, or empty when the user cancelled.
    virtual QString saveFileName(const SaveFileRequest& request) = 0;
    // The chosen files (one unless `multiple`), or none when cancelled.
    virtual QStringList openFileNames(const OpenFileRequest& request) = 0;

    // "open" or "print" on a file, detached; false when it could not start
    // (an unknown verb, no program for it). The program's own answer is not
    // waited for.
    virtual bool shellExecute(QWidget* owner, const QString& verb, const QString& file,
                              const QString& workingFolder) = 0;

    // shellExecute "open", and the user told in Portuguese when no program
    // opens that kind of file. True when it was handed to one.
    bool openDocument(QWidget* owner, const QString& file, const QString& title);

    // The desktop's print dialog for a PDF file, then the job to the print
    // system; `failure` says why it Failed. Nothing is said to the user
    // (printDocument does).
    virtual PrintOutcome printPdf(QWidget* owner, const QString& title, const QString& pdf,
                                  QString& failure) = 0;
    // printPdf, and the user told in Portuguese when there is no printer or
    // the job failed. True when the job was queued.
    bool printDocument(QWidget* owner, const QString& title, const QString& pdf);

    // Hands the message to the user's mail client, where the user completes
    // and sends it. Without a mail client the user is told so in a box, and
    // the answer is false.
    bool sendMail(const MailMessage& message);
    virtual bool hasMailClient() = 0;

    // A small window that is not modal, telling what is going on; it closes
    // by itself after `autoCloseMs` (0: stays until closeStatus). A new one
    // replaces the one shown.
    virtual void showStatus(QWidget* owner, const QString& text, int autoCloseMs) = 0;
    virtual void closeStatus() = 0;

    virtual int waveOutDeviceCount() = 0;
    // Plays the file to its end; returns at once, false, when the device is
    // busy. Throws vb::Error for a file it cannot play.
    virtual bool playWave(const QString& path) = 0;

  protected:
    virtual bool launchMail(const MailMessage& message) = 0;
};

// The text shown when no mail client is set up.
QString noMailClientMessage();

} // namespace platform
