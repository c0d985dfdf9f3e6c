#pragma once
// Folders and files that hold what only their owner should read (catalogs,
// logins, the error log): created 0700 and 0600. The process's umask may
// only make them stricter. Existing ones are left as they are.
#include <QString>

namespace platform {

// Creates the folder and any missing parents, each new one 0700; true when
// the folder exists afterwards.
bool makePrivateFolder(const QString& path);
// Creates the file empty with `mode` (0600 unless said) when it does not
// exist; true when it exists afterwards.
bool makePrivateFile(const QString& path, int mode = 0600);

} // namespace platform
