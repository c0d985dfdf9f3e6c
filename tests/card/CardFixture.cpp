#include "tests/card/CardFixture.h"

#include "platform/values/Variant.h"
#include "settings/modRegistry.h"

namespace cardtest {

void CardFixture::SetUp()
{
    ASSERT_TRUE(modRegistry::GarantirShadow());
    storeWindow(1);
    hostList.Open(QStringLiteral("SELECT contacto_id, nome_union FROM tbContactos ORDER BY contacto_id"),
                  Data().SqlServer);
}

void CardFixture::storeWindow(int frame)
{
    for (const auto& [name, value] : {std::pair{"Left", 600},
                                      {"Top", 600},
                                      {"Width", 15000},
                                      {"Height", 9600},
                                      {"Frame", frame},
                                      {"AutoSize", 0}})
        modRegistry::DefinirValorDWORD(windowKey, QString::fromLatin1(name), value);
}

frmInicial& CardFixture::open(int id)
{
    general.ObjectOpen(hostList, vb::Variant(id));
    return *general.card();
}

} // namespace cardtest
