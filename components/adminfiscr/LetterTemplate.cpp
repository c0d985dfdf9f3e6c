#include "components/adminfiscr/LetterTemplate.h"

#include "components/adminfiscr/GeneratorSettings.h"
#include "platform/values/VbError.h"

#include <QFile>
#include <QRegularExpression>

namespace adminfiscr {

namespace {

constexpr int pathAccessError = 75; // VB's "Path/File access error"

// A business letter on A4: letterhead, the addressee where a window envelope
// shows it, place and date, subject, greeting, body, closing and signature.
const char builtIn[] = R"(<!DOCTYPE html>
<html lang="pt-PT">
<head>
<meta charset="utf-8">
<title>{{assunto}}</title>
</head>
<body style="font-family: 'DejaVu Serif'; font-size: 11pt;">
<p style="font-size: 16pt; font-weight: bold; margin-bottom: 2px;">{{empresa}}</p>
<p style="font-size: 8.5pt; color: #505050; margin-top: 0;">{{remetente}}</p>
<hr>
<table width="100%" cellspacing="0" cellpadding="0" style="margin-top: 64px;">
<tr><td width="52%"></td><td>{{nome}}<br>{{endereco}}</td></tr>
</table>
<p align="right" style="margin-top: 48px;">{{data}}</p>
<p style="margin-top: 28px;"><b>Assunto:</b> {{assunto}}</p>
<p style="margin-top: 20px;">{{saudacao}}</p>
<p align="justify">Vimos por este meio pedir a {{tratamento}} que {{confirme}} os dados de contacto que constam
do nosso ficheiro e que utilizamos em toda a correspondência que {{lhe}} dirigimos:</p>
<table cellspacing="0" cellpadding="3" style="margin-left: 36px;">
<tr><td>Número de contribuinte:</td><td>{{nif}}</td></tr>
<tr><td>Telefone:</td><td>{{telefone}}</td></tr>
<tr><td>Correio electrónico:</td><td>{{email}}</td></tr>
</table>
<p align="justify">Caso algum destes elementos, ou a morada para onde enviamos esta carta, não esteja
correcto ou tenha sido alterado, agradecemos que nos {{informe}}, para que possamos manter os nossos registos
actualizados. Estamos ao dispor de {{tratamento}} para qualquer esclarecimento adicional.</p>
<p style="margin-top: 20px;">Com os melhores cumprimentos,</p>
<p style="margin-top: 56px;">{{assinatura}}<br>{{empresa}}</p>
</body>
</html>
)";

QString escaped(const QString& value)
{
    return value.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

} // namespace

QString builtInTemplate()
{
    return QString::fromUtf8(builtIn);
}

// A site's template that is there but cannot be read fails the letter:
// sending the built-in one instead would go unnoticed.
QString letterTemplate()
{
    const QString path = templatePath();
    if (!QFile::exists(path))
        return builtInTemplate();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw vb::Error(pathAccessError, QStringLiteral("Não foi possível ler o modelo de carta ") + path +
                                             QStringLiteral(": ") + file.errorString());
    return QString::fromUtf8(file.readAll());
}

QString merge(const QString& templateText, const MergeFields& fields, Escaping escaping)
{
    static const QRegularExpression field(QStringLiteral("\\{\\{\\s*([A-Za-z_]+)\\s*\\}\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = field.globalMatch(templateText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(templateText).mid(from, m.capturedStart() - from);
        const auto value = fields.constFind(m.captured(1).toLower());
        if (value == fields.constEnd())
            out += m.captured(0);
        else
            out += escaping == Escaping::Html ? escaped(*value) : *value;
        from = m.capturedEnd();
    }
    out += QStringView(templateText).mid(from);
    return out;
}

} // namespace adminfiscr
