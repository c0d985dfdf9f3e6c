#pragma once
// Windows' special folders by number, mapped to their Linux equivalents. Each
// can be moved by an environment variable, which tests and sites use:
//   35 (0x23) common application data  $QUARVENSES_COMMON_APPDATA, else /var/lib/quarvenses
//   16 (0x10) and 0 the user's desktop  $QUARVENSES_DESKTOP, else the XDG desktop folder
//   the user's temporary folder         $QUARVENSES_TEMP, else $TMPDIR or /tmp
// Paths come without a trailing separator.
#include <QString>

namespace platform {

namespace folder {
inline constexpr int Desktop = 0x00;          // CSIDL_DESKTOP (its file-system folder)
inline constexpr int DesktopDirectory = 0x10; // CSIDL_DESKTOPDIRECTORY
inline constexpr int CommonAppData = 0x23;    // CSIDL_COMMON_APPDATA
} // namespace folder

// The folder for a special-folder number; empty for a number not mapped.
QString specialFolder(int number);
QString tempFolder();
// The user's state folder ($XDG_STATE_HOME, else ~/.local/state).
QString userStateFolder();
// True when a file can be created, written and removed in `folder`.
bool isFolderWritable(const QString& folder);

} // namespace platform
