#include "panels/ucIDTelefones.h"

#include <QRegularExpression>

ucIDTelefones::ucIDTelefones(QWidget* parent)
    : RowListPanel(QStringLiteral("ucIDTelefones1"), QStringLiteral("tbContactos_Telefones"),
                   QStringLiteral("telefone_default"),
                   {{QStringLiteral("numero"), QStringLiteral("Número")}, {QStringLiteral("tipo"), QStringLiteral("Tipo")}},
                   parent)
{
}

void ucIDTelefones::AddNumber(const QString& number)
{
    if (!number.trimmed().isEmpty())
        addRow({number.trimmed(), QStringLiteral("Telefone")}, rowCount() == 0);
}

void ucIDTelefones::Refresh()
{
    qint32 id = ContactNumber;
    LoadContact(id);
}

QString ucIDTelefones::refusal(const QStringList& values) const
{
    static const QRegularExpression number(QStringLiteral("^\\+?[0-9 ()./-]{3,30}$"));
    if (!values.value(0).trimmed().isEmpty() && !number.match(values.value(0).trimmed()).hasMatch())
        return QStringLiteral("O número de telefone «%1» não é válido.").arg(values.value(0));
    return {};
}
