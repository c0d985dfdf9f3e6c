#pragma once
// The seven root keys by name and by the handle value Windows gives them.
#include <QString>
#include <QtGlobal>

namespace platform {

namespace rootkey {
inline constexpr quint32 ClassesRoot = 0x80000000;
inline constexpr quint32 CurrentUser = 0x80000001;
inline constexpr quint32 LocalMachine = 0x80000002;
inline constexpr quint32 Users = 0x80000003;
inline constexpr quint32 PerformanceData = 0x80000004;
inline constexpr quint32 CurrentConfig = 0x80000005;
inline constexpr quint32 DynData = 0x80000006;
} // namespace rootkey

// "HKEY_LOCAL_MACHINE" → 0x80000002; exact spelling; 0 for any other text.
quint32 rootHandle(const QString& name);
// 0x80000002 → "HKEY_LOCAL_MACHINE"; empty for any other number.
QString rootName(quint32 handle);
// The root of a full key path, matched without regard to case as regedit
// does; empty when the path does not begin with one of the seven names.
QString rootOfPath(const QString& path);

} // namespace platform
