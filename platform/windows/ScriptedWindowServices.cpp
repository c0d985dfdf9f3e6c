#include "platform/windows/ScriptedWindowServices.h"
#include "platform/sound/WaveFile.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WidgetState.h"
#include <QDebug>

namespace platform {

void ScriptedWindowServices::record(const QString& kind, QWidget* window, int value, const QString& text)
{
    events_.push_back(Event{kind, window, value, text});
}

void ScriptedWindowServices::unexpected(const QString& what)
{
    if (onUnexpected)
        onUnexpected(what);
    else
        qWarning().noquote() << "scripted window services:" << what;
}

QStringList ScriptedWindowServices::eventKinds(const QStringList& kinds) const
{
    QStringList out;
    for (const Event& e : events_)
        if (kinds.isEmpty() || kinds.contains(e.kind))
            out << e.kind;
    return out;
}

void ScriptedWindowServices::clear()
{
    answers_.clear();
    savePaths_.clear();
    openPaths_.clear();
    prints_.clear();
    printCalls_.clear();
    boxes_.clear();
    saveDialogs_.clear();
    openDialogs_.clear();
    shellCalls_.clear();
    mails_.clear();
    statuses_.clear();
    played_.clear();
    events_.clear();
}

int ScriptedWindowServices::messageBox(const QString& text, int style, const QString& title)
{
    const MessageStyle s = decodeMessageStyle(style);
    int answer = 0;
    if (answers_.empty()) {
        unexpected(QStringLiteral("message box nobody expected (style %1, title \"%2\"): %3")
                       .arg(style)
                       .arg(title, text));
        answer = s.escapeAnswer ? s.escapeAnswer : s.answers.back();
    } else {
        answer = answers_.front();
        answers_.pop_front();
        if (std::find(s.answers.begin(), s.answers.end(), answer) == s.answers.end())
            unexpected(QStringLiteral("answer %1 is not a button of a box with style %2: %3")
                           .arg(answer)
                           .arg(style)
                           .arg(text));
    }
    boxes_.push_back(MessageBoxCall{text, style, title, answer});
    record(QStringLiteral("messageBox"), nullptr, style, text);
    return answer;
}

void ScriptedWindowServices::setMousePointer(QWidget* window, int pointer)
{
    widgetstate::setMousePointer(window, pointer);
    record(QStringLiteral("mousePointer"), window, pointer);
}

int ScriptedWindowServices::mousePointer(QWidget* window)
{
    return widgetstate::mousePointer(window);
}

void ScriptedWindowServices::setWindowState(QWidget* window, int state)
{
    widgetstate::setWindowState(window, state);
    record(QStringLiteral("windowState"), window, state);
}

int ScriptedWindowServices::windowState(QWidget* window)
{
    return widgetstate::windowState(window);
}

void ScriptedWindowServices::repaint(QWidget* window)
{
    record(QStringLiteral("repaint"), window);
}

QString ScriptedWindowServices::saveFileName(const SaveFileRequest& request)
{
    saveDialogs_.push_back(request);
    record(QStringLiteral("saveFileName"), nullptr, 0, request.title);
    if (savePaths_.empty()) {
        unexpected(QStringLiteral("save dialog nobody expected: \"%1\"").arg(request.title));
        return {};
    }
    const QString path = savePaths_.front();
    savePaths_.pop_front();
    return path;
}

QStringList ScriptedWindowServices::openFileNames(const OpenFileRequest& request)
{
    openDialogs_.push_back(request);
    record(QStringLiteral("openFileNames"), nullptr, 0, request.title);
    if (openPaths_.empty()) {
        unexpected(QStringLiteral("open dialog nobody expected: \"") + request.title + u'"');
        return {};
    }
    const QStringList paths = openPaths_.front();
    openPaths_.pop_front();
    return paths;
}

bool ScriptedWindowServices::shellExecute(QWidget* owner, const QString& verb, const QString& file,
                                          const QString& workingFolder)
{
    shellCalls_.push_back(ShellCall{owner, verb, file, workingFolder});
    record(QStringLiteral("shell"), owner, 0, verb + QLatin1Char(' ') + file);
    return programsInstalled && (verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0 ||
                                 verb.compare(QLatin1String("print"), Qt::CaseInsensitive) == 0);
}

PrintOutcome ScriptedWindowServices::printPdf(QWidget* owner, const QString& title, const QString& pdf,
                                              QString& failure)
{
    printCalls_.push_back(PrintCall{owner, title, pdf});
    record(QStringLiteral("print"), owner, 0, pdf);
    if (prints_.empty()) {
        unexpected(QStringLiteral("print dialog nobody expected: ") + title);
        return PrintOutcome::Cancelled;
    }
    const auto [outcome, why] = prints_.front();
    prints_.pop_front();
    failure = why;
    return outcome;
}

bool ScriptedWindowServices::launchMail(const MailMessage& message)
{
    mails_.push_back(message);
    record(QStringLiteral("mail"), nullptr, 0, message.subject);
    return true;
}

void ScriptedWindowServices::showStatus(QWidget* owner, const QString& text, int autoCloseMs)
{
    statuses_.push_back(StatusCall{owner, text, autoCloseMs});
    record(QStringLiteral("status"), owner, autoCloseMs, text);
}

void ScriptedWindowServices::closeStatus()
{
    record(QStringLiteral("closeStatus"));
}

int ScriptedWindowServices::waveOutDeviceCount()
{
    record(QStringLiteral("waveOutDeviceCount"), nullptr, waveDevices);
    return waveDevices;
}

bool ScriptedWindowServices::playWave(const QString& path)
{
    record(QStringLiteral("playWave"), nullptr, waveDeviceBusy ? 0 : 1, path);
    // The file is read as the real device would read it, so a wrong path
    // or a file that is no wave fails here too.
    (void)WaveFile::load(path);
    if (waveDeviceBusy || waveDevices == 0)
        return false;
    played_ << path;
    return true;
}

} // namespace platform
