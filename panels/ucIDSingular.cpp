#include "panels/ucIDSingular.h"

#include "data/modData.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include <QFormLayout>
#include <QLineEdit>

using modData::FormatSQLValue;

ucIDSingular::ucIDSingular(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDSingular1"), parent)
{
    auto* form = new QFormLayout(this);
    titulo_ = addField(form, QStringLiteral("txtTitulo"), QStringLiteral("Título:"));
    nome_ = addField(form, QStringLiteral("txtNome"), QStringLiteral("Nome:"));
    apelido_ = addField(form, QStringLiteral("txtApelido"), QStringLiteral("Apelidos:"));
    profissao_ = addField(form, QStringLiteral("txtProfissao"), QStringLiteral("Profissão:"));
    nif_ = addField(form, QStringLiteral("txtNIF"), QStringLiteral("NIF:"));
    nascimento_ = addField(form, QStringLiteral("txtNascimento"), QStringLiteral("Data de nascimento:"));
    nascimento_->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));
    nacionalidade_ = addField(form, QStringLiteral("txtNacionalidade"), QStringLiteral("Nacionalidade:"));
    for (QLineEdit* edit : {titulo_, nome_, apelido_})
        connect(edit, &QLineEdit::textEdited, this,
                [this] { emit NomeHasChanged(nome_->text(), apelido_->text(), titulo_->text()); });
}

QString ucIDSingular::TaxNumber() const
{
    return nif_->text();
}

void ucIDSingular::clear()
{
    for (QLineEdit* edit : {titulo_, nome_, apelido_, profissao_, nif_, nascimento_, nacionalidade_})
        edit->clear();
}

void ucIDSingular::load()
{
    ado::Recordset rs = query(QStringLiteral("SELECT c.no_contribuinte, s.* FROM tbContactos c LEFT JOIN tbContactos_Singulares s "
                                             "ON s.contacto_id = c.contacto_id WHERE c.contacto_id = %1")
                                  .arg(ContactNumber));
    if (!rs.Eof()) {
        titulo_->setText(text(rs, QStringLiteral("titulo")));
        nome_->setText(text(rs, QStringLiteral("nome")));
        apelido_->setText(text(rs, QStringLiteral("apelido")));
        profissao_->setText(text(rs, QStringLiteral("profissao")));
        nif_->setText(text(rs, QStringLiteral("no_contribuinte")));
        const vb::Variant born = rs(QStringLiteral("data_nascimento"));
        nascimento_->setText(born.isNull() ? QString() : vb::Format(born, QStringLiteral("dd-mm-yyyy")));
        nacionalidade_->setText(text(rs, QStringLiteral("nacionalidade")));
    }
    rs.Close();
    emit NomeHasChanged(nome_->text(), apelido_->text(), titulo_->text());
}

QString ucIDSingular::nomeUnion() const
{
    return (vb::Trim(nome_->text()) + u' ' + vb::Trim(apelido_->text())).trimmed();
}

vb::Variant ucIDSingular::birthDate() const
{
    const QString typed = vb::Trim(nascimento_->text());
    if (typed.isEmpty())
        return vb::Variant::null();
    if (!vb::IsDate(vb::Variant(typed)))
        throw vb::Error(13, QStringLiteral("A data de nascimento «%1» não é uma data válida.").arg(typed));
    return vb::CDate(vb::Variant(typed));
}

qint32 ucIDSingular::Save(QString& userName)
{
    try {
        if (!connectionReady())
            return 0;
        if (vb::Trim(nome_->text()).isEmpty() && vb::Trim(apelido_->text()).isEmpty()) {
            emit Error(0, QStringLiteral("Tem de indicar o nome do contacto."));
            return 0;
        }
        const QString born = FormatSQLValue(birthDate(), modData::kDate);
        const QString details = QStringLiteral("nome = %1, apelido = %2, titulo = %3, profissao = %4, nacionalidade = %5, "
                                               "data_nascimento = %6")
                                    .arg(FormatSQLValue(nome_->text(), modData::kText), FormatSQLValue(apelido_->text(), modData::kText),
                                         FormatSQLValue(titulo_->text(), modData::kText),
                                         FormatSQLValue(profissao_->text(), modData::kText),
                                         FormatSQLValue(nacionalidade_->text(), modData::kText), born);
        const QString who = FormatSQLValue(userName, modData::kText);
        if (ContactNumber == 0) {
            const qint32 id = insertReturningId(
                QStringLiteral("INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte, created_by, created_date) "
                               "VALUES (1, %1, %2, %3, GETDATE())")
                    .arg(FormatSQLValue(nomeUnion(), modData::kText), FormatSQLValue(nif_->text(), modData::kText), who));
            execute(QStringLiteral("INSERT INTO tbContactos_Singulares (contacto_id) VALUES (%1)").arg(id));
            execute(QStringLiteral("UPDATE tbContactos_Singulares SET %1 WHERE contacto_id = %2").arg(details).arg(id));
            ContactNumber = id;
            return id;
        }
        execute(QStringLiteral("UPDATE tbContactos SET nome_union = %1, no_contribuinte = %2, modified_by = %3, "
                               "modified_date = GETDATE() WHERE contacto_id = %4")
                    .arg(FormatSQLValue(nomeUnion(), modData::kText), FormatSQLValue(nif_->text(), modData::kText), who)
                    .arg(ContactNumber));
        ado::Recordset rs = query(QStringLiteral("SELECT contacto_id FROM tbContactos_Singulares WHERE contacto_id = %1").arg(ContactNumber));
        const bool exists = !rs.Eof();
        rs.Close();
        if (!exists)
            execute(QStringLiteral("INSERT INTO tbContactos_Singulares (contacto_id) VALUES (%1)").arg(ContactNumber));
        execute(QStringLiteral("UPDATE tbContactos_Singulares SET %1 WHERE contacto_id = %2").arg(details).arg(ContactNumber));
        return -1;
    } catch (const vb::Error& e) {
        if (e.number() == 13)
            emit Error(e.number(), e.description());
        else
            report(QStringLiteral("Save"), e);
        return 0;
    }
}

void ucIDSingular::PostLoad()
{
    nome_->setFocus();
}
