#include "settings/modRegistry.h"

#include "connection/ErrorReport.h"
#include "platform/folders/SpecialFolders.h"
#include "platform/registry/Registry.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"
#include "platform/windows/MessageStyle.h"
#include "platform/windows/WindowServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace modRegistry {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
// "SREF=" chains longer than this are loops (or nonsense): the value is absent.
constexpr int kMaxRedirections = 16;

void report(const char* procedure, const vb::Error& e)
{
    ErrorReport::send(ErrorReport::Origin::SettingsStore, QString::fromLatin1(procedure), e);
}

QString prefixOf(const QString& chave, const QString& valor)
{
    return chave + QLatin1Char(':') + valor + QLatin1Char('=');
}

// The lines of the shadow file without their ends; nothing when it cannot
// be read.
std::optional<QStringList> readLines()
{
    QFile file(FicheiroShadow());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = QString::fromUtf8(file.readAll());
    text.replace(kCrLf, QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool canWriteIn(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/TempXPTOPelmor.txt"));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = probe.write("TESTE\r\n") == 7;
    probe.close();
    // Every process probes with the same name: one that finds the probe
    // already removed by another has still written in the folder.
    const bool removed = ::unlink(QFile::encodeName(probe.fileName()).constData()) == 0 || errno == ENOENT;
    return removed && written;
}

// Rewrites of the shadow file are serialised between processes, and the new
// file replaces the old one by rename, so a reader never sees half a file.
class ShadowLock {
  public:
    ShadowLock() : lock_(PastaShadow() + QStringLiteral("/RegShadow.lock")) { lock_.setStaleLockTime(30000); }
    bool acquire() { return lock_.tryLock(20000); }

  private:
    QLockFile lock_;
};

// The new contents go to RegShadow.tmp, which then replaces RegShadow.db by
// rename: a reader sees the old file or the new one, never half of one.
void writeLines(const QStringList& lines)
{
    const QString temporary = FicheiroShadowTemporario();
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw vb::Error(75, QStringLiteral("Path/File access error"), temporary);
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += (line + kCrLf).toUtf8();
    const bool written = out.write(bytes) == bytes.size() && out.flush() && ::fsync(out.handle()) == 0;
    out.close();
    if (!written || ::rename(QFile::encodeName(temporary).constData(),
                             QFile::encodeName(FicheiroShadow()).constData()) != 0) {
        QFile::remove(temporary);
        throw vb::Error(75, QStringLiteral("Path/File access error"), FicheiroShadow());
    }
}

bool openFor(QString& chave, quint32 access, platform::Registry& reg, quint32& key)
{
    quint32 raiz = 0;
    QString subChave;
    if (!FormatarChave(chave, raiz, subChave))
        return false;
    key = reg.openKey(raiz, subChave, access);
    return key != 0;
}

} // namespace

QString ObterPastaEspecial(int pasta)
{
    try {
        QString path = platform::specialFolder(pasta).trimmed();
        const int zero = path.indexOf(QChar(0));
        if (zero >= 0)
            path.truncate(zero);
        return path.trimmed();
    } catch (const vb::Error& e) {
        report("ObterPastaEspecial", e);
        return QString();
    }
}

QString PastaShadow()
{
    return ObterPastaEspecial(platform::folder::CommonAppData) + QStringLiteral("/Pelmor Software");
}
QString FicheiroShadow()
{
    return PastaShadow() + QStringLiteral("/RegShadow.db");
}
QString FicheiroShadowTemporario()
{
    return PastaShadow() + QStringLiteral("/RegShadow.tmp");
}

quint32 ObterHandleChavePrincipal(const QString& nome)
{
    return platform::rootHandle(nome);
}

bool FormatarChave(QString& chave, quint32& raiz, QString& subChave)
{
    if (!chave.startsWith(QLatin1String("HKEY_")) || chave.endsWith(QLatin1Char('\\'))) {
        platform::WindowServices::current().messageBox(QStringLiteral("Formato Incorrecto:\n\n") + chave,
                                                       platform::msgbox::OKOnly, QString());
        return false;
    }
    const int slash = chave.indexOf(QLatin1Char('\\'));
    const QString nome = slash >= 0 ? chave.left(slash) : chave;
    subChave = slash >= 0 ? chave.mid(slash + 1) : QString();
    raiz = ObterHandleChavePrincipal(nome);
    return true;
}

vb::Variant ValorString(QString& chave, QString& valor)
{
    try {
        platform::Registry& reg = platform::Registry::current();
        quint32 key = 0;
        if (!openFor(chave, platform::access::Read, reg, key))
            return vb::Variant::null();
        const std::optional<platform::RegValue> v = reg.queryValue(key, valor);
        reg.closeKey(key);
        if (!v || v->type != platform::RegValue::Type::String)
            return vb::Variant::null();
        QString text = v->text.left(3499);
        const int zero = text.indexOf(QChar(0));
        if (zero >= 0)
            text.truncate(zero);
        return vb::Variant(vb::LTrim(text));
    } catch (const vb::Error& e) {
        report("ValorString", e);
        return vb::Variant::null();
    }
}

vb::Variant ValorDWORD(QString& chave, QString& valor)
{
    try {
        platform::Registry& reg = platform::Registry::current();
        quint32 key = 0;
        if (!openFor(chave, platform::access::Read, reg, key))
            return vb::Variant::null();
        const std::optional<platform::RegValue> v = reg.queryValue(key, valor);
        reg.closeKey(key);
        if (!v || v->type != platform::RegValue::Type::Dword)
            return vb::Variant::null();
        return vb::Variant::fromLong(qint32(v->number));
    } catch (const vb::Error& e) {
        report("ValorDWORD", e);
        return vb::Variant::null();
    }
}

bool GarantirShadow()
{
    try {
        const QString pasta = PastaShadow();
        if (!QFileInfo::exists(FicheiroShadow())) {
            QDir().mkpath(pasta);
            if (!canWriteIn(pasta))
                return false;
            QFile file(FicheiroShadow());
            return file.open(QIODevice::WriteOnly | QIODevice::Append);
        }
        return canWriteIn(pasta);
    } catch (const vb::Error& e) {
        report("GarantirShadow", e);
        return false;
    }
}

QString LerShadow(const QString& chave, const QString& valor)
{
    try {
        const std::optional<QStringList> lines = readLines();
        if (!lines || lines->isEmpty() || lines->first().isEmpty())
            return QString();
        const QString prefix = prefixOf(chave, valor);
        for (const QString& line : *lines) {
            if (line.size() > prefix.size() && line.startsWith(prefix, Qt::CaseInsensitive))
                return line.mid(prefix.size());
        }
        return QString();
    } catch (const vb::Error& e) {
        report("LerShadow", e);
        return QString();
    }
}

bool GravarShadow(const QString& chave, const QString& valor, const QString& texto)
{
    try {
        ShadowLock lock;
        if (!lock.acquire())
            throw vb::Error(70, QStringLiteral("Permission denied"), FicheiroShadow());
        const std::optional<QStringList> lines = readLines();
        if (!lines)
            throw vb::Error(53, QStringLiteral("File not found"), FicheiroShadow());
        const QString prefix = prefixOf(chave, valor);
        const QString full = prefix + texto;
        if (lines->contains(full))
            return true;
        QStringList rewritten;
        bool replaced = false;
        for (const QString& line : *lines) {
            if (!line.startsWith(prefix, Qt::CaseInsensitive)) {
                rewritten << line;
            } else if (!replaced) {
                rewritten << full;
                replaced = true;
            }
        }
        if (!replaced)
            rewritten << full;
        writeLines(rewritten);
        return true;
    } catch (const vb::Error& e) {
        report("GravarShadow", e);
        return false;
    }
}

namespace {

// A value found anywhere stays; a missing one becomes the default, which is
// also written to the shadow file when that file exists.
vb::Variant resultadoOuPadrao(const vb::Variant& resultado, QString& chave, QString& valor,
                              const vb::Variant& padrao)
{
    if (!resultado.isNull())
        return resultado;
    if (!padrao.isNull() && QFileInfo::exists(FicheiroShadow()))
        GravarShadow(chave, valor, vb::CStr(padrao));
    return padrao;
}

} // namespace

vb::Variant ObterValorString(QString& chave, QString& valor, const vb::Variant& padrao, bool& semShadow)
{
    try {
        QString texto = semShadow ? QString() : LerShadow(chave, valor);
        if (!texto.isEmpty())
            return vb::Variant(texto);
        QString caminho = chave;
        vb::Variant resultado = ValorString(caminho, valor);
        for (int passo = 0;
             resultado.isString() && resultado.get<QString>()->startsWith(QLatin1String("SREF=")); ++passo) {
            if (passo == kMaxRedirections) {
                resultado = vb::Variant::null();
                break;
            }
            caminho = resultado.get<QString>()->mid(5);
            resultado = ValorString(caminho, valor);
        }
        return resultadoOuPadrao(resultado, caminho, valor, padrao);
    } catch (const vb::Error& e) {
        report("ObterValorString", e);
        return vb::Variant::null();
    }
}

vb::Variant ObterValorString(const QString& chave, const QString& valor, const vb::Variant& padrao)
{
    QString c = chave, v = valor;
    bool semShadow = false;
    return ObterValorString(c, v, padrao, semShadow);
}

vb::Variant ObterValorDWORD(QString& chave, QString& valor, const vb::Variant& padrao)
{
    try {
        const QString texto = LerShadow(chave, valor);
        if (!texto.isEmpty())
            return vb::Variant(texto);
        vb::Variant resultado = ValorDWORD(chave, valor);
        return resultadoOuPadrao(resultado, chave, valor, padrao);
    } catch (const vb::Error& e) {
        report("ObterValorDWORD", e);
        return vb::Variant::null();
    }
}

vb::Variant ObterValorDWORD(const QString& chave, const QString& valor, const vb::Variant& padrao)
{
    QString c = chave, v = valor;
    return ObterValorDWORD(c, v, padrao);
}

vb::Variant DefinirValorDWORD(QString& chave, QString& valor, qint32 numero)
{
    try {
        if (GarantirShadow() && GravarShadow(chave, valor, QString::number(numero)))
            return vb::Variant(true);
        platform::Registry& reg = platform::Registry::current();
        quint32 key = 0;
        if (openFor(chave, platform::access::Write, reg, key)) {
            reg.setDword(key, valor, quint32(numero));
            reg.closeKey(key);
        }
        return vb::Variant();
    } catch (const vb::Error& e) {
        report("DefinirValorDWORD", e);
        return vb::Variant();
    }
}

vb::Variant DefinirValorDWORD(const QString& chave, const QString& valor, qint32 numero)
{
    QString c = chave, v = valor;
    return DefinirValorDWORD(c, v, numero);
}

QStringList LinhasShadow()
{
    return readLines().value_or(QStringList());
}

} // namespace modRegistry
