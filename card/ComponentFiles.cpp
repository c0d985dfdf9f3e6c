#include "card/ComponentFiles.h"

#include "platform/folders/InstalledFiles.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace card {

namespace {

// Beside the library in the build tree; in the shared data folder once installed.
QString componentFile(const QString& name)
{
    const QString beside = componentFolder() + u'/' + name;
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = platform::findDataFile(name);
    return installed.isEmpty() ? beside : installed;
}

} // namespace

QString componentFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&componentFolder), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

QString clickSoundPath()
{
    return componentFile(QStringLiteral("SMCLICK1.WAV"));
}

QString manualPath()
{
    return componentFile(QStringLiteral("quarvenses-manual.html"));
}

} // namespace card
