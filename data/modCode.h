#pragma once
// The start-up module: the apostrophe rewrite, the transaction probe, the
// click sound, and the process start-up that creates the hidden owner form.
#include <QString>

class frmMainChilds;

namespace modCode {

// Every apostrophe becomes "' + CHAR(39) + '"; the argument is changed the
// same way and returned.
QString Trtf(QString& text);
inline QString Trtf(QString&& text)
{
    return Trtf(text);
}

// True when SqlServer is open and the server reports an open transaction.
bool IsInTransaction();

// True when at least one wave-out device exists; reports and answers false on failure.
bool CanPlayWave();
// Plays the wave file by name, without waiting when the device is busy.
void PlayWave(QString& path);

// Runs once per process before the first object is used: creates the hidden
// owner form. Later calls do nothing.
void StartUp();
// The owner form made by the start-up; it lives until the process ends.
frmMainChilds* MainChilds();

} // namespace modCode
