#include "panels/ucIDTulvas_Details.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace {

const char16_t selectRow[] = u"SELECT * FROM tbTulvas_Contactos WHERE contacto_id = %1";
const char16_t selectKey[] = u"SELECT contacto_id FROM tbTulvas_Contactos WHERE contacto_id = %1";
const char16_t insertRow[] = u"INSERT INTO tbTulvas_Contactos (contacto_id) VALUES (%1)";
const char16_t updateRow[] =
    u"UPDATE tbTulvas_Contactos SET data_entrada = %1, referencia = %2, activo = %3, observacoes = %4 "
    u"WHERE contacto_id = %5";

constexpr int referenciaWidth = 30; // the column's width in the schema

constexpr int observationLines = 3;

} // namespace

ucIDTulvas_Details::ucIDTulvas_Details(QWidget* parent)
    : IdentityPanel(QStringLiteral("ucIDTulvas_Details1"), parent)
{
    auto* form = new QFormLayout(this);
    entrada_ = addField(form, QStringLiteral("txtEntrada"), QStringLiteral("Data de &entrada:"));
    entrada_->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));
    referencia_ =
        addField(form, QStringLiteral("txtReferencia"), QStringLiteral("&Referência:"), referenciaWidth);
    activo_ = new QCheckBox(QStringLiteral("Acti&vo"), this);
    activo_->setObjectName(QStringLiteral("chkActivo"));
    form->addRow(QString(), activo_);
    observacoes_ = new QPlainTextEdit(this);
    observacoes_->setObjectName(QStringLiteral("txtObservacoes"));
    observacoes_->setAccessibleName(QStringLiteral("Observações do ficheiro"));
    watchForNul(observacoes_, observacoes_->accessibleName());
    observacoes_->setTabChangesFocus(true);
    // Room for a few lines of notes, not one.
    observacoes_->setMinimumHeight(observacoes_->fontMetrics().lineSpacing() * observationLines +
                                   2 * observacoes_->frameWidth() +
                                   2 * int(observacoes_->document()->documentMargin()));
    form->addRow(QStringLiteral("Observações do ficheiro:"), observacoes_);
    connect(activo_, &QCheckBox::toggled, this, &ucIDTulvas_Details::userChanged);
    connect(observacoes_, &QPlainTextEdit::textChanged, this, &ucIDTulvas_Details::userChanged);
}

void ucIDTulvas_Details::clear()
{
    entrada_->clear();
    storedEntrada_ = vb::Variant::null();
    shownEntrada_.clear();
    referencia_->clear();
    activo_->setChecked(true);
    observacoes_->clear();
}

void ucIDTulvas_Details::load()
{
    ado::Recordset rs = query(sql::compose(selectRow, {ContactNumber}));
    if (!rs.Eof()) {
        const vb::Variant date = rs(QStringLiteral("data_entrada"));
        entrada_->setText(date.isNull() ? QString() : vb::Format(date, QStringLiteral("dd-mm-yyyy")));
        storedEntrada_ = date;
        shownEntrada_ = entrada_->text();
        referencia_->setText(text(rs, QStringLiteral("referencia")));
        activo_->setChecked(!rs(QStringLiteral("activo")).isNull() &&
                            vb::CBool(rs(QStringLiteral("activo"))));
        observacoes_->setPlainText(text(rs, QStringLiteral("observacoes")));
    }
    rs.Close();
}

void ucIDTulvas_Details::PostLoad()
{
    if (referencia_->text().isEmpty())
        referencia_->setFocus();
}

QString ucIDTulvas_Details::Validate()
{
    const QString typed = vb::Trim(entrada_->text());
    if (typed.isEmpty() || vb::IsDate(vb::Variant(typed)))
        return {};
    entrada_->setFocus();
    return QStringLiteral("A data de entrada «") + typed + QStringLiteral("» não é uma data válida.");
}

qint32 ucIDTulvas_Details::Save(QString&)
{
    try {
        if (ContactNumber == 0 || !connectionReady())
            return 0;
        const QString typed = vb::Trim(entrada_->text());
        if (const QString message = Validate(); !message.isEmpty()) {
            emit Error(vb::errnum::TypeMismatch, message);
            return 0;
        }
        // The field shows the day only: a stored moment the user did not
        // retype keeps its column as it is, time of day included; so does an
        // entry date the filing gave a new contact while the field was empty.
        const bool retyped = entrada_->text() != shownEntrada_;
        const QString date = !retyped ? QStringLiteral("data_entrada")
                             : typed.isEmpty()
                                 ? QStringLiteral("null")
                                 : modData::FormatSQLValue(vb::CDate(vb::Variant(typed)), modData::kDate);
        ado::Recordset rs = query(sql::compose(selectKey, {ContactNumber}));
        const bool exists = !rs.Eof();
        rs.Close();
        if (!exists)
            execute(sql::compose(insertRow, {ContactNumber}));
        execute(sql::compose(updateRow, {date, modData::FormatSQLValue(referencia_->text(), modData::kText),
                                         qint32(activo_->isChecked() ? 1 : 0),
                                         modData::FormatSQLValue(observacoes_->toPlainText(), modData::kText),
                                         ContactNumber}));
        return -1;
    } catch (const vb::Error& e) {
        report(QStringLiteral("Save"), e);
        return 0;
    }
}
