#pragma once
// The host's command line.
#include <QString>
#include <QStringList>

struct HostOptions {
    QString dataFolder;                             // --data: the embedded server's folder
    qint32 openContact = 0;                         // --open
    QString screenshot;                             // --screenshot: picture of the window, then quit
    QString server;                                 // --server: connect with SQLConnect instead of Login
    QString catalog = QStringLiteral("Quarvenses"); // --catalog
    QString secondary;                              // --secondary
    QString login;                                  // --login: the SQL login of the shared connection
    QString loginPassword;                          // --login-password
    QString windowSettings;                         // the main window's layout file (default: the user's)
    QString problem;

    static HostOptions parse(const QStringList& arguments);
};
