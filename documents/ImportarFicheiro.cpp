#include "documents/ImportarFicheiro.h"

#include "connection/ConnectionState.h"
#include "connection/ErrorReport.h"
#include "data/TransactionScope.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"
#include "settings/modRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace documents {

namespace {

using namespace platform::msgbox;

const char16_t insertDocument[] =
    u"INSERT INTO tbArquivo_Documental (contacto_id, tipo_id, related_id, filename, path, "
    u"created_date, created_by) VALUES (%1, null, null, N'%2', N'%3', GETDATE(), %4); "
    u"SELECT @@Identity as last";
const QString productKeyPrefix = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnadel\\");
const QString rootValue = QStringLiteral("ArquivoDocumental");
const QString archiveTitle = QStringLiteral("Arquivo Documental");
const QString importTitle = QStringLiteral("Importar Ficheiro");
const QString twoLineBreaks = QStringLiteral("\n\r\n\r");

platform::WindowServices& windows()
{
    return platform::WindowServices::current();
}

void tell(const QString& text, const QString& title)
{
    windows().messageBox(text, Information, title);
}

ErrorReport::Source archiveSource()
{
    return ErrorReport::Source::custom(archiveTitle, QStringLiteral("IDArqDoc"),
                                       QStringLiteral("ucIDArqDoc"));
}

// The names in the contact's folder, read afresh each time.
bool listFolder(const QString& folder, QStringList& names)
{
    const QDir dir(folder);
    if (!dir.exists())
        return false;
    names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    return true;
}

// Who filed it: "null" for no user, the name between apostrophes otherwise.
QString createdBy()
{
    const QString& user = Conn().strUser;
    return user.isEmpty() ? QStringLiteral("null") : QStringLiteral("N'") + sql::doubled(user) + u'\'';
}

} // namespace

QString archiveRoot()
{
    const vb::Variant root =
        modRegistry::ObterValorString(productKeyPrefix + Conn().strDataServer, rootValue);
    return root.isNull() ? QString() : vb::CStr(root);
}

QString ensureArchiveRoot(const QString& productKey)
{
    const QString key = productKeyPrefix + productKey;
    const vb::Variant current = modRegistry::ObterValorString(key, rootValue);
    if (!current.isNull() && !vb::CStr(current).isEmpty())
        return vb::CStr(current);
    const QString root = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/quarvenses/arquivo");
    QDir().mkpath(root);
    modRegistry::GarantirShadow();
    modRegistry::GravarShadow(key, rootValue, root);
    return root;
}

QString freeName(const QString& fileName, const QStringList& taken)
{
    QString candidate = fileName;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    for (int k = 1; taken.contains(candidate, Qt::CaseSensitive); ++k)
        candidate = dot < 0 ? fileName + u'_' + QString::number(k)
                            : fileName.left(dot) + u'_' + QString::number(k) + fileName.mid(dot);
    return candidate;
}

QString ImportarFicheiro(const QString& sourcePath, qint32 contactoId, QWidget* window)
{
    struct PointerBack {
        QWidget* window;
        ~PointerBack()
        {
            if (window)
                platform::WindowServices::current().setMousePointer(window, platform::pointer::Default);
        }
    } pointerBack{window};
    if (sourcePath.isEmpty())
        return {};
    const qsizetype slash = sourcePath.lastIndexOf(u'/');
    const QString fileName = slash < 0 ? QString() : sourcePath.mid(slash + 1);
    const QString root = archiveRoot();
    if (root.isEmpty()) {
        tell(QStringLiteral("Não pode anexar o ficheiro porque não foi possível determinar o directório de "
                            "armazenamento."),
             archiveTitle);
        return {};
    }
    const QString folder = root + u'/' + QString::number(contactoId);
    QStringList names;
    // Only the contact's folder is made: a root that is not there (a share
    // not mounted) is a failure, never a local folder in its place.
    const bool rootThere = QDir(root).exists();
    if (!rootThere || !QDir(root).mkpath(QString::number(contactoId)) || !listFolder(folder, names)) {
        tell(QStringLiteral("Ocorreu um erro na abertura da pasta de armazenamento.") + twoLineBreaks +
                 (rootThere ? QStringLiteral("Não foi possível criar ou ler a pasta «") + folder +
                                  QStringLiteral("».")
                            : QStringLiteral("A pasta do arquivo documental «") + root +
                                  QStringLiteral("» não existe ou não está acessível.")),
             importTitle);
        return {};
    }
    const QString archived = fileName.isEmpty() ? QString() : freeName(fileName, names);
    const QString target = folder + u'/' + archived;
    QFile source(sourcePath);
    if (archived.isEmpty() || !source.copy(target)) {
        tell(QStringLiteral("Ocorreu um erro na importação do ficheiro.") + twoLineBreaks +
                 (archived.isEmpty() ? QStringLiteral("O caminho não indica um ficheiro.")
                                     : source.errorString()),
             importTitle);
        return {};
    }
    TransactionScope unit;
    try {
        unit.begin();
        Data().SqlServer.Execute(sql::compose(
            insertDocument, {contactoId, sql::doubled(archived), sql::doubled(folder + u'/'), createdBy()}));
        unit.commit();
    } catch (const vb::Error& e) {
        unit.rollback();
        QFile::remove(target); // no file stays without its row
        ErrorReport::send(archiveSource(), QStringLiteral("mnImportarFicheiro_Click"), e);
        return {};
    }
    return target;
}

} // namespace documents
