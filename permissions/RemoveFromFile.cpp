#include "permissions/RemoveFromFile.h"

#include "connection/ConnectionState.h"
#include "data/modData.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"
#include "platform/values/VbError.h"

#include <QRegularExpression>

namespace membership {

namespace {

const char16_t selectFile[] = u"SELECT contacto_tipo_id, related FROM tbContactos_Tipos WHERE descrit = %1";
const char16_t deleteLink[] =
    u"DELETE FROM tbContactos_Tipos_Links WHERE contacto_id = %1 AND contacto_tipo_id = %2";
// %1 the file's table, as tbContactos_Tipos names it.
const char16_t deletePermissions[] = u"DELETE FROM %1_Permitions WHERE contacto_id = %2";
const char16_t deleteFileRow[] = u"DELETE FROM %1 WHERE contacto_id = %2";

} // namespace

bool RemoveFromFile(qint32 contactoId, const QString& file)
{
    ado::Recordset rs;
    rs.Open(sql::compose(selectFile, {modData::FormatSQLValue(vb::Variant(file), modData::kTextNotNull)}),
            Data().SqlServer);
    if (rs.Eof())
        return false;
    const qint32 fileId = vb::CLng(rs(QStringLiteral("contacto_tipo_id")));
    const vb::Variant related = rs(QStringLiteral("related"));
    const QString table = related.isNull() ? QString() : vb::CStr(related).trimmed();
    rs.Close();
    static const QRegularExpression tableName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!table.isEmpty() && !tableName.match(table).hasMatch())
        throw vb::Error(0, QStringLiteral("o ficheiro «") + file +
                               QStringLiteral("» não tem uma tabela válida"));
    Data().SqlServer.Execute(sql::compose(deleteLink, {contactoId, fileId}));
    if (!table.isEmpty()) {
        Data().SqlServer.Execute(sql::compose(deletePermissions, {table, contactoId}));
        Data().SqlServer.Execute(sql::compose(deleteFileRow, {table, contactoId}));
    }
    return true;
}

} // namespace membership
