#include "panels/ucIDInstitucional.h"

#include "data/modData.h"
#include "platform/values/Conversions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

using modData::FormatSQLValue;

ucIDInstitucional::ucIDInstitucional(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDInstitucional1"), parent)
{
    auto* form = new QFormLayout(this);
    nome_ = addField(form, QStringLiteral("txtNome"), QStringLiteral("Nome:"));
    area_ = new QComboBox(this);
    area_->setObjectName(QStringLiteral("cboArea"));
    form->addRow(QStringLiteral("Área de negócio:"), area_);
    nif_ = addField(form, QStringLiteral("txtNIF"), QStringLiteral("NIF:"));
    connect(nome_, &QLineEdit::textEdited, this, [this] { emit NomeHasChanged(nome_->text()); });
    connect(area_, &QComboBox::activated, this, &ucIDInstitucional::userChanged);
}

QString ucIDInstitucional::TaxNumber() const
{
    return nif_->text();
}

void ucIDInstitucional::fillAreas()
{
    area_->clear();
    area_->addItem(QString(), vb::CLng(0));
    ado::Recordset rs = query(QStringLiteral("SELECT area_negocio_id, descrit FROM tbContactos_Institucionais_Areas_Negocio ORDER BY descrit"));
    for (; !rs.Eof(); rs.MoveNext())
        area_->addItem(text(rs, QStringLiteral("descrit")), vb::CLng(rs(QStringLiteral("area_negocio_id"))));
    rs.Close();
}

void ucIDInstitucional::clear()
{
    nome_->clear();
    nif_->clear();
    area_->setCurrentIndex(area_->count() > 0 ? 0 : -1);
}

void ucIDInstitucional::load()
{
    fillAreas();
    ado::Recordset rs = query(QStringLiteral("SELECT c.nome_union, c.no_contribuinte, i.area_negocio_id FROM tbContactos c "
                                             "LEFT JOIN tbContactos_Institucionais i ON i.contacto_id = c.contacto_id "
                                             "WHERE c.contacto_id = %1")
                                  .arg(ContactNumber));
    if (!rs.Eof()) {
        nome_->setText(text(rs, QStringLiteral("nome_union")));
        nif_->setText(text(rs, QStringLiteral("no_contribuinte")));
        const vb::Variant area = rs(QStringLiteral("area_negocio_id"));
        area_->setCurrentIndex(qMax(0, area_->findData(area.isNull() ? 0 : vb::CLng(area))));
    }
    rs.Close();
    emit NomeHasChanged(nome_->text());
}

qint32 ucIDInstitucional::Save(QString& userName)
{
    try {
        if (vb::Trim(nome_->text()).isEmpty()) {
            emit Error(0, QStringLiteral("Tem de indicar o nome da instituição."));
            return 0;
        }
        if (!connectionReady())
            return 0;
        const qint32 area = area_->currentData().toInt();
        const QString areaSql = area > 0 ? QString::number(area) : QStringLiteral("null");
        const QString name = FormatSQLValue(nome_->text(), modData::kText);
        const QString nif = FormatSQLValue(nif_->text(), modData::kText);
        const QString who = FormatSQLValue(userName, modData::kText);
        if (ContactNumber == 0) {
            const qint32 id = insertReturningId(QStringLiteral("INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte, "
                                                               "created_by, created_date) VALUES (2, %1, %2, %3, GETDATE())")
                                                    .arg(name, nif, who));
            execute(QStringLiteral("INSERT INTO tbContactos_Institucionais (contacto_id, area_negocio_id) VALUES (%1, %2)")
                        .arg(id)
                        .arg(areaSql));
            ContactNumber = id;
            return id;
        }
        execute(QStringLiteral("UPDATE tbContactos SET nome_union = %1, no_contribuinte = %2, modified_by = %3, "
                               "modified_date = GETDATE() WHERE contacto_id = %4")
                    .arg(name, nif, who)
                    .arg(ContactNumber));
        ado::Recordset rs = query(QStringLiteral("SELECT contacto_id FROM tbContactos_Institucionais WHERE contacto_id = %1").arg(ContactNumber));
        const bool exists = !rs.Eof();
        rs.Close();
        execute(exists ? QStringLiteral("UPDATE tbContactos_Institucionais SET area_negocio_id = %2 WHERE contacto_id = %1")
                             .arg(ContactNumber)
                             .arg(areaSql)
                       : QStringLiteral("INSERT INTO tbContactos_Institucionais (contacto_id, area_negocio_id) VALUES (%1, %2)")
                             .arg(ContactNumber)
                             .arg(areaSql));
        return -1;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return 0;
    }
}
