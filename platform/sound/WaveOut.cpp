#include "platform/sound/WaveOut.h"
#include "platform/sound/WaveFile.h"
#include "platform/values/VbError.h"
#include <alsa/asoundlib.h>
#include <cerrno>
#include <mutex>

namespace platform::waveout {

namespace {

void quietHandler(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports every missing card on standard error; the answers we get
// back already say all we need.
void silenceAlsa()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&quietHandler); });
}

int cardPlaybackDevices(int card)
{
    snd_ctl_t* ctl = nullptr;
    const QByteArray name = "hw:" + QByteArray::number(card);
    if (snd_ctl_open(&ctl, name.constData(), 0) < 0)
        return 0;
    int count = 0;
    int device = -1;
    snd_pcm_info_t* info = nullptr;
    snd_pcm_info_malloc(&info);
    while (snd_ctl_pcm_next_device(ctl, &device) >= 0 && device >= 0) {
        snd_pcm_info_set_device(info, unsigned(device));
        snd_pcm_info_set_subdevice(info, 0);
        snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
        if (snd_ctl_pcm_info(ctl, info) >= 0)
            ++count;
    }
    snd_pcm_info_free(info);
    snd_ctl_close(ctl);
    return count;
}

struct Pcm {
    snd_pcm_t* handle = nullptr;
    ~Pcm()
    {
        if (handle)
            snd_pcm_close(handle);
    }
};

snd_pcm_format_t alsaFormat(int bits)
{
    switch (bits) {
    case 8:
        return SND_PCM_FORMAT_U8;
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    default:
        return SND_PCM_FORMAT_S32_LE;
    }
}

[[noreturn]] void deviceError(const QString& what, int err)
{
    throw vb::Error(vb::errnum::InvalidProcedureCall,
                    QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(snd_strerror(err))),
                    QStringLiteral("PlayWave"));
}

void writeAll(snd_pcm_t* pcm, const WaveFile& wave)
{
    const char* data = wave.samples.constData();
    snd_pcm_uframes_t left = snd_pcm_uframes_t(wave.frames());
    while (left > 0) {
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm, data, left);
        if (n < 0) {
            if (snd_pcm_recover(pcm, int(n), 1) < 0)
                deviceError(QStringLiteral("Erro ao tocar o som"), int(n));
            continue;
        }
        data += n * wave.frameBytes();
        left -= snd_pcm_uframes_t(n);
    }
}

} // namespace

int deviceCount()
{
    silenceAlsa();
    int count = 0;
    int card = -1;
    while (snd_card_next(&card) >= 0 && card >= 0)
        count += cardPlaybackDevices(card);
    if (count > 0)
        return count;
    Pcm pcm;
    return snd_pcm_open(&pcm.handle, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) >= 0 ? 1 : 0;
}

bool play(const QString& path)
{
    silenceAlsa();
    const WaveFile wave = WaveFile::load(path);
    Pcm pcm;
    // Opened without blocking so that a busy device answers at once.
    const int opened = snd_pcm_open(&pcm.handle, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (opened < 0) {
        pcm.handle = nullptr;
        return false;
    }
    snd_pcm_nonblock(pcm.handle, 0);
    const int set =
        snd_pcm_set_params(pcm.handle, alsaFormat(wave.bitsPerSample), SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(wave.channels), unsigned(wave.sampleRate), 1, 100000);
    if (set < 0)
        deviceError(QStringLiteral("O dispositivo de som não aceita \"%1\"").arg(path), set);
    writeAll(pcm.handle, wave);
    snd_pcm_drain(pcm.handle);
    return true;
}

} // namespace platform::waveout
