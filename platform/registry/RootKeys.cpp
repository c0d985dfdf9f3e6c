#include "platform/registry/RootKeys.h"
#include <array>

namespace platform {

namespace {

struct Root {
    const char* name;
    quint32 handle;
};

constexpr std::array<Root, 7> roots{{
    {"HKEY_CLASSES_ROOT", rootkey::ClassesRoot},
    {"HKEY_CURRENT_USER", rootkey::CurrentUser},
    {"HKEY_LOCAL_MACHINE", rootkey::LocalMachine},
    {"HKEY_USERS", rootkey::Users},
    {"HKEY_PERFORMANCE_DATA", rootkey::PerformanceData},
    {"HKEY_CURRENT_CONFIG", rootkey::CurrentConfig},
    {"HKEY_DYN_DATA", rootkey::DynData},
}};

} // namespace

quint32 rootHandle(const QString& name)
{
    for (const Root& r : roots)
        if (name == QLatin1String(r.name))
            return r.handle;
    return 0;
}

QString rootName(quint32 handle)
{
    for (const Root& r : roots)
        if (handle == r.handle)
            return QLatin1String(r.name);
    return {};
}

QString rootOfPath(const QString& path)
{
    const QString first = path.section(QLatin1Char('\\'), 0, 0);
    for (const Root& r : roots)
        if (first.compare(QLatin1String(r.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(r.name);
    return {};
}

} // namespace platform
