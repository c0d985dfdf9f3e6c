#include "components/adminfiscr/GeneratorSettings.h"

#include "platform/values/Conversions.h"
#include "settings/modRegistry.h"

namespace adminfiscr {

QString templatePath()
{
    return modRegistry::PastaShadow() + u'/' + templateFileName;
}

QString siteValue(const QString& name)
{
    const vb::Variant value = modRegistry::ObterValorString(settingsKey, name);
    return value.isNull() || value.isEmpty() ? QString() : vb::CStr(value).trimmed();
}

bool odfRequested()
{
    return siteValue(formatSetting).compare(odfFormat, Qt::CaseInsensitive) == 0;
}

} // namespace adminfiscr
