#include "card/ComponentFiles.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace card {

QString componentFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&componentFolder), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}

QString clickSoundPath()
{
    return componentFolder() + QStringLiteral("/SMCLICK1.WAV");
}

QString manualPath()
{
    return componentFolder() + QStringLiteral("/quarvenses-manual.html");
}

} // namespace card
