#include "platform/folders/FileFaults.h"

#include <QFileInfo>

namespace platform {

namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("«") + path + QStringLiteral("»");
}

QString otherwise(const QFileDevice& file)
{
    switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("o disco está cheio ou deixou de responder");
    case QFileDevice::ReadError:
        return QStringLiteral("o disco deixou de responder a meio da leitura");
    default:
        return QStringLiteral("erro do sistema: ") + file.errorString();
    }
}

} // namespace

QString whyNotWritten(const QString& path, const QFileDevice& file)
{
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("a pasta ") + quoted(folder.filePath()) + QStringLiteral(" não existe");
    if (info.isDir())
        return quoted(path) + QStringLiteral(" é uma pasta");
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return QStringLiteral("não tem permissão para escrever em ") + quoted(folder.filePath());
    return otherwise(file);
}

QString whyNotRead(const QString& path, const QFileDevice& file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("o ficheiro não existe");
    if (info.isDir())
        return quoted(path) + QStringLiteral(" é uma pasta");
    if (!info.isReadable())
        return QStringLiteral("não tem permissão para o ler");
    return otherwise(file);
}

} // namespace platform
