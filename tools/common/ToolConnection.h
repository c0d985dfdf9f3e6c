#pragma once
// The connection string the command-line tools open from their -S, -d, -U
// and -P options, each value quoted as OLE DB needs (a ";" in a password
// injects nothing).
#include <QString>

QString toolConnectionString(const QString& server, const QString& catalog, const QString& login,
                             const QString& password);
