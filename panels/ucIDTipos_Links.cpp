#include "panels/ucIDTipos_Links.h"

#include "data/modData.h"
#include "platform/values/Conversions.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

ucIDTipos_Links::ucIDTipos_Links(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDTipos_Links1"), parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ficheiros a que pertence:"), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstFicheiros"));
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
    ado::Recordset rs = query(QStringLiteral("SELECT tbContactos_Tipos.descrit, tbContactos_Tipos.inactivo FROM tbContactos_Tipos_Links "
                                             "LEFT JOIN tbContactos_Tipos ON tbContactos_Tipos_Links.contacto_tipo_id = "
                                             "tbContactos_Tipos.contacto_tipo_id WHERE tbContactos_Tipos_Links.contacto_id = %1 "
                                             "ORDER BY tbContactos_Tipos.descrit")
                                  .arg(ContactNumber));
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
        ado::Recordset rs = query(QStringLiteral("SELECT contacto_tipo_id, related FROM tbContactos_Tipos WHERE descrit = %1")
                                      .arg(modData::FormatSQLValue(file, modData::kTextNotNull)));
        if (rs.Eof()) {
            rs.Close();
            return false;
        }
        const qint32 type = vb::CLng(rs(QStringLiteral("contacto_tipo_id")));
        const QString table = text(rs, QStringLiteral("related"));
        rs.Close();
        execute(QStringLiteral("DELETE FROM tbContactos_Tipos_Links WHERE contacto_id = %1 AND contacto_tipo_id = %2").arg(contactoId).arg(type));
        if (!table.isEmpty()) {
            execute(QStringLiteral("DELETE FROM %1_Permitions WHERE contacto_id = %2").arg(table).arg(contactoId));
            execute(QStringLiteral("DELETE FROM %1 WHERE contacto_id = %2").arg(table).arg(contactoId));
        }
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
