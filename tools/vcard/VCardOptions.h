#pragma once
// The command line of quarvenses-vcard:
//   quarvenses-vcard export -S <servidor> -d <base> -U <login> -P <senha> [--user <utilizador>]
//                           [--id N …] [-o <ficheiro>]
//   quarvenses-vcard import -S … -d … -U … -P … [--user <utilizador>] [--update] [--dry-run] <ficheiro>…
#include <QList>
#include <QString>
#include <QStringList>

namespace vcardtool {

struct VCardOptions {
    QString verb; // "export" or "import"
    QString server, catalog, login, password;
    QString user; // whose rights count; the login when not given
    QList<qint32> ids;
    QString output;
    QStringList files;
    bool update = false;
    bool dryRun = false;
    QString problem; // empty when the line is usable

    static VCardOptions parse(const QStringList& arguments);
    QString connectionString() const;
};

QString usage();

} // namespace vcardtool
