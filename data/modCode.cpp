#include "data/modCode.h"

namespace modCode {

QString Trtf(QString& text)
{
    // A plain replace cannot fail; the rewrite keeps no partial state.
    text.replace(QLatin1Char('\''), QStringLiteral("' + CHAR(39) + '"));
    return text;
}

} // namespace modCode
