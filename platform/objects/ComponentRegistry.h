#pragma once
// Programmatic identifiers → factories: the process's table of creatable
// components. Components register in-process (registerFactory), or come as
// plugins: shared objects in a components folder, each exporting
//
//   QV_COMPONENT_EXPORT void quarvenses_register_components(platform::ComponentRegistrar& r)
//   { r.add("Notivar.General", [] { return std::make_shared<MyReporter>(); }); }
//
// Folders searched, in order, when an identifier is not yet known: each of
// $QUARVENSES_COMPONENTS (separated by ':'), the "components" folder beside
// libquarvenses_platform.so, and the build's components folder. Identifiers
// are compared without regard to case, as Windows does.
#include "platform/values/Variant.h"
#include <QMutex>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>

#define QV_COMPONENT_EXPORT extern "C" __attribute__((visibility("default")))

namespace platform {

using ComponentFactory = std::function<vb::ObjectRef()>;

// What a plugin's registration function receives. An identifier already
// known (registered in-process, or by a plugin found earlier) is kept.
class ComponentRegistrar {
  public:
    virtual ~ComponentRegistrar() = default;
    virtual void add(const QString& progId, ComponentFactory factory) = 0;
};

class ComponentRegistry {
  public:
    static ComponentRegistry& instance();

    // In-process registration; replaces what the identifier had.
    void registerFactory(const QString& progId, ComponentFactory factory);
    void unregister(const QString& progId);
    // Both look in the plugin folders first when the identifier is unknown.
    bool isRegistered(const QString& progId);
    ComponentFactory factoryFor(const QString& progId);

    // A new object, or vb::Error 429 when nobody provides the identifier.
    vb::ObjectRef create(const QString& progId);

    // Where plugins are looked for now, in order.
    static QStringList pluginFolders();
    // Loads the plugins of `folders` not loaded yet.
    void loadPlugins(const QStringList& folders);

    ComponentRegistry() = default;

  private:
    static QString keyOf(const QString& progId) { return progId.toCaseFolded(); }
    ComponentFactory find(const QString& progId);
    void loadPlugin(const QString& file);

    QMutex mutex_;
    std::map<QString, ComponentFactory> factories_; // by case-folded identifier
    std::set<QString> triedPlugins_;
};

// Registers a factory for the life of a scope and puts back what the
// identifier had before (tests use it to stand in for a component).
class ScopedComponent {
  public:
    ScopedComponent(QString progId, ComponentFactory factory);
    ~ScopedComponent();
    ScopedComponent(const ScopedComponent&) = delete;
    ScopedComponent& operator=(const ScopedComponent&) = delete;

  private:
    QString progId_;
    ComponentFactory previous_;
};

} // namespace platform
