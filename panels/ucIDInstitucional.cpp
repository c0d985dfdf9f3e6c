#include "panels/ucIDInstitucional.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

using modData::FormatSQLValue;

namespace {

const char16_t selectAreas[] =
    u"SELECT area_negocio_id, descrit FROM tbContactos_Institucionais_Areas_Negocio ORDER BY descrit";
const char16_t selectContact[] =
    u"SELECT c.nome_union, c.no_contribuinte, i.area_negocio_id FROM tbContactos c "
    u"LEFT JOIN tbContactos_Institucionais i ON i.contacto_id = c.contacto_id "
    u"WHERE c.contacto_id = %1";
const char16_t insertContact[] =
    u"INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte, created_by, created_date) "
    u"VALUES (2, %1, %2, %3, GETDATE())";
const char16_t updateContact[] =
    u"UPDATE tbContactos SET nome_union = %1, no_contribuinte = %2, modified_by = %3, "
    u"modified_date = GETDATE() WHERE contacto_id = %4";
const char16_t selectDetails[] = u"SELECT contacto_id FROM tbContactos_Institucionais WHERE contacto_id = %1";
const char16_t insertDetails[] =
    u"INSERT INTO tbContactos_Institucionais (contacto_id, area_negocio_id) VALUES (%1, %2)";
const char16_t updateDetails[] =
    u"UPDATE tbContactos_Institucionais SET area_negocio_id = %2 WHERE contacto_id = %1";

// The columns' widths in the schema.
constexpr int nomeWidth = 150;
constexpr int nifWidth = 20;

} // namespace

ucIDInstitucional::ucIDInstitucional(QWidget* parent)
    : IdentityPanel(QStringLiteral("ucIDInstitucional1"), parent)
{
    auto* form = new QFormLayout(this);
    nome_ = addField(form, QStringLiteral("txtNome"), QStringLiteral("&Nome:"), nomeWidth);
    area_ = new QComboBox(this);
    area_->setObjectName(QStringLiteral("cboArea"));
    area_->setAccessibleName(QStringLiteral("Área de negócio"));
    form->addRow(QStringLiteral("Área de ne&gócio:"), area_);
    nif_ = addField(form, QStringLiteral("txtNIF"), QStringLiteral("N&IF:"), nifWidth);
    connect(nome_, &QLineEdit::textEdited, this, [this] { emit NomeHasChanged(nome_->text()); });
    connect(area_, &QComboBox::activated, this, &ucIDInstitucional::userChanged);
}

QString ucIDInstitucional::Nome() const
{
    return vb::Trim(nome_->text());
}

QString ucIDInstitucional::TaxNumber() const
{
    return nif_->text();
}

void ucIDInstitucional::fillAreas()
{
    area_->clear();
    area_->addItem(QString(), vb::CLng(0));
    ado::Recordset rs = query(QString::fromUtf16(selectAreas));
    for (; !rs.Eof(); rs.MoveNext())
        area_->addItem(text(rs, QStringLiteral("descrit")), vb::CLng(rs(QStringLiteral("area_negocio_id"))));
    rs.Close();
}

void ucIDInstitucional::clear()
{
    nome_->clear();
    nif_->clear();
    loadedTaxNumber_.clear();
    // A new (or just converted) institution chooses its area too: the list
    // is read here when no contact was loaded before to read it.
    if (area_->count() <= 1 && db().State() == ado::adStateOpen) {
        try {
            fillAreas();
        } catch (const vb::Error&) {
            // without the list the area stays unset, as an empty choice saves it
        }
    }
    area_->setCurrentIndex(area_->count() > 0 ? 0 : -1);
}

void ucIDInstitucional::load()
{
    fillAreas();
    ado::Recordset rs = query(sql::compose(selectContact, {ContactNumber}));
    if (!rs.Eof()) {
        nome_->setText(text(rs, QStringLiteral("nome_union")));
        nif_->setText(text(rs, QStringLiteral("no_contribuinte")));
        loadedTaxNumber_ = nif_->text();
        const vb::Variant area = rs(QStringLiteral("area_negocio_id"));
        area_->setCurrentIndex(qMax(0, area_->findData(area.isNull() ? 0 : vb::CLng(area))));
    }
    rs.Close();
    emit NomeHasChanged(nome_->text());
}

QString ucIDInstitucional::Validate()
{
    if (!vb::Trim(nome_->text()).isEmpty())
        return {};
    nome_->setFocus();
    return QStringLiteral("Tem de indicar o nome da instituição.");
}

qint32 ucIDInstitucional::Save(QString& userName)
{
    try {
        if (const QString message = Validate(); !message.isEmpty()) {
            emit Error(0, message);
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
            const qint32 id = insertReturningId(sql::compose(insertContact, {name, nif, who}));
            execute(sql::compose(insertDetails, {id, areaSql}));
            ContactNumber = id;
            return id;
        }
        execute(sql::compose(updateContact, {name, nif, who, ContactNumber}));
        ado::Recordset rs = query(sql::compose(selectDetails, {ContactNumber}));
        const bool exists = !rs.Eof();
        rs.Close();
        execute(sql::compose(exists ? updateDetails : insertDetails, {ContactNumber, areaSql}));
        return -1;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return 0;
    }
}
