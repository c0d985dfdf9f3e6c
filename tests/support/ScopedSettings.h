#pragma once
// A fresh registry file and all-users folder (where the settings store keeps
// its shadow file) for the life of the object.
#include <QByteArray>
#include <QTemporaryDir>

namespace testsupport {

class ScopedSettings {
  public:
    ScopedSettings();
    ~ScopedSettings();
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;
    QString commonFolder() const { return dir_.filePath(QStringLiteral("common")); }
    QString registryFile() const { return dir_.filePath(QStringLiteral("registry.reg")); }

  private:
    QTemporaryDir dir_;
    QByteArray previousCommon_;
    QByteArray previousRegistry_;
};

} // namespace testsupport
