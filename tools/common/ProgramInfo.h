#pragma once
// --help and --version for every program of the package, answered before
// anything else is started (no window, no connection), on standard output,
// so that a terminal user and help2man (the manual pages) read the same text.
#include <QString>

namespace toolsupport {

// True when the arguments ask for either; the answer has been printed.
// `summary` is one line of what the program is for; `usage` how to call it.
bool answeredHelpOrVersion(int argc, char** argv, const char* program, const char* summary,
                           const QString& usage);

} // namespace toolsupport
