#include "components/siblings/ContactDetails.h"

#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

namespace siblings {

namespace {

const char16_t selectContact[] =
    u"SELECT contacto_id, genero_id, nome_union, no_contribuinte FROM tbContactos WHERE contacto_id = %1";
const char16_t selectDefaultAddress[] =
    u"SELECT morada, codigo_postal, localidade, pais FROM tbContactos_Moradas WHERE contacto_id = %1 "
    u"ORDER BY morada_default DESC, morada_id";
const char16_t selectTelephones[] = u"SELECT numero, tipo FROM tbContactos_Telefones WHERE contacto_id = %1 "
                                    u"ORDER BY telefone_default DESC, telefone_id";
const char16_t selectEmails[] = u"SELECT email, descrit FROM tbContactos_Emails WHERE contacto_id = %1 "
                                u"ORDER BY email_default DESC, email_id";

constexpr qint32 individualKind = 1;
constexpr qint32 institutionKind = 2;

QString text(const ado::Recordset& rs, const QString& column)
{
    const vb::Variant value = rs(column);
    return value.isNull() || value.isEmpty() ? QString() : vb::CStr(value).trimmed();
}

QString kindText(const vb::Variant& generoId)
{
    if (generoId.isNull() || !vb::IsNumeric(generoId))
        return {};
    switch (vb::CLng(generoId)) {
    case individualKind:
        return QStringLiteral("Particular");
    case institutionKind:
        return QStringLiteral("Empresarial");
    default:
        return {};
    }
}

// "value (note)", or the value alone when there is no note.
QString withNote(const QString& value, const QString& note)
{
    return note.isEmpty() ? value : value + QStringLiteral(" (") + note + u')';
}

ado::Recordset open(const ado::Connection& connection, const char16_t* statement, qint32 id)
{
    ado::Recordset rs;
    rs.Open(sql::compose(statement, {id}), connection);
    return rs;
}

QStringList addressOf(const ado::Connection& connection, qint32 id)
{
    ado::Recordset rs = open(connection, selectDefaultAddress, id);
    QStringList lines;
    if (!rs.Eof()) {
        const QString place =
            (text(rs, QStringLiteral("codigo_postal")) + u' ' + text(rs, QStringLiteral("localidade")))
                .trimmed();
        for (const QString& line :
             {text(rs, QStringLiteral("morada")), place, text(rs, QStringLiteral("pais"))})
            if (!line.isEmpty())
                lines << line;
    }
    rs.Close();
    return lines;
}

QStringList listOf(const ado::Connection& connection, const char16_t* statement, qint32 id,
                   const QString& valueColumn, const QString& noteColumn)
{
    ado::Recordset rs = open(connection, statement, id);
    QStringList lines;
    for (; !rs.Eof(); rs.MoveNext())
        lines << withNote(text(rs, valueColumn), text(rs, noteColumn));
    rs.Close();
    return lines;
}

} // namespace

std::optional<ContactDetails> readContact(const ado::Connection& connection, qint32 id)
{
    ado::Recordset rs = open(connection, selectContact, id);
    if (rs.Eof())
        return std::nullopt;
    ContactDetails details;
    details.id = id;
    details.name = text(rs, QStringLiteral("nome_union"));
    details.kind = kindText(rs(QStringLiteral("genero_id")));
    details.taxNumber = text(rs, QStringLiteral("no_contribuinte"));
    rs.Close();
    details.addressLines = addressOf(connection, id);
    details.telephones =
        listOf(connection, selectTelephones, id, QStringLiteral("numero"), QStringLiteral("tipo"));
    details.emails = listOf(connection, selectEmails, id, QStringLiteral("email"), QStringLiteral("descrit"));
    return details;
}

} // namespace siblings
