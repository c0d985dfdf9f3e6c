#include "duplicates/StoredLikeness.h"

#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "duplicates/Likeness.h"
#include "permissions/modCheckPermissions.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

namespace duplicates {

namespace {

// Each a contact the user may open (%1), by its number, the first one.
const char16_t selectByEmail[] =
    u"SELECT TOP 1 c.contacto_id, c.nome_union FROM tbContactos_Emails e INNER JOIN tbContactos c ON "
    u"c.contacto_id = e.contacto_id WHERE e.email = %2 AND c.contacto_id IN "
    u"(SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %1) ORDER BY c.contacto_id";
const char16_t selectByPhone[] =
    u"SELECT TOP 1 c.contacto_id, c.nome_union FROM tbContactos_Telefones t INNER JOIN tbContactos c ON "
    u"c.contacto_id = t.contacto_id WHERE REPLACE(REPLACE(t.numero, N' ', N''), N'+351', N'') = %2 AND "
    u"c.contacto_id IN (SELECT contacto_id FROM tbTulvas_Contactos_Permitions WHERE %1) "
    u"ORDER BY c.contacto_id";
const char16_t selectByName[] =
    u"SELECT TOP 1 c.contacto_id, c.nome_union FROM tbContactos c WHERE c.nome_union COLLATE "
    u"Latin1_General_CI_AI LIKE N'%2' AND c.contacto_id IN (SELECT contacto_id FROM "
    u"tbTulvas_Contactos_Permitions WHERE %1) ORDER BY c.contacto_id";

QString literal(const QString& value)
{
    return modData::FormatSQLValue(vb::Variant(value), modData::kText);
}

StoredLike first(const QString& statement, const QString& reason)
{
    StoredLike found;
    ado::Recordset rs;
    rs.Open(statement, Data().SqlServer);
    if (!rs.Eof()) {
        found.id = vb::CLng(rs(QStringLiteral("contacto_id")));
        const vb::Variant name = rs(QStringLiteral("nome_union"));
        found.name = name.isNull() ? QString() : vb::CStr(name);
        found.reason = reason;
    }
    rs.Close();
    return found;
}

} // namespace

QString StoredLike::sentence() const
{
    return QStringLiteral("Já existe ") + name + QStringLiteral(" (n.º ") + QString::number(id) +
           QStringLiteral(") com ") + reason + u'.';
}

StoredLike findStoredLike(const QString& user, const QString& name, const QStringList& emails,
                          const QStringList& phones)
{
    const QString condition = modCheckPermissions::OpenCondition(user);
    if (condition.isEmpty())
        return {};
    for (const QString& email : emails)
        if (const QString typed = comparableEmail(email); !typed.isEmpty())
            if (StoredLike s = first(sql::compose(selectByEmail, {condition, literal(typed)}),
                                     QStringLiteral("o mesmo e-mail"));
                s.id)
                return s;
    for (const QString& phone : phones)
        if (const QString typed = comparableNumber(phone); !typed.isEmpty())
            if (StoredLike s = first(sql::compose(selectByPhone, {condition, literal(typed)}),
                                     QStringLiteral("o mesmo telefone"));
                s.id)
                return s;
    if (const QString typed = name.trimmed(); !typed.isEmpty())
        return first(sql::compose(selectByName, {condition, sql::likeLiteral(typed)}),
                     QStringLiteral("o mesmo nome"));
    return {};
}

} // namespace duplicates
