#pragma once
// Where the files that travel with the libraries are, found from the
// libraries themselves so that no environment variable is needed: in the
// build tree (build/lib, build/share/quarvenses) and once installed
// (<libdir>/quarvenses/components, <datadir>/quarvenses), whatever the prefix.
#include <QString>
#include <QStringList>

namespace platform {

// The folder of libquarvenses_platform.so.
QString libraryFolder();
// The folders that may hold the shared data (schema, sound, manual), in the
// order they are looked at.
QStringList dataFolders();
// The first of them that holds `relativePath`; empty when none does.
QString findDataFile(const QString& relativePath);
// Where installed component plugins live, beside the libraries.
QString installedComponentsFolder();

} // namespace platform
