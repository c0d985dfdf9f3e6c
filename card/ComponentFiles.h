#pragma once
// Files shipped beside the component library: the click the card plays when
// it moves to another contact, and the user's manual.
#include <QString>

namespace card {

// The folder of libquarvenses itself (not the host program's folder).
QString componentFolder();
QString clickSoundPath();
QString manualPath();

} // namespace card
