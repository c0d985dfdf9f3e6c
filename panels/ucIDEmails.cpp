#include "panels/ucIDEmails.h"

#include <QRegularExpression>

ucIDEmails::ucIDEmails(QWidget* parent)
    : RowListPanel(QStringLiteral("ucIDEmails1"), QStringLiteral("tbContactos_Emails"), QStringLiteral("email_default"),
                   {{QStringLiteral("email"), QStringLiteral("Correio electrónico")},
                    {QStringLiteral("descrit"), QStringLiteral("Descrição")}},
                   parent)
{
}

QString ucIDEmails::refusal(const QStringList& values) const
{
    static const QRegularExpression address(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    const QString email = values.value(0).trimmed();
    if (email.isEmpty() && values.value(1).trimmed().isEmpty())
        return {};
    if (!address.match(email).hasMatch())
        return QStringLiteral("O endereço de correio electrónico «%1» não é válido.").arg(values.value(0));
    return {};
}
