#include "panels/ucIDEmails.h"

#include "data/FieldRules.h"

#include <QTableWidget>

ucIDEmails::ucIDEmails(QWidget* parent)
    // Column widths as in the schema.
    : RowListPanel(QStringLiteral("ucIDEmails1"), QStringLiteral("tbContactos_Emails"),
                   QStringLiteral("email_default"),
                   {{QStringLiteral("email"), QStringLiteral("Correio electrónico"), 120},
                    {QStringLiteral("descrit"), QStringLiteral("Descrição"), 60}},
                   parent)
{
    // The grid sits in a quarter of the card: the short word fits its
    // header at the card's own size; the full one shows on hover.
    table()->horizontalHeaderItem(0)->setText(QStringLiteral("E-mail"));
    table()->horizontalHeaderItem(0)->setToolTip(QStringLiteral("Correio electrónico"));
}

QString ucIDEmails::refusal(const QStringList& values, int* column) const
{
    const QString email = values.value(0).trimmed();
    if (email.isEmpty() && values.value(1).trimmed().isEmpty())
        return {};
    if (column)
        *column = 0;
    if (!FieldRules::isEmailAddress(email))
        return QStringLiteral("O endereço de correio electrónico «") + values.value(0) +
               QStringLiteral("» não é válido.");
    return {};
}

RowListPanel::QuickAction ucIDEmails::quickAction(int row) const
{
    const QString address = rowValues(row).value(0).trimmed();
    if (address.isEmpty())
        return {};
    return {QStringLiteral("Escrever a ") + address, QStringLiteral("mailto:") + address};
}
