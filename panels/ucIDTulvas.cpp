#include "panels/ucIDTulvas.h"

#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

#include <QComboBox>
#include <QFormLayout>

namespace {

// %1 is the types table or the file table the card names.
const char16_t selectTypes[] = u"SELECT tipo_id, descrit FROM %1 ORDER BY descrit";
const char16_t selectType[] = u"SELECT tipo_id FROM %1 WHERE contacto_id = %2";
const char16_t selectKey[] = u"SELECT contacto_id FROM %1 WHERE contacto_id = %2";
const char16_t updateType[] = u"UPDATE %1 SET tipo_id = %2 WHERE contacto_id = %3";
const char16_t insertType[] = u"INSERT INTO %1 (contacto_id, tipo_id) VALUES (%3, %2)";

} // namespace

ucIDTulvas::ucIDTulvas(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDTulvas1"), parent)
{
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0); // it sits in the card's header line, one row high
    types_ = new QComboBox(this);
    types_->setObjectName(QStringLiteral("cboTipo"));
    types_->setAccessibleName(QStringLiteral("Tipo de contacto"));
    form->addRow(QStringLiteral("Tipo de c&ontacto:"), types_);
    connect(types_, &QComboBox::currentIndexChanged, this, [this] {
        if (isLoading())
            return;
        changed_ = true;
        emit TipoChanged(currentType());
        userChanged();
    });
}

void ucIDTulvas::Initialise()
{
    LoadingScope quiet(*this);
    types_->clear();
    types_->addItem(QString(), 0);
    try {
        if (TypesTable.isEmpty() || !connectionReady())
            return;
        ado::Recordset rs = query(sql::compose(selectTypes, {TypesTable}));
        for (; !rs.Eof(); rs.MoveNext())
            types_->addItem(text(rs, QStringLiteral("descrit")), vb::CLng(rs(QStringLiteral("tipo_id"))));
        rs.Close();
    } catch (const vb::Error& e) {
        report(QStringLiteral("Initialise"), e);
    }
}

void ucIDTulvas::ShowTypes(qint16, qint16)
{
    types_->showPopup();
}

QString ucIDTulvas::currentType() const
{
    return types_->currentText();
}

void ucIDTulvas::chooseType(const QString& name)
{
    types_->setCurrentIndex(qMax(0, types_->findText(name)));
}

void ucIDTulvas::clear()
{
    types_->setCurrentIndex(types_->count() > 0 ? 0 : -1);
    changed_ = false;
}

void ucIDTulvas::load()
{
    if (FileTable.isEmpty())
        return;
    ado::Recordset rs = query(sql::compose(selectType, {FileTable, ContactNumber}));
    if (!rs.Eof() && !rs(QStringLiteral("tipo_id")).isNull())
        types_->setCurrentIndex(qMax(0, types_->findData(vb::CLng(rs(QStringLiteral("tipo_id"))))));
    rs.Close();
    changed_ = false;
    emit TipoChanged(currentType());
}

qint32 ucIDTulvas::Save(QString&)
{
    try {
        if (ContactNumber == 0 || FileTable.isEmpty() || !connectionReady())
            return 0;
        const int type = types_->currentData().toInt();
        const QString value = type > 0 ? QString::number(type) : QStringLiteral("null");
        ado::Recordset rs = query(sql::compose(selectKey, {FileTable, ContactNumber}));
        const bool exists = !rs.Eof();
        rs.Close();
        execute(sql::compose(exists ? updateType : insertType, {FileTable, value, ContactNumber}));
        changed_ = false;
        return -1;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return 0;
    }
}
