#pragma once
// Wave output through ALSA: how many playback devices there are, and playing
// a wave file synchronously on the default device, without waiting when the
// device is busy.
#include <QString>

namespace platform::waveout {

// Playback PCM devices of the sound cards; 1 when there is no card but the
// default device (a sound server) opens; 0 when nothing can play.
int deviceCount();
// Plays to the end and returns true; returns false at once when the device
// is busy or there is none. Throws vb::Error for a file it cannot play.
bool play(const QString& path);

} // namespace platform::waveout
