#include "panels/ucIDTipos_Links.h"

#include "data/modData.h"
#include "permissions/RemoveFromFile.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

const char16_t selectFiles[] =
    u"SELECT tbContactos_Tipos.descrit, tbContactos_Tipos.inactivo FROM tbContactos_Tipos_Links "
    u"LEFT JOIN tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = "
    u"tbContactos_Tipos.contacto_tipo_id WHERE tbContactos_Tipos_Links.contacto_id = %1 "
    u"ORDER BY tbContactos_Tipos.descrit";

} // namespace

ucIDTipos_Links::ucIDTipos_Links(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDTipos_Links1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ficheiros a que pertence:"), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstFicheiros"));
    list_->setAccessibleName(QStringLiteral("Ficheiros a que pertence"));
    layout->addWidget(list_);
}

QStringList ucIDTipos_Links::files() const
{
    QStringList names;
    for (int i = 0; i < list_->count(); ++i)
        names.append(list_->item(i)->text());
    return names;
}

void ucIDTipos_Links::clear()
{
    list_->clear();
}

void ucIDTipos_Links::load()
{
    ado::Recordset rs = query(sql::compose(selectFiles, {ContactNumber}));
    for (; !rs.Eof(); rs.MoveNext())
        if (!rs(QStringLiteral("descrit")).isNull())
            list_->addItem(text(rs, QStringLiteral("descrit")));
    rs.Close();
}

bool ucIDTipos_Links::RemoveFromFile(qint32 contactoId, const QString& file)
{
    try {
        if (!connectionReady())
            return false;
        if (!membership::RemoveFromFile(contactoId, file))
            return false;
        if (contactoId == ContactNumber) {
            qint32 id = ContactNumber;
            LoadContact(id);
        }
        return true;
    } catch (const vb::Error& e) {
        report(QStringLiteral("RemoveFromFile"), e);
        return false;
    }
}
