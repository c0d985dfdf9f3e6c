#pragma once
// The start-up module: the apostrophe rewrite, the transaction probe, the
// click sound, and the process start-up that creates the hidden owner form.
#include <QString>

namespace modCode {

// Every apostrophe becomes "' + CHAR(39) + '"; the argument is changed the
// same way and returned.
QString Trtf(QString& text);
inline QString Trtf(QString&& text) { return Trtf(text); }

} // namespace modCode
