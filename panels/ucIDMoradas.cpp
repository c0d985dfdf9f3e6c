#include "panels/ucIDMoradas.h"

#include <QUrl>

#include "data/FieldRules.h"

namespace {

enum Column { Morada, CodigoPostal, Localidade, Pais };

} // namespace

ucIDMoradas::ucIDMoradas(QWidget* parent)
    // Column widths as in the schema.
    : RowListPanel(QStringLiteral("ucIDMoradas1"), QStringLiteral("tbContactos_Moradas"),
                   QStringLiteral("morada_default"),
                   {{QStringLiteral("morada"), QStringLiteral("Morada"), 200},
                    {QStringLiteral("codigo_postal"), QStringLiteral("Código postal"), 12},
                    {QStringLiteral("localidade"), QStringLiteral("Localidade"), 60},
                    {QStringLiteral("pais"), QStringLiteral("País"), 60}},
                   parent)
{
}

QString ucIDMoradas::refusal(const QStringList& values, int* column) const
{
    const QString code = values.value(CodigoPostal).trimmed();
    if (code.isEmpty() || FieldRules::isPostalCodeFor(code, values.value(Pais)))
        return {};
    if (column)
        *column = CodigoPostal;
    return QStringLiteral("O código postal «") + values.value(CodigoPostal) +
           QStringLiteral("» não é válido: em Portugal escreve-se NNNN-NNN (por exemplo, 1100-148).");
}

RowListPanel::QuickAction ucIDMoradas::quickAction(int row) const
{
    QStringList parts = rowValues(row);
    for (QString& part : parts)
        part = part.simplified();
    parts.removeAll(QString());
    if (parts.isEmpty())
        return {};
    const QString address = parts.join(QStringLiteral(", "));
    return {QStringLiteral("Ver no mapa"), QStringLiteral("https://www.openstreetmap.org/search?query=") +
                                               QString::fromLatin1(QUrl::toPercentEncoding(address))};
}
