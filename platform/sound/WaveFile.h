#pragma once
// A RIFF/WAVE file with PCM samples, read whole: its format and its sample
// bytes. Throws vb::Error 53 for a missing file, 321 for one that is not PCM
// wave.
#include <QByteArray>
#include <QString>

namespace platform {

struct WaveFile {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0; // 8, 16, 24 or 32
    QByteArray samples;    // interleaved, little-endian as stored

    int frameBytes() const { return channels * bitsPerSample / 8; }
    qsizetype frames() const { return frameBytes() ? samples.size() / frameBytes() : 0; }

    static WaveFile load(const QString& path);
    static WaveFile parse(const QByteArray& bytes, const QString& nameForErrors);
};

} // namespace platform
