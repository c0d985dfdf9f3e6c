#include "platform/windows/ShellCommand.h"
#include "platform/windows/MessageStyle.h"
#include <QMimeDatabase>
#include <QStandardPaths>

namespace platform {

bool isPrintableByCups(const QString& file)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    for (const char* printable : {"application/pdf", "application/postscript", "text/plain", "image/png",
                                  "image/jpeg", "image/gif", "image/tiff"})
        if (type.inherits(QLatin1String(printable)))
            return true;
    return false;
}

std::optional<ShellCommand> shellCommandFor(const QString& verb, const QString& givenFile)
{
    // xdg-open takes no "--": a name that looks like an option is made a path.
    const QString file =
        givenFile.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + givenFile : givenFile;
    const ShellCommand open{QStringLiteral("xdg-open"), {file}};
    if (verb.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0)
        return open;
    if (verb.compare(QLatin1String("print"), Qt::CaseInsensitive) == 0) {
        if (isPrintableByCups(file) && !QStandardPaths::findExecutable(QStringLiteral("lp")).isEmpty())
            return ShellCommand{QStringLiteral("lp"), {QStringLiteral("--"), file}};
        // A document CUPS cannot read goes to its own program, which prints it.
        return open;
    }
    return std::nullopt;
}

QString plainMailBody(const QString& body)
{
    return messageBoxText(body);
}

ShellCommand mailCommandFor(const MailMessage& message)
{
    ShellCommand c{QStringLiteral("xdg-email"), {}};
    if (!message.subject.isEmpty())
        c.arguments << QStringLiteral("--subject") << message.subject;
    if (!message.body.isEmpty())
        c.arguments << QStringLiteral("--body") << plainMailBody(message.body);
    for (const QString& file : message.attachments)
        c.arguments << QStringLiteral("--attach") << file;
    if (!message.recipient.isEmpty())
        c.arguments << message.recipient;
    return c;
}

} // namespace platform
