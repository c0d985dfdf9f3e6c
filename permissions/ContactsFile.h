#pragma once
// The contact file this component works in: its name among the files and
// its object kind in the rights checks. The card, the permission checks and
// the vCard import all name it.
#include <QString>

namespace contactsfile {

inline constexpr qint32 kind = 2; // tbTulvas_Contactos
inline const QString name = QStringLiteral("Contactos Quarvenses");

} // namespace contactsfile
