#include "platform/sound/WaveFile.h"
#include "platform/values/VbError.h"
#include <QFile>
#include <QtEndian>

namespace platform {

namespace {

constexpr int FileNotFound = 53;       // VB's "File not found"
constexpr int InvalidFileFormat = 321; // VB's "Invalid file format"
constexpr quint16 FormatPcm = 1;
constexpr quint16 FormatExtensible = 0xfffe;

quint16 u16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

[[noreturn]] void invalid(const QString& name, const QString& why)
{
    throw vb::Error(
        InvalidFileFormat,
        QStringLiteral("\"%1\" não é um ficheiro de som WAV que se possa tocar: %2").arg(name, why),
        QStringLiteral("PlayWave"));
}

} // namespace

WaveFile WaveFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(FileNotFound, QStringLiteral("Ficheiro de som não encontrado: \"%1\"").arg(path),
                        QStringLiteral("PlayWave"));
    return parse(file.readAll(), path);
}

WaveFile WaveFile::parse(const QByteArray& bytes, const QString& name)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        invalid(name, QStringLiteral("falta o cabeçalho RIFF/WAVE"));
    WaveFile wave;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (size > bytes.size() - body)
            invalid(name, QStringLiteral("bloco \"%1\" cortado").arg(QString::fromLatin1(id)));
        if (id == "fmt ") {
            if (size < 16)
                invalid(name, QStringLiteral("bloco de formato curto"));
            quint16 format = u16(bytes, body);
            if (format == FormatExtensible && size >= 26)
                format = u16(bytes, body + 24); // the sub-format's first two bytes
            if (format != FormatPcm)
                invalid(name, QStringLiteral("só PCM é suportado"));
            wave.channels = u16(bytes, body + 2);
            wave.sampleRate = int(u32(bytes, body + 4));
            wave.bitsPerSample = u16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                invalid(name, QStringLiteral("dados antes do formato"));
            wave.samples = bytes.mid(body, size);
        }
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    if (!haveFormat || wave.samples.isNull())
        invalid(name, QStringLiteral("falta o formato ou os dados"));
    const int bits = wave.bitsPerSample;
    if (wave.channels < 1 || wave.channels > 8 || wave.sampleRate < 1000 ||
        (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        invalid(name, QStringLiteral("formato %1 canais, %2 Hz, %3 bits")
                          .arg(wave.channels)
                          .arg(wave.sampleRate)
                          .arg(bits));
    return wave;
}

} // namespace platform
