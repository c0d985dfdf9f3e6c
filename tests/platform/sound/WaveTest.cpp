#include "platform/sound/WaveFile.h"
#include "platform/sound/WaveOut.h"
#include "tests/platform/VbFailure.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

using platform::WaveFile;

namespace {

// The copy the build puts beside the libraries (build/lib), as the card finds it.
QString clickPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/SMCLICK1.WAV");
}

QByteArray clickBytes()
{
    QFile f(clickPath());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << clickPath().toStdString();
    return f.readAll();
}

int errorOf(const QByteArray& bytes)
{
    return vbtest::errorOf([&] { WaveFile::parse(bytes, QStringLiteral("x.wav")); });
}

} // namespace

TEST(WaveFile, TheShippedClickIsAShortMonoPcmSoundAndOtherFilesAreRefused)
{
    const WaveFile click = WaveFile::parse(clickBytes(), clickPath());
    EXPECT_EQ(click.channels, 1);
    EXPECT_EQ(click.sampleRate, 44100);
    EXPECT_EQ(click.bitsPerSample, 16);
    EXPECT_EQ(click.frames(), 1323); // 30 ms
    // It is a click: loud at the start, silent at the end.
    const auto sample = [&](qsizetype i) {
        return qFromLittleEndian<qint16>(click.samples.constData() + 2 * i);
    };
    int early = 0, late = 0;
    for (int i = 0; i < 100; ++i) {
        early = std::max(early, std::abs(int(sample(i))));
        late = std::max(late, std::abs(int(sample(click.frames() - 1 - i))));
    }
    EXPECT_GT(early, 5000);
    EXPECT_LT(late, 50);

    // What is not PCM wave is refused.
    const QByteArray good = clickBytes();
    EXPECT_EQ(errorOf(QByteArray("RIFF\0\0\0\0AVI ", 12)), 321);
    QByteArray adpcm = good;
    adpcm[20] = 2; // format tag
    EXPECT_EQ(errorOf(adpcm), 321);
    EXPECT_EQ(errorOf(good.left(100)), 321); // data chunk cut short
    QByteArray noData = good.left(36);
    EXPECT_EQ(errorOf(noData), 321);
    EXPECT_EQ(vbtest::errorOf([] { WaveFile::load(QStringLiteral("/nonexistent/SMCLICK1.WAV")); }), 53);
}

TEST(WaveOut, PlaysOrAnswersAtOnceWhenItCannot)
{
    const int devices = platform::waveout::deviceCount();
    EXPECT_GE(devices, 0);
    EXPECT_THROW(platform::waveout::play(QStringLiteral("/nonexistent.wav")), vb::Error);
    if (devices == 0) {
        QElapsedTimer t;
        t.start();
        EXPECT_FALSE(platform::waveout::play(clickPath()));
        EXPECT_LT(t.elapsed(), 2000);
        return;
    }
    // Hold the device ourselves: the click must not wait for it.
    snd_pcm_t* held = nullptr;
    if (snd_pcm_open(&held, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
        GTEST_SKIP() << "the default device cannot be held here";
    QElapsedTimer t;
    t.start();
    const bool played = platform::waveout::play(clickPath());
    snd_pcm_close(held);
    // A device that mixes (a sound server) may play it anyway; one that is
    // held must answer false without blocking.
    if (!played) {
        EXPECT_LT(t.elapsed(), 1000);
    }
    EXPECT_TRUE(platform::waveout::play(clickPath()));
}
