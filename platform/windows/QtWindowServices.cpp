#include "platform/windows/QtWindowServices.h"
#include "platform/sound/WaveOut.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/ShellCommand.h"
#include "platform/windows/WidgetState.h"
#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace platform {

namespace {

QMessageBox::StandardButton qtButton(int answer)
{
    switch (answer) {
    case msgbox::AnswerCancel:
        return QMessageBox::Cancel;
    case msgbox::AnswerAbort:
        return QMessageBox::Abort;
    case msgbox::AnswerRetry:
        return QMessageBox::Retry;
    case msgbox::AnswerIgnore:
        return QMessageBox::Ignore;
    case msgbox::AnswerYes:
        return QMessageBox::Yes;
    case msgbox::AnswerNo:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

int vbAnswer(int qtButtonValue)
{
    switch (qtButtonValue) {
    case QMessageBox::Cancel:
        return msgbox::AnswerCancel;
    case QMessageBox::Abort:
        return msgbox::AnswerAbort;
    case QMessageBox::Retry:
        return msgbox::AnswerRetry;
    case QMessageBox::Ignore:
        return msgbox::AnswerIgnore;
    case QMessageBox::Yes:
        return msgbox::AnswerYes;
    case QMessageBox::No:
        return msgbox::AnswerNo;
    default:
        return msgbox::AnswerOK;
    }
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

bool startDetached(const ShellCommand& command, const QString& workingFolder)
{
    if (QStandardPaths::findExecutable(command.program).isEmpty())
        return false;
    return QProcess::startDetached(command.program, command.arguments, workingFolder);
}

void placeNear(QWidget* window, QWidget* owner)
{
    window->adjustSize();
    QRect area = owner && owner->isVisible() ? owner->frameGeometry() : QRect();
    if (area.isEmpty() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    window->move(area.center() - window->rect().center());
}

} // namespace

QtWindowServices::QtWindowServices() = default;

// Services kept until the process ends outlive the application object: a
// window can only be deleted while that object is there.
QtWindowServices::~QtWindowServices()
{
    if (QCoreApplication::instance())
        delete status_.data();
}

// "doc" means "*.doc"; "*.doc;*.rtf" becomes Qt's "*.doc *.rtf"; a filter
// without a description shows its patterns.
QString qtNameFilter(const FileFilter& filter)
{
    QStringList patterns;
    for (QString piece : filter.pattern.split(u';', Qt::SkipEmptyParts)) {
        piece = piece.trimmed();
        if (!piece.contains(u'*') && !piece.contains(u'?'))
            piece = QStringLiteral("*.") + (piece.startsWith(u'.') ? piece.mid(1) : piece);
        patterns.append(piece);
    }
    const QString joined = patterns.join(u' ');
    const QString description = filter.description.trimmed().isEmpty() ? joined : filter.description;
    return description + QStringLiteral(" (") + joined + u')';
}

std::unique_ptr<QMessageBox> QtWindowServices::buildMessageBox(const QString& text, int style,
                                                               const QString& title)
{
    const MessageStyle s = decodeMessageStyle(style);
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(messageBoxTitle(title));
    box->setText(messageBoxText(text));
    box->setTextFormat(Qt::PlainText);
    box->setIcon(qtIcon(s.icon));
    for (int answer : s.answers)
        box->addButton(qtButton(answer));
    box->setDefaultButton(qtButton(s.answers.at(size_t(s.defaultIndex))));
    if (s.escapeAnswer)
        box->setEscapeButton(qtButton(s.escapeAnswer));
    box->setWindowModality(Qt::ApplicationModal);
    if (s.systemModal)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

int QtWindowServices::messageBox(const QString& text, int style, const QString& title)
{
    auto box = buildMessageBox(text, style, title);
    box->exec();
    const QAbstractButton* clicked = box->clickedButton();
    if (!clicked) // closed by the window manager: what Escape would give
        return decodeMessageStyle(style).escapeAnswer ? decodeMessageStyle(style).escapeAnswer
                                                      : msgbox::AnswerOK;
    return vbAnswer(box->standardButton(const_cast<QAbstractButton*>(clicked)));
}

void QtWindowServices::setMousePointer(QWidget* window, int pointer)
{
    widgetstate::setMousePointer(window, pointer);
}

int QtWindowServices::mousePointer(QWidget* window)
{
    return widgetstate::mousePointer(window);
}

void QtWindowServices::setWindowState(QWidget* window, int state)
{
    widgetstate::setWindowState(window, state);
}

int QtWindowServices::windowState(QWidget* window)
{
    return widgetstate::windowState(window);
}

void QtWindowServices::repaint(QWidget* window)
{
    widgetstate::repaint(window);
}

std::unique_ptr<QFileDialog> QtWindowServices::buildSaveDialog(const SaveFileRequest& r)
{
    auto dialog = std::make_unique<QFileDialog>(QApplication::activeWindow(), r.title);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (!r.initialFolder.trimmed().isEmpty())
        dialog->setDirectory(r.initialFolder);
    QStringList filters;
    for (const FileFilter& f : r.filters)
        filters << qtNameFilter(f);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        const int index = r.filterIndex > 0 && r.filterIndex <= filters.size() ? r.filterIndex - 1 : 0;
        dialog->selectNameFilter(filters.at(index));
    }
    if (!r.defaultExtension.isEmpty())
        dialog->setDefaultSuffix(r.defaultExtension);
    if (!r.proposedName.isEmpty())
        dialog->selectFile(r.proposedName);
    // Qt's dialog has no read-only box; the flag is kept for the scripted one.
    dialog->setOption(QFileDialog::ReadOnly, false);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
    return dialog;
}

QString QtWindowServices::saveFileName(const SaveFileRequest& request)
{
    auto dialog = buildSaveDialog(request);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QStringList QtWindowServices::openFileNames(const OpenFileRequest& r)
{
    QFileDialog dialog(QApplication::activeWindow(), r.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(r.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!r.initialFolder.trimmed().isEmpty())
        dialog.setDirectory(r.initialFolder);
    QStringList filters;
    for (const FileFilter& f : r.filters)
        filters << qtNameFilter(f);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

bool QtWindowServices::shellExecute(QWidget*, const QString& verb, const QString& file,
                                    const QString& workingFolder)
{
    const auto command = shellCommandFor(verb, file);
    if (!command || (command->program == QLatin1String("xdg-open") && !hasProgramFor(file)))
        return false;
    return startDetached(*command, workingFolder);
}

// xdg-open starts and fails later, unseen, when nothing opens the kind of
// file: the desktop is asked first. Without xdg-mime nothing can be known,
// and xdg-open is let try.
bool QtWindowServices::hasProgramFor(const QString& file)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return true;
    // An address (mailto:, tel:, https://…) goes to its scheme's program.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch address = scheme.match(file);
    const QString kind = address.hasMatch()
                             ? QStringLiteral("x-scheme-handler/") + address.captured(1).toLower()
                             : QMimeDatabase().mimeTypeForFile(file).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), kind});
    constexpr int answerMs = 5000;
    if (!query.waitForFinished(answerMs)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

// The print system (CUPS) takes the PDF as it is; the dialog only chooses
// where, how many and which pages.
PrintOutcome QtWindowServices::printPdf(QWidget* owner, const QString& title, const QString& pdf,
                                        QString& failure)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return PrintOutcome::NoPrinter;
    QPrinter printer;
    printer.setDocName(title);
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    if (dialog.exec() != QDialog::Accepted)
        return PrintOutcome::Cancelled;
    QStringList arguments{QStringLiteral("-d"), printer.printerName(),
                          QStringLiteral("-n"), QString::number(printer.copyCount()),
                          QStringLiteral("-t"), title};
    if (printer.printRange() == QPrinter::PageRange)
        arguments << QStringLiteral("-P")
                  << QString::number(printer.fromPage()) + u'-' + QString::number(printer.toPage());
    arguments << pdf;
    QProcess lp;
    lp.start(QStringLiteral("lp"), arguments);
    constexpr int queueingMs = 30000;
    if (!lp.waitForStarted()) {
        failure = QStringLiteral("o comando de impressão (lp) não está instalado.");
        return PrintOutcome::Failed;
    }
    if (!lp.waitForFinished(queueingMs) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        lp.kill();
        const QString said = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        failure = QStringLiteral("a impressora «") + printer.printerName() +
                  QStringLiteral("» recusou o trabalho") +
                  (said.isEmpty() ? QStringLiteral(".") : QStringLiteral(" (") + said + QStringLiteral(")."));
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Queued;
}

bool QtWindowServices::hasMailClient()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return false;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("x-scheme-handler/mailto")});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

bool QtWindowServices::launchMail(const MailMessage& message)
{
    return startDetached(mailCommandFor(message), QString());
}

void QtWindowServices::showStatus(QWidget* owner, const QString& text, int autoCloseMs)
{
    closeStatus();
    auto* window = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setObjectName(QStringLiteral("statusWindow"));
    auto* layout = new QVBoxLayout(window);
    auto* label = new QLabel(text, window);
    label->setObjectName(QStringLiteral("statusText"));
    label->setMargin(12);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    placeNear(window, owner);
    window->show();
    status_ = window;
    if (autoCloseMs > 0)
        QTimer::singleShot(autoCloseMs, window, &QWidget::close);
}

void QtWindowServices::closeStatus()
{
    if (status_)
        status_->close();
    status_ = nullptr;
}

int QtWindowServices::waveOutDeviceCount()
{
    return waveout::deviceCount();
}

bool QtWindowServices::playWave(const QString& path)
{
    return waveout::play(path);
}

} // namespace platform
