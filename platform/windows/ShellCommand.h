#pragma once
// The desktop programs behind the shell verbs and mail: "open" through the
// desktop's handler (xdg-open), "print" through CUPS (lp) for what it can
// print and through the handler otherwise, mail through xdg-email.
#include "platform/windows/WindowServices.h"
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

struct ShellCommand {
    QString program;
    QStringList arguments;
    friend bool operator==(const ShellCommand&, const ShellCommand&) = default;
};

// Nothing for a verb we do not know. Verbs are compared without regard to case.
std::optional<ShellCommand> shellCommandFor(const QString& verb, const QString& file);
// Whether CUPS takes the file as it is (PDF, PostScript, plain text, images).
bool isPrintableByCups(const QString& file);
ShellCommand mailCommandFor(const MailMessage& message);
// The mail body with the system's line breaks made plain line feeds.
QString plainMailBody(const QString& body);

} // namespace platform
