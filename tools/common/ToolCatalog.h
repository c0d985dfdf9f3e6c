#pragma once
// What the tools that work as a user of the contacts share: the catalog
// opened the way the host opens it after signing in, and the check that the
// user named on the command line is one the catalog knows.
#include <QString>

namespace toolcatalog {

// Connects the component's data layer to the catalog as `user`; relations a
// tool writes name `product` as their origin, as the host's own do.
void connect(const QString& connectionString, const QString& user, const QString& product);

// A name the catalog does not know would give no rights at all, and silently
// do nothing.
bool knownUser(const QString& user);

} // namespace toolcatalog
