#include "panels/ucIDMoradas.h"

ucIDMoradas::ucIDMoradas(QWidget* parent)
    : RowListPanel(QStringLiteral("ucIDMoradas1"), QStringLiteral("tbContactos_Moradas"), QStringLiteral("morada_default"),
                   {{QStringLiteral("morada"), QStringLiteral("Morada")},
                    {QStringLiteral("codigo_postal"), QStringLiteral("Código postal")},
                    {QStringLiteral("localidade"), QStringLiteral("Localidade")},
                    {QStringLiteral("pais"), QStringLiteral("País")}},
                   parent)
{
}
