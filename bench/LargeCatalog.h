#pragma once
// What the card and host benchmarks share: a server folder holding the
// demonstration data and 100 000 generated contacts, made once per process
// and not measured, the settings store pointed at temporary files, the
// scripted window services so that no dialog waits for a person, and the
// process's resident memory.
#include "data/TaxNumber.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/windows/ScriptedWindowServices.h"
#include "tools/sql/ContactGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>
#include <unistd.h>

namespace bench {

inline constexpr int largeContacts = 100000;
inline constexpr const char* catalogName = "Quarvenses";

class LargeCatalog {
  public:
    LargeCatalog(const QString& login, const QString& password)
    {
        QDir().mkpath(commonFolder());
        qputenv("QUARVENSES_COMMON_APPDATA", commonFolder().toUtf8());
        qputenv("QUARVENSES_REGISTRY", dir_.filePath(QStringLiteral("registry.reg")).toUtf8());
        QElapsedTimer clock;
        clock.start();
        ado::embedded::createDemoCatalogWith(
            folder(), QString::fromLatin1(catalogName), login, password, [](const QString& catalogPath) {
                ado::embedded::addGeneratedContacts(
                    catalogPath, ado::embedded::GeneratedContacts{largeContacts, &TaxNumber::checkDigit});
            });
        QTextStream(stderr) << "Catálogo de " << largeContacts << " contactos criado em " << clock.elapsed()
                            << " ms.\n";
        windows_ = std::make_shared<platform::ScriptedWindowServices>();
        windows_->onUnexpected = [](const QString& what) {
            QTextStream(stderr) << "Caixa inesperada: " << what << '\n';
        };
        platform::WindowServices::install(windows_);
    }

    QString folder() const { return dir_.filePath(QStringLiteral("servidor")); }
    QString catalogFile() const
    {
        return ado::embedded::EmbeddedServer::catalogPath(folder(), QString::fromLatin1(catalogName));
    }
    platform::ScriptedWindowServices& windows() { return *windows_; }

  private:
    QString commonFolder() const { return dir_.filePath(QStringLiteral("common")); }

    QTemporaryDir dir_;
    std::shared_ptr<platform::ScriptedWindowServices> windows_;
};

// The resident set of this process, from /proc/self/statm, in bytes.
inline double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) : 0;
}

} // namespace bench
