#include "panels/ucIDMoradas.h"

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
