#include "panels/ucIDSingular.h"

#include "panels/WordCompleter.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/Format.h"

#include <QDate>
#include <QFormLayout>
#include <QLineEdit>

using modData::FormatSQLValue;

namespace {

const char16_t selectContact[] =
    u"SELECT c.no_contribuinte, s.* FROM tbContactos c LEFT JOIN tbContactos_Singulares s "
    u"ON s.contacto_id = c.contacto_id WHERE c.contacto_id = %1";
const char16_t insertContact[] =
    u"INSERT INTO tbContactos (genero_id, nome_union, no_contribuinte, created_by, created_date) "
    u"VALUES (1, %1, %2, %3, GETDATE())";
const char16_t updateContact[] =
    u"UPDATE tbContactos SET nome_union = %1, no_contribuinte = %2, modified_by = %3, "
    u"modified_date = GETDATE() WHERE contacto_id = %4";
const char16_t selectDetails[] = u"SELECT contacto_id FROM tbContactos_Singulares WHERE contacto_id = %1";
const char16_t insertDetails[] = u"INSERT INTO tbContactos_Singulares (contacto_id) VALUES (%1)";
const char16_t updateDetails[] =
    u"UPDATE tbContactos_Singulares SET nome = %1, apelido = %2, titulo = %3, profissao = %4, "
    u"nacionalidade = %5, data_nascimento = %6 WHERE contacto_id = %7";

// The columns' widths in the schema.
constexpr int tituloWidth = 30;
constexpr int nomeWidth = 80;
constexpr int apelidoWidth = 80;
constexpr int profissaoWidth = 60;
constexpr int nifWidth = 20;
constexpr int nacionalidadeWidth = 40;
constexpr int nomeUnionWidth = 150;

} // namespace

ucIDSingular::ucIDSingular(QWidget* parent) : IdentityPanel(QStringLiteral("ucIDSingular1"), parent)
{
    auto* form = new QFormLayout(this);
    titulo_ = addField(form, QStringLiteral("txtTitulo"), QStringLiteral("&Título:"), tituloWidth);
    nome_ = addField(form, QStringLiteral("txtNome"), QStringLiteral("&Nome:"), nomeWidth);
    apelido_ = addField(form, QStringLiteral("txtApelido"), QStringLiteral("A&pelidos:"), apelidoWidth);
    profissao_ =
        addField(form, QStringLiteral("txtProfissao"), QStringLiteral("Pro&fissão:"), profissaoWidth);
    nif_ = addField(form, QStringLiteral("txtNIF"), QStringLiteral("N&IF:"), nifWidth);
    nascimento_ = addField(form, QStringLiteral("txtNascimento"), QStringLiteral("Data de nas&cimento:"));
    nascimento_->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));
    nacionalidade_ = addField(form, QStringLiteral("txtNacionalidade"), QStringLiteral("Nacionali&dade:"),
                              nacionalidadeWidth);
    for (QLineEdit* edit : {titulo_, nome_, apelido_})
        connect(edit, &QLineEdit::textEdited, this,
                [this] { emit NomeHasChanged(nome_->text(), apelido_->text(), titulo_->text()); });
    // The words of the card's tables are offered as the user types.
    const auto connection = [this] { return db(); };
    words_ = {new WordCompleter(titulo_, QStringLiteral("tbTabelas_Titulos"), connection),
              new WordCompleter(profissao_, QStringLiteral("tbTabelas_Profissoes"), connection),
              new WordCompleter(nacionalidade_, QStringLiteral("tbTabelas_Nacionalidades"), connection)};
}

QString ucIDSingular::TaxNumber() const
{
    return nif_->text();
}

void ucIDSingular::clear()
{
    for (QLineEdit* edit : {titulo_, nome_, apelido_, profissao_, nif_, nascimento_, nacionalidade_})
        edit->clear();
    loadedTaxNumber_.clear();
}

void ucIDSingular::load()
{
    for (WordCompleter* words : words_)
        words->forget(); // the tables may have changed since

    ado::Recordset rs = query(sql::compose(selectContact, {ContactNumber}));
    if (!rs.Eof()) {
        titulo_->setText(text(rs, QStringLiteral("titulo")));
        nome_->setText(text(rs, QStringLiteral("nome")));
        apelido_->setText(text(rs, QStringLiteral("apelido")));
        profissao_->setText(text(rs, QStringLiteral("profissao")));
        nif_->setText(text(rs, QStringLiteral("no_contribuinte")));
        loadedTaxNumber_ = nif_->text();
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
        throw vb::Error(vb::errnum::TypeMismatch, QStringLiteral("A data de nascimento «") + typed +
                                                      QStringLiteral("» não é uma data válida."));
    const vb::Variant born = vb::CDate(vb::Variant(typed));
    if (vb::CDbl(born) >= vb::DateSerial(QDate::currentDate().addDays(1)))
        throw vb::Error(vb::errnum::TypeMismatch, QStringLiteral("A data de nascimento «") + typed +
                                                      QStringLiteral("» é posterior à data de hoje."));
    return born;
}

QString ucIDSingular::Validate()
{
    if (const QString message = refusal(); !message.isEmpty()) {
        nome_->setFocus();
        return message;
    }
    try {
        birthDate();
    } catch (const vb::Error& e) {
        nascimento_->setFocus();
        return e.description();
    }
    return {};
}

// The message that refuses the typed identity, empty when it can be stored.
QString ucIDSingular::refusal() const
{
    if (vb::Trim(nome_->text()).isEmpty() && vb::Trim(apelido_->text()).isEmpty())
        return QStringLiteral("Tem de indicar o nome do contacto.");
    if (nomeUnion().size() > nomeUnionWidth)
        return QStringLiteral("O nome e os apelidos juntos não podem ter mais de ") +
               QString::number(nomeUnionWidth) + QStringLiteral(" caracteres.");
    return {};
}

qint32 ucIDSingular::Save(QString& userName)
{
    try {
        if (!connectionReady())
            return 0;
        if (const QString message = refusal(); !message.isEmpty()) {
            emit Error(0, message);
            return 0;
        }
        const QString born = FormatSQLValue(birthDate(), modData::kDate);
        const QString name = FormatSQLValue(nomeUnion(), modData::kText);
        const QString nif = FormatSQLValue(nif_->text(), modData::kText);
        const QString who = FormatSQLValue(userName, modData::kText);
        qint32 id = ContactNumber;
        if (id == 0) {
            id = insertReturningId(sql::compose(insertContact, {name, nif, who}));
            execute(sql::compose(insertDetails, {id}));
        } else {
            execute(sql::compose(updateContact, {name, nif, who, id}));
            ado::Recordset rs = query(sql::compose(selectDetails, {id}));
            const bool exists = !rs.Eof();
            rs.Close();
            if (!exists)
                execute(sql::compose(insertDetails, {id}));
        }
        execute(
            sql::compose(updateDetails, {FormatSQLValue(nome_->text(), modData::kText),
                                         FormatSQLValue(apelido_->text(), modData::kText),
                                         FormatSQLValue(titulo_->text(), modData::kText),
                                         FormatSQLValue(profissao_->text(), modData::kText),
                                         FormatSQLValue(nacionalidade_->text(), modData::kText), born, id}));
        if (ContactNumber != 0)
            return -1;
        ContactNumber = id;
        return id;
    } catch (const vb::Error& e) {
        if (e.number() == vb::errnum::TypeMismatch)
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
