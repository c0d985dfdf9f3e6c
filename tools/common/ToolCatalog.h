#pragma once
// What the tools that work as a user of the contacts share: the catalog
// opened the way the host opens it after signing in, and the check that the
// user named on the command line is one the catalog knows.
#include <QString>

namespace toolcatalog {

// Connects the component's data layer to `catalog` on `server` as `user`;
// relations a tool writes name `product` as their origin, as the host's own
// do. Why it could not, in one line for the terminal, or empty text. A user
// the catalog does not know is refused: with no rights at all, the tool would
// silently do nothing.
QString openAs(const QString& server, const QString& catalog, const QString& connectionString,
               const QString& user, const QString& product);

} // namespace toolcatalog
