#include "panels/ucIDTelefones.h"

#include "data/FieldRules.h"

ucIDTelefones::ucIDTelefones(QWidget* parent)
    // Column widths as in the schema.
    : RowListPanel(QStringLiteral("ucIDTelefones1"), QStringLiteral("tbContactos_Telefones"),
                   QStringLiteral("telefone_default"),
                   {{QStringLiteral("numero"), QStringLiteral("Número"), 30},
                    {QStringLiteral("tipo"), QStringLiteral("Tipo"), 20}},
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

QString ucIDTelefones::refusal(const QStringList& values, int* column) const
{
    if (column)
        *column = 0;
    if (!values.value(0).trimmed().isEmpty() && !FieldRules::isTelephoneNumber(values.value(0)))
        return QStringLiteral("O número de telefone «") + values.value(0) + QStringLiteral("» não é válido.");
    return {};
}

RowListPanel::QuickAction ucIDTelefones::quickAction(int row) const
{
    const QString number = rowValues(row).value(0).trimmed();
    if (number.isEmpty())
        return {};
    // A tel: address holds the digits and the leading "+" only.
    QString dialled;
    for (const QChar c : number)
        if (c.isDigit() || (c == u'+' && dialled.isEmpty()))
            dialled += c;
    return {QStringLiteral("Ligar para ") + number, QStringLiteral("tel:") + dialled};
}
