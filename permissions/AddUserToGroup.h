#pragma once
// Files a contact in a contact file with the file's default masks for the
// signed-in user, through the server's spADD_CONTACTO_TO_GROUP.
#include <QString>

namespace membership {

bool AddUserToGroup(qint32& pContacto_ID, QString& strGroup);

} // namespace membership
