#pragma once
// The eight connection values a sibling receives, as the host gave them
// (passwords enciphered).
#include <QString>
#include <QtGlobal>

namespace siblings {

struct Credentials {
    QString user;
    QString password;
    QString cnUser;
    QString cnPassword;
    QString catalog;
    QString dataSource;
    QString dataSourceSecondary;
    qint16 flags = 0;
};

} // namespace siblings
