#include "tools/common/ProgramInfo.h"

#include <cstdio>
#include <cstring>

namespace toolsupport {

bool answeredHelpOrVersion(int argc, char** argv, const char* program, const char* summary,
                           const QString& usage)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s (Contactos Quarvenses) %s\n", program, QV_VERSION);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s — %s\n\n%s", program, summary, usage.toUtf8().constData());
            return true;
        }
    }
    return false;
}

} // namespace toolsupport
