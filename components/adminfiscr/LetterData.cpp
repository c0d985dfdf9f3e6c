#include "components/adminfiscr/LetterData.h"

#include "components/adminfiscr/GeneratorSettings.h"
#include "components/adminfiscr/Salutation.h"
#include "data/modData.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QRegularExpression>

namespace adminfiscr {

namespace {

const char16_t selectContactRow[] = u"SELECT * FROM %1 WHERE contacto_id = %2";
const char16_t selectCompany[] =
    u"SELECT variavel, valor FROM tbConfig WHERE variavel IN (N'Empresa', N'EmpresaMorada', "
    u"N'EmpresaCodigoPostal', N'EmpresaLocalidade', N'EmpresaTelefone', N'EmpresaEmail')";
const char16_t selectSigner[] = u"SELECT nome FROM tbUsers WHERE descrit = %1";

constexpr int invalidArgument = 5;    // VB's "Invalid procedure call or argument"
constexpr int noCurrentRecord = 3021; // ADO's "no current record"

const QString subject = QStringLiteral("Actualização dos dados de contacto");
const QString notGiven = QStringLiteral("não indicado");
// Letters inside the country carry no country line.
const QString homeCountry = QStringLiteral("Portugal");

QString text(const ado::Recordset& rs, const QString& column)
{
    const vb::Variant value = rs(column);
    return value.isNull() || value.isEmpty() ? QString() : vb::CStr(value).trimmed();
}

// A column the view may not have (an older site's view) reads as empty.
QString optionalText(const ado::Recordset& rs, const QString& column)
{
    for (int i = 0; i < rs.FieldCount(); ++i)
        if (rs.Fields(i).Name().compare(column, Qt::CaseInsensitive) == 0)
            return text(rs, column);
    return {};
}

QString joinedNonEmpty(const QStringList& parts, QStringView separator)
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return kept.join(separator);
}

struct Company {
    QString name, street, postalCode, locality, telephone, email;
};

// Each value from the site's settings when set there, else from tbConfig.
Company readCompany(const ado::Connection& connection)
{
    QMap<QString, QString> stored;
    ado::Recordset rs;
    rs.Open(QString::fromUtf16(selectCompany), connection);
    for (; !rs.Eof(); rs.MoveNext())
        stored.insert(text(rs, QStringLiteral("variavel")).toCaseFolded(), text(rs, QStringLiteral("valor")));
    rs.Close();
    const auto value = [&](const char* name) {
        const QString key = QString::fromLatin1(name);
        const QString site = siteValue(key);
        return site.isEmpty() ? stored.value(key.toCaseFolded()) : site; // names compare as the server does
    };
    return {value("Empresa"),           value("EmpresaMorada"),   value("EmpresaCodigoPostal"),
            value("EmpresaLocalidade"), value("EmpresaTelefone"), value("EmpresaEmail")};
}

QString senderLines(const Company& c)
{
    const QString contacts = joinedNonEmpty(
        {c.telephone.isEmpty() ? QString() : QStringLiteral("Telefone ") + c.telephone, c.email}, u" · ");
    return joinedNonEmpty({c.street, joinedNonEmpty({c.postalCode, c.locality}, u" "), contacts}, u"\n");
}

QString signerName(const ado::Connection& connection, const QString& user)
{
    ado::Recordset rs;
    rs.Open(sql::compose(selectSigner, {modData::FormatSQLValue(user, modData::kText)}), connection);
    const QString name = rs.Eof() ? QString() : text(rs, QStringLiteral("nome"));
    rs.Close();
    return name.isEmpty() ? user : name;
}

Addressee addresseeOf(const ado::Recordset& rs)
{
    const vb::Variant kind = rs(QStringLiteral("genero_id"));
    return {kind.isNull() || !vb::IsNumeric(kind) ? 0 : int(vb::CLng(kind)),
            optionalText(rs, QStringLiteral("sexo")), optionalText(rs, QStringLiteral("titulo")),
            optionalText(rs, QStringLiteral("apelido")), text(rs, QStringLiteral("nome_union"))};
}

void addContactFields(MergeFields& f, const ado::Recordset& rs)
{
    f[QStringLiteral("nome")] = text(rs, QStringLiteral("nome_union"));
    f[QStringLiteral("morada")] = optionalText(rs, QStringLiteral("morada"));
    f[QStringLiteral("codigo_postal")] = optionalText(rs, QStringLiteral("codigo_postal"));
    f[QStringLiteral("localidade")] = optionalText(rs, QStringLiteral("localidade"));
    f[QStringLiteral("pais")] = optionalText(rs, QStringLiteral("pais"));
    const QString country = f[QStringLiteral("pais")];
    f[QStringLiteral("endereco")] = joinedNonEmpty(
        {f[QStringLiteral("morada")],
         joinedNonEmpty({f[QStringLiteral("codigo_postal")], f[QStringLiteral("localidade")]}, u" "),
         country.compare(homeCountry, Qt::CaseInsensitive) == 0 ? QString() : country},
        u"\n");
    const Addressee addressee = addresseeOf(rs);
    f[QStringLiteral("saudacao")] = greeting(addressee);
    f[QStringLiteral("tratamento")] = formOfAddress(addressee);
    // "V. Ex.as" are several: the verbs and the pronoun agree with them.
    const bool several = addressedAsSeveral(addressee);
    f[QStringLiteral("confirme")] = several ? QStringLiteral("confirmem") : QStringLiteral("confirme");
    f[QStringLiteral("informe")] = several ? QStringLiteral("informem") : QStringLiteral("informe");
    f[QStringLiteral("responda")] = several ? QStringLiteral("respondam") : QStringLiteral("responda");
    f[QStringLiteral("lhe")] = several ? QStringLiteral("lhes") : QStringLiteral("lhe");
    // Listed in the letter's body, where an empty value would read as a gap.
    const std::pair<const char*, const char*> listed[] = {
        {"nif", "no_contribuinte"}, {"telefone", "telefone"}, {"email", "email"}};
    for (const auto& [field, column] : listed) {
        const QString value = optionalText(rs, QString::fromLatin1(column));
        f[QString::fromLatin1(field)] = value.isEmpty() ? notGiven : value;
    }
}

} // namespace

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return identifier.match(name).hasMatch();
}

LetterData readLetterData(const ado::Connection& connection, const QString& viewName, qint32 contactoId,
                          const QString& user, const QDate& today)
{
    if (!isPlainIdentifier(viewName))
        throw vb::Error(invalidArgument,
                        QStringLiteral("O nome da vista não é um identificador simples: ") + viewName);
    ado::Recordset rs;
    rs.Open(sql::compose(selectContactRow, {viewName, contactoId}), connection);
    if (rs.Eof())
        throw vb::Error(noCurrentRecord, QStringLiteral("O contacto n.º ") + QString::number(contactoId) +
                                             QStringLiteral(" não consta de ") + viewName + u'.');
    LetterData data;
    addContactFields(data.fields, rs);
    data.contactName = data.fields.value(QStringLiteral("nome"));
    data.email = optionalText(rs, QStringLiteral("email"));
    rs.Close();

    const Company company = readCompany(connection);
    data.fields[QStringLiteral("empresa")] = company.name;
    data.fields[QStringLiteral("remetente")] = senderLines(company);
    data.fields[QStringLiteral("data")] = placeAndDate(company.locality, today);
    data.fields[QStringLiteral("assinatura")] = signerName(connection, user);
    data.fields[QStringLiteral("assunto")] = subject;
    return data;
}

} // namespace adminfiscr
