#include "tests/support/ScopedSettings.h"

#include <QDir>

namespace testsupport {

namespace {

void restore(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

// qgetenv gives a null array for a variable that is not set, so that it is unset again.
ScopedSettings::ScopedSettings()
    : previousCommon_(qgetenv("QUARVENSES_COMMON_APPDATA")), previousRegistry_(qgetenv("QUARVENSES_REGISTRY"))
{
    QDir().mkpath(commonFolder());
    qputenv("QUARVENSES_COMMON_APPDATA", commonFolder().toUtf8());
    qputenv("QUARVENSES_REGISTRY", registryFile().toUtf8());
}

ScopedSettings::~ScopedSettings()
{
    restore("QUARVENSES_COMMON_APPDATA", previousCommon_);
    restore("QUARVENSES_REGISTRY", previousRegistry_);
}

} // namespace testsupport
