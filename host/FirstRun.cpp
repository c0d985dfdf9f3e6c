#include "host/FirstRun.h"

#include "card/CardSettings.h"
#include "card/WindowPlace.h"
#include "connection/StringCipher.h"
#include "documents/ImportarFicheiro.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "settings/modRegistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace FirstRun {

namespace {

using card::tlvKey;
// Where the card first opens (twips), before the user has placed it.
constexpr int firstLeft = 1200;
constexpr int firstTop = 900;
constexpr int settingsKeyLength = 12; // hex digits naming a server folder's own settings

QString productKeyPath()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\") + QString::fromLatin1(productKey);
}

void writeString(const QString& key, const char* name, const QString& value)
{
    if (!modRegistry::GravarShadow(key, QString::fromLatin1(name), value))
        throw vb::Error(
            75, QStringLiteral("Não foi possível guardar a definição «%1».").arg(QString::fromLatin1(name)));
}

bool settingsPresent()
{
    return !modRegistry::ObterValorString(tlvKey, QStringLiteral("DataServer")).isNull();
}

void writeSettings(const QString& serverFolder)
{
    writeString(tlvKey, "DataServer", QString::fromLatin1(productKey));
    writeString(productKeyPath(), "dtSecurityInfo", QStringLiteral("False"));
    writeString(productKeyPath(), "dtUser", QString::fromLatin1(demoLogin));
    writeString(productKeyPath(), "dtPassword", StringCipher::Encipher(QString::fromLatin1(demoPassword)));
    writeString(productKeyPath(), "dtInitialCatalog", QString::fromLatin1(catalog));
    writeString(productKeyPath(), "dtDataSource", serverFolder);
}

void seedWindowValues()
{
    if (!modRegistry::ObterValorDWORD(card::windowKey, QStringLiteral("Width")).isNull())
        return;
    // AutoSize 0: the card opens where the user last left it (these values
    // until it is first closed), never re-placed by the screen's size.
    card::keepWindowPlace(
        {firstLeft, firstTop, card::designWidth, card::designHeight, card::tabIdentification});
}

} // namespace

QString defaultServerFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/servidor");
}

void chooseSettingsFolder()
{
    if (qEnvironmentVariableIsSet("QUARVENSES_COMMON_APPDATA"))
        return;
    const QString common = platform::specialFolder(35);
    if (platform::isFolderWritable(common))
        return;
    const QString own =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/definicoes");
    QDir().mkpath(own);
    qputenv("QUARVENSES_COMMON_APPDATA", own.toUtf8());
}

bool keepSettingsApartFor(const QString& serverFolder)
{
    const vb::Variant stored =
        modRegistry::ObterValorString(productKeyPath(), QStringLiteral("dtDataSource"));
    if (stored.isNull() ||
        QFileInfo(vb::CStr(stored)).absoluteFilePath() == QFileInfo(serverFolder).absoluteFilePath())
        return false;
    const QByteArray folderKey = QCryptographicHash::hash(QFileInfo(serverFolder).absoluteFilePath().toUtf8(),
                                                          QCryptographicHash::Sha1)
                                     .toHex()
                                     .left(settingsKeyLength);
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                        QStringLiteral("/definicoes-") + QString::fromLatin1(folderKey);
    QDir().mkpath(own);
    qputenv("QUARVENSES_COMMON_APPDATA", own.toUtf8());
    return true;
}

bool ensure(const QString& serverFolder)
{
    bool made = false;
    modRegistry::GarantirShadow();
    const QString catalogFile = serverFolder + u'/' + QString::fromLatin1(catalog) + QStringLiteral(".db");
    if (!QFileInfo::exists(catalogFile)) {
        ado::embedded::createCatalogFromSchema(serverFolder, QString::fromLatin1(catalog),
                                               QString::fromLatin1(demoLogin),
                                               QString::fromLatin1(demoPassword), true);
        made = true;
    }
    if (!settingsPresent()) {
        writeSettings(serverFolder);
        made = true;
    }
    seedWindowValues();
    documents::ensureArchiveRoot(QString::fromLatin1(productKey));
    return made;
}

} // namespace FirstRun
