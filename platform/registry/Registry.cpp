#include "platform/registry/Registry.h"
#include "platform/registry/RegFormat.h"
#include "platform/values/VbError.h"
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <memory>

namespace platform {

namespace {

constexpr int InvalidProcedureCall = 5; // VB's number for a handle that is not open
constexpr int PermissionDenied = 70;    // VB's "Permission denied"
constexpr int PathFileAccessError = 75;

const QString Source = QStringLiteral("Registry");

bool isRoot(quint32 handle)
{
    return !rootName(handle).isEmpty();
}

} // namespace

Registry::Registry(QString filePath) : file_(std::move(filePath)) {}

QString Registry::defaultPath()
{
    const QString env = qEnvironmentVariable("QUARVENSES_REGISTRY");
    if (!env.isEmpty())
        return env;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/quarvenses/registry.reg");
}

Registry& Registry::at(const QString& filePath)
{
    static QMutex guard;
    static std::map<QString, std::unique_ptr<Registry>> all;
    QMutexLocker lock(&guard);
    const QString key = QDir::cleanPath(QDir::current().absoluteFilePath(filePath));
    auto& slot = all[key];
    if (!slot)
        slot = std::make_unique<Registry>(key);
    return *slot;
}

Registry& Registry::current()
{
    return at(defaultPath());
}

QString Registry::pathOf(quint32 handle, quint32* access) const
{
    if (isRoot(handle)) {
        if (access)
            *access = access::Read | access::Write;
        return rootName(handle);
    }
    auto it = handles_.find(handle);
    if (it == handles_.end())
        return {};
    if (access)
        *access = it->second.access;
    return it->second.path;
}

QString Registry::fullPath(quint32 root, const QString& subKey) const
{
    const QString base = pathOf(root, nullptr);
    if (base.isEmpty())
        return {};
    if (subKey.isEmpty())
        return base;
    return base + QLatin1Char('\\') + subKey;
}

quint32 Registry::issue(const QString& path, quint32 access)
{
    const quint32 handle = nextHandle_++;
    handles_[handle] = OpenKey{path, access};
    return handle;
}

quint32 Registry::openKey(quint32 root, const QString& subKey, quint32 access)
{
    QMutexLocker lock(&mutex_);
    const QString path = fullPath(root, subKey);
    if (path.isEmpty() || subKey.endsWith(QLatin1Char('\\')))
        return 0;
    if (!subKey.isEmpty() && !file_.read().hasKey(path))
        return 0;
    return issue(path, access);
}

quint32 Registry::createKey(quint32 root, const QString& subKey, quint32 access)
{
    QMutexLocker lock(&mutex_);
    const QString path = fullPath(root, subKey);
    if (path.isEmpty() || subKey.endsWith(QLatin1Char('\\')))
        return 0;
    if (!subKey.isEmpty())
        file_.update([&](RegDocument& doc) {
            if (!doc.hasKey(path))
                doc.ensureKey(path);
        });
    return issue(path, access);
}

void Registry::closeKey(quint32 key)
{
    QMutexLocker lock(&mutex_);
    handles_.erase(key);
}

Registry::OpenKey Registry::openedKey(quint32 key, quint32 needed) const
{
    OpenKey k;
    if (isRoot(key)) {
        k = OpenKey{rootName(key), access::Read | access::Write};
    } else {
        auto it = handles_.find(key);
        if (it == handles_.end())
            throw vb::Error(InvalidProcedureCall,
                            QStringLiteral("A chave de registo %1 não está aberta").arg(key), Source);
        k = it->second;
    }
    if ((k.access & needed) != needed)
        throw vb::Error(PermissionDenied,
                        QStringLiteral("Acesso negado à chave de registo \"%1\"").arg(k.path), Source);
    return k;
}

std::optional<RegValue> Registry::queryValue(quint32 key, const QString& name)
{
    QMutexLocker lock(&mutex_);
    const QString path = openedKey(key, access::QueryValue).path;
    return file_.read().value(path, name);
}

void Registry::setString(quint32 key, const QString& name, const QString& text)
{
    QMutexLocker lock(&mutex_);
    const QString path = openedKey(key, access::SetValue).path;
    file_.update([&](RegDocument& doc) { doc.setValue(path, name, RegValue::string(text)); });
}

void Registry::setDword(quint32 key, const QString& name, quint32 number)
{
    QMutexLocker lock(&mutex_);
    const QString path = openedKey(key, access::SetValue).path;
    file_.update([&](RegDocument& doc) { doc.setValue(path, name, RegValue::dword(number)); });
}

void Registry::deleteValue(quint32 key, const QString& name)
{
    QMutexLocker lock(&mutex_);
    const QString path = openedKey(key, access::SetValue).path;
    file_.update([&](RegDocument& doc) { doc.removeValue(path, name); });
}

std::optional<RegValue> Registry::value(const QString& keyPath, const QString& name)
{
    QMutexLocker lock(&mutex_);
    return file_.read().value(keyPath, name);
}

void Registry::setValue(const QString& keyPath, const QString& name, const RegValue& value)
{
    if (rootOfPath(keyPath).isEmpty())
        throw vb::Error(InvalidProcedureCall,
                        QStringLiteral("Chave de registo sem raiz conhecida: \"%1\"").arg(keyPath), Source);
    QMutexLocker lock(&mutex_);
    file_.update([&](RegDocument& doc) { doc.setValue(keyPath, name, value); });
}

bool Registry::keyExists(const QString& keyPath)
{
    QMutexLocker lock(&mutex_);
    return file_.read().hasKey(keyPath);
}

void Registry::importText(const QString& regText)
{
    QMutexLocker lock(&mutex_);
    try {
        file_.update([&](RegDocument& doc) { regformat::apply(regText, doc); });
    } catch (const RegSyntaxError& e) {
        throw vb::Error(
            InvalidProcedureCall,
            QStringLiteral("Texto de registo inválido na linha %1: %2").arg(e.line()).arg(e.reason()),
            Source);
    }
}

void Registry::importFile(const QString& regFile)
{
    QFile file(regFile);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(PathFileAccessError,
                        QStringLiteral("Não foi possível abrir \"%1\": %2").arg(regFile, file.errorString()),
                        Source);
    QString text;
    try {
        text = regformat::decode(file.readAll());
    } catch (const RegSyntaxError& e) {
        throw vb::Error(InvalidProcedureCall,
                        QStringLiteral("\"%1\", linha %2: %3").arg(regFile).arg(e.line()).arg(e.reason()),
                        Source);
    }
    try {
        importText(text);
    } catch (const vb::Error& e) {
        throw vb::Error(e.number(), QStringLiteral("\"%1\": %2").arg(regFile, e.description()), Source);
    }
}

QString Registry::exportText(const QString& keyPath)
{
    QMutexLocker lock(&mutex_);
    const RegDocument doc = file_.read();
    return keyPath.isEmpty() ? regformat::write(doc) : regformat::write(doc, keyPath);
}

void Registry::exportFile(const QString& regFile, const QString& keyPath)
{
    const QByteArray bytes = exportText(keyPath).toUtf8();
    QSaveFile file(regFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw vb::Error(PathFileAccessError,
                        QStringLiteral("Não foi possível gravar \"%1\": %2").arg(regFile, file.errorString()),
                        Source);
}

} // namespace platform
