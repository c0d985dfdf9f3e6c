#include "platform/objects/ComponentRegistry.h"

#include "platform/folders/InstalledFiles.h"
#include "platform/values/VbError.h"
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <dlfcn.h>

namespace platform {

namespace {

using RegisterFunction = void (*)(ComponentRegistrar&);
constexpr char RegisterSymbol[] = "quarvenses_register_components";

class PluginRegistrar : public ComponentRegistrar {
  public:
    explicit PluginRegistrar(std::map<QString, ComponentFactory>& found) : found_(found) {}
    void add(const QString& progId, ComponentFactory factory) override
    {
        if (factory)
            found_.emplace(progId, std::move(factory));
    }

  private:
    std::map<QString, ComponentFactory>& found_;
};

// The folder of this library as loaded, so that an installed tree finds its
// own plugins wherever it was put.

} // namespace

ComponentRegistry& ComponentRegistry::instance()
{
    static ComponentRegistry registry;
    return registry;
}

void ComponentRegistry::registerFactory(const QString& progId, ComponentFactory factory)
{
    QMutexLocker lock(&mutex_);
    if (factory)
        factories_[keyOf(progId)] = std::move(factory);
    else
        factories_.erase(keyOf(progId));
}

void ComponentRegistry::unregister(const QString& progId)
{
    QMutexLocker lock(&mutex_);
    factories_.erase(keyOf(progId));
}

bool ComponentRegistry::isRegistered(const QString& progId)
{
    return bool(find(progId));
}

ComponentFactory ComponentRegistry::factoryFor(const QString& progId)
{
    return find(progId);
}

ComponentFactory ComponentRegistry::find(const QString& progId)
{
    {
        QMutexLocker lock(&mutex_);
        auto it = factories_.find(keyOf(progId));
        if (it != factories_.end())
            return it->second;
    }
    loadPlugins(pluginFolders());
    QMutexLocker lock(&mutex_);
    auto it = factories_.find(keyOf(progId));
    return it == factories_.end() ? ComponentFactory() : it->second;
}

vb::ObjectRef ComponentRegistry::create(const QString& progId)
{
    const ComponentFactory factory = find(progId);
    vb::ObjectRef object = factory ? factory() : nullptr;
    if (!object)
        throw vb::Error::cannotCreateObject(progId);
    return object;
}

QStringList ComponentRegistry::pluginFolders()
{
    QStringList folders =
        qEnvironmentVariable("QUARVENSES_COMPONENTS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString beside = platform::libraryFolder();
    if (!beside.isEmpty())
        folders << beside + QStringLiteral("/components") << platform::installedComponentsFolder();
    folders << QStringLiteral(QV_COMPONENTS_DIR);
    folders.removeDuplicates();
    return folders;
}

void ComponentRegistry::loadPlugins(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.so")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& file : files)
            loadPlugin(file.canonicalFilePath());
    }
}

void ComponentRegistry::loadPlugin(const QString& file)
{
    {
        QMutexLocker lock(&mutex_);
        if (!triedPlugins_.insert(file).second)
            return;
    }
    // Kept loaded for the life of the process: the factories live in it.
    void* handle = ::dlopen(QFile::encodeName(file).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "quarvenses: componente não carregado: %s\n", ::dlerror());
        return;
    }
    auto registerAll = reinterpret_cast<RegisterFunction>(::dlsym(handle, RegisterSymbol));
    if (!registerAll) {
        std::fprintf(stderr, "quarvenses: %s não exporta %s\n", QFile::encodeName(file).constData(),
                     RegisterSymbol);
        return;
    }
    std::map<QString, ComponentFactory> found;
    PluginRegistrar registrar(found);
    registerAll(registrar);
    QMutexLocker lock(&mutex_);
    for (auto& [progId, factory] : found)
        factories_.emplace(keyOf(progId), std::move(factory));
}

ScopedComponent::ScopedComponent(QString progId, ComponentFactory factory)
    : progId_(std::move(progId)), previous_(ComponentRegistry::instance().factoryFor(progId_))
{
    ComponentRegistry::instance().registerFactory(progId_, std::move(factory));
}

ScopedComponent::~ScopedComponent()
{
    ComponentRegistry::instance().registerFactory(progId_, previous_);
}

} // namespace platform
