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
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>
#include <unistd.h>

namespace bench {

inline constexpr int defaultContacts = 100000;
inline constexpr const char* catalogName = "Quarvenses";

// How many contacts the catalog holds: QV_BENCH_CONTACTS, else 100 000.
inline int largeContacts()
{
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("QV_BENCH_CONTACTS", &ok);
    return ok && wanted > 0 ? wanted : defaultContacts;
}

class LargeCatalog {
  public:
    // With QV_BENCH_CATALOGS naming a folder, a catalog of that size and
    // login made by an earlier run is used again (a million contacts take a
    // minute to make), and one made now is kept there.
    LargeCatalog(const QString& login, const QString& password)
    {
        QDir().mkpath(commonFolder());
        qputenv("QUARVENSES_COMMON_APPDATA", commonFolder().toUtf8());
        qputenv("QUARVENSES_REGISTRY", dir_.filePath(QStringLiteral("registry.reg")).toUtf8());
        const QString kept = qEnvironmentVariable("QV_BENCH_CATALOGS");
        if (!kept.isEmpty())
            folder_ =
                QDir(kept).filePath(QStringLiteral("%1-%2-%3").arg(largeContacts()).arg(login, password));
        else
            folder_ = dir_.filePath(QStringLiteral("servidor"));
        if (!QFileInfo::exists(catalogFile()))
            make(login, password);
        windows_ = std::make_shared<platform::ScriptedWindowServices>();
        windows_->onUnexpected = [](const QString& what) {
            QTextStream(stderr) << "Caixa inesperada: " << what << '\n';
        };
        platform::WindowServices::install(windows_);
    }

    QString folder() const { return folder_; }
    QString catalogFile() const
    {
        return ado::embedded::EmbeddedServer::catalogPath(folder(), QString::fromLatin1(catalogName));
    }
    platform::ScriptedWindowServices& windows() { return *windows_; }

  private:
    QString commonFolder() const { return dir_.filePath(QStringLiteral("common")); }
    void make(const QString& login, const QString& password)
    {
        QElapsedTimer clock;
        clock.start();
        const int contacts = largeContacts();
        ado::embedded::createDemoCatalogWith(
            folder(), QString::fromLatin1(catalogName), login, password,
            [contacts](const QString& catalogPath) {
                ado::embedded::addGeneratedContacts(
                    catalogPath, ado::embedded::GeneratedContacts{contacts, &TaxNumber::checkDigit});
            });
        QTextStream(stderr) << "Catálogo de " << contacts << " contactos criado em " << clock.elapsed()
                            << " ms.\n";
    }

    QTemporaryDir dir_;
    QString folder_;
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
