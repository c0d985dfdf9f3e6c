#pragma once
// The settings store: values addressed like registry values (a full key path
// beginning with a root-key name, and a value name), read from a plain-text
// shadow file before the registry, and written to the shadow file unless it
// cannot be used. The shadow file lets users who may not write the machine's
// keys keep their settings. Other family members read the same file.
#include "platform/values/Variant.h"

#include <QString>
#include <QtGlobal>

namespace modRegistry {

vb::Variant ObterValorString(QString& chave, QString& valor, const vb::Variant& padrao, bool& semShadow);
vb::Variant ObterValorString(const QString& chave, const QString& valor,
                             const vb::Variant& padrao = vb::Variant::null());
vb::Variant ObterValorDWORD(QString& chave, QString& valor, const vb::Variant& padrao);
vb::Variant ObterValorDWORD(const QString& chave, const QString& valor,
                            const vb::Variant& padrao = vb::Variant::null());
// True when the shadow file took the value, else Empty.
vb::Variant DefinirValorDWORD(QString& chave, QString& valor, qint32 numero);
vb::Variant DefinirValorDWORD(const QString& chave, const QString& valor, qint32 numero);

// The registry alone: the value, or Null.
vb::Variant ValorString(QString& chave, QString& valor);
vb::Variant ValorDWORD(QString& chave, QString& valor);

// Splits a full path into its root handle and sub-key path; false (after a
// message) for a path that is not one.
bool FormatarChave(QString& chave, quint32& raiz, QString& subChave);
quint32 ObterHandleChavePrincipal(const QString& nome);

bool GarantirShadow();
QString LerShadow(const QString& chave, const QString& valor);
bool GravarShadow(const QString& chave, const QString& valor, const QString& texto);

QString ObterPastaEspecial(int pasta);

// The shadow file's folder, file and rewrite file.
QString PastaShadow();
QString FicheiroShadow();
QString FicheiroShadowTemporario();

// The entries of the shadow file, line by line (for tools).
QStringList LinhasShadow();

} // namespace modRegistry
