#pragma once
// The registry as the settings store uses it, shaped like advapi32: open a key
// under a root handle for reading (0x20019) or writing (0x20006), query and
// set string and 32-bit number values, close. Opening a key that does not
// exist gives the null handle 0. The contents live in one .reg file
// (RegistryFile), at $QUARVENSES_REGISTRY or else
// $XDG_CONFIG_HOME/quarvenses/registry.reg.
//
//   platform::Registry& reg = platform::Registry::current();
//   quint32 key = reg.openKey(platform::rootkey::LocalMachine, "SOFTWARE\\Varnadel", platform::access::Read);
//   if (key) { auto v = reg.queryValue(key, "DataServer"); reg.closeKey(key); }
#include "platform/registry/RegDocument.h"
#include "platform/registry/RegistryFile.h"
#include "platform/registry/RootKeys.h"
#include <QMutex>
#include <QString>
#include <map>
#include <optional>

namespace platform {

namespace access {
inline constexpr quint32 QueryValue = 0x0001;
inline constexpr quint32 SetValue = 0x0002;
inline constexpr quint32 Read = 0x20019;  // KEY_READ
inline constexpr quint32 Write = 0x20006; // KEY_WRITE
} // namespace access

class Registry {
  public:
    // The process's registry, at the path the environment names now. One
    // object per path for the life of the process, so references stay valid.
    static Registry& current();
    static Registry& at(const QString& filePath);
    // $QUARVENSES_REGISTRY, else the XDG configuration folder's file.
    static QString defaultPath();

    const QString& path() const { return file_.path(); }

    // `root` is one of the seven root handles (or a handle this object gave
    // out); an empty sub-key opens the root itself. 0 when the key does not
    // exist or the root is unknown.
    quint32 openKey(quint32 root, const QString& subKey, quint32 access);
    // As openKey, creating the key (and the ones above it) when missing.
    quint32 createKey(quint32 root, const QString& subKey, quint32 access);
    void closeKey(quint32 key);

    // Needs read access (vb::Error 70 otherwise); nothing when the value is absent.
    std::optional<RegValue> queryValue(quint32 key, const QString& name);
    // Need write access (vb::Error 70 otherwise).
    void setString(quint32 key, const QString& name, const QString& text);
    void setDword(quint32 key, const QString& name, quint32 number);
    void deleteValue(quint32 key, const QString& name);

    // By full path ("HKEY_LOCAL_MACHINE\SOFTWARE\Varnadel"), for tools.
    std::optional<RegValue> value(const QString& keyPath, const QString& name);
    void setValue(const QString& keyPath, const QString& name, const RegValue& value);
    bool keyExists(const QString& keyPath);

    // .reg text in and out, so that an administrator can move a site's
    // settings. An import is all or nothing; a bad line is named in the error.
    void importText(const QString& regText);
    void importFile(const QString& regFile);
    QString exportText(const QString& keyPath = {});
    void exportFile(const QString& regFile, const QString& keyPath = {});

    explicit Registry(QString filePath);

  private:
    struct OpenKey {
        QString path;
        quint32 access = 0;
    };
    // Full path of a root or open handle; empty when the handle is unknown.
    QString pathOf(quint32 handle, quint32* access) const;
    OpenKey openedKey(quint32 key, quint32 needed) const;
    quint32 issue(const QString& path, quint32 access);
    QString fullPath(quint32 root, const QString& subKey) const;

    RegistryFile file_;
    mutable QMutex mutex_;
    std::map<quint32, OpenKey> handles_;
    quint32 nextHandle_ = 0x100;
};

} // namespace platform
