#include "panels/ucIDTulvas_Details.h"

#include "data/modData.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
const QString fileTable = QStringLiteral("tbTulvas_Contactos");
}

ucIDTulvas_Details::ucIDTulvas_Details(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDTulvas_Details1"), parent)
{
    auto* form = new QFormLayout(this);
    entrada_ = addField(form, QStringLiteral("txtEntrada"), QStringLiteral("Data de entrada:"));
    entrada_->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));
    referencia_ = addField(form, QStringLiteral("txtReferencia"), QStringLiteral("Referência:"));
    activo_ = new QCheckBox(QStringLiteral("Activo"), this);
    activo_->setObjectName(QStringLiteral("chkActivo"));
    form->addRow(QString(), activo_);
    observacoes_ = new QPlainTextEdit(this);
    observacoes_->setObjectName(QStringLiteral("txtObservacoes"));
    form->addRow(QStringLiteral("Observações do ficheiro:"), observacoes_);
    connect(activo_, &QCheckBox::toggled, this, &ucIDTulvas_Details::userChanged);
    connect(observacoes_, &QPlainTextEdit::textChanged, this, &ucIDTulvas_Details::userChanged);
}

void ucIDTulvas_Details::clear()
{
    entrada_->clear();
    referencia_->clear();
    activo_->setChecked(true);
    observacoes_->clear();
}

void ucIDTulvas_Details::load()
{
    ado::Recordset rs = query(QStringLiteral("SELECT * FROM %1 WHERE contacto_id = %2").arg(fileTable).arg(ContactNumber));
    if (!rs.Eof()) {
        const vb::Variant date = rs(QStringLiteral("data_entrada"));
        entrada_->setText(date.isNull() ? QString() : vb::Format(date, QStringLiteral("dd-mm-yyyy")));
        referencia_->setText(text(rs, QStringLiteral("referencia")));
        activo_->setChecked(!rs(QStringLiteral("activo")).isNull() && vb::CBool(rs(QStringLiteral("activo"))));
        observacoes_->setPlainText(text(rs, QStringLiteral("observacoes")));
    }
    rs.Close();
}

void ucIDTulvas_Details::PostLoad()
{
    if (referencia_->text().isEmpty())
        referencia_->setFocus();
}

qint32 ucIDTulvas_Details::Save(QString&)
{
    try {
        if (ContactNumber == 0 || !connectionReady())
            return 0;
        const QString typed = vb::Trim(entrada_->text());
        if (!typed.isEmpty() && !vb::IsDate(vb::Variant(typed))) {
            emit Error(13, QStringLiteral("A data de entrada «%1» não é uma data válida.").arg(typed));
            return 0;
        }
        const QString date = typed.isEmpty() ? QStringLiteral("null") : modData::FormatSQLValue(vb::CDate(vb::Variant(typed)), modData::kDate);
        const QString values = QStringLiteral("data_entrada = %1, referencia = %2, activo = %3, observacoes = %4")
                                   .arg(date, modData::FormatSQLValue(referencia_->text(), modData::kText))
                                   .arg(activo_->isChecked() ? 1 : 0)
                                   .arg(modData::FormatSQLValue(observacoes_->toPlainText(), modData::kText));
        ado::Recordset rs = query(QStringLiteral("SELECT contacto_id FROM %1 WHERE contacto_id = %2").arg(fileTable).arg(ContactNumber));
        const bool exists = !rs.Eof();
        rs.Close();
        if (!exists)
            execute(QStringLiteral("INSERT INTO %1 (contacto_id) VALUES (%2)").arg(fileTable).arg(ContactNumber));
        execute(QStringLiteral("UPDATE %1 SET %2 WHERE contacto_id = %3").arg(fileTable, values).arg(ContactNumber));
        return -1;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return 0;
    }
}
