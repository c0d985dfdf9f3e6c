#pragma once
// Why a file could not be read or written, in the user's words: the system's
// own text is in English and says nothing of which folder is at fault.
#include <QFileDevice>
#include <QString>

namespace platform {

// "a pasta «/x» não existe", "não tem permissão para escrever em «/x»", …
QString whyNotWritten(const QString& path, const QFileDevice& file);
QString whyNotRead(const QString& path, const QFileDevice& file);

} // namespace platform
