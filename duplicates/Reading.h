#pragma once
// What the duplicates' sources read the catalog with, on the shared connection.
#include "connection/ConnectionState.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/SqlCompose.h"
#include "platform/values/Conversions.h"

namespace duplicates::reading {

inline ado::Recordset query(const QString& statement)
{
    ado::Recordset rs;
    rs.Open(statement, Data().SqlServer);
    return rs;
}

// A value as text; Null and Empty as "".
inline QString text(const vb::Variant& v)
{
    return v.isNull() || v.isEmpty() ? QString() : vb::CStr(v);
}

// Whether the catalog has the table (an older one may lack those added since).
inline bool hasTable(const QString& name)
{
    ado::Recordset rs = query(sql::compose(u"SELECT COUNT(*) AS tabelas FROM INFORMATION_SCHEMA.TABLES WHERE "
                                           u"TABLE_NAME = N'%1'",
                                           {sql::doubled(name)}));
    const bool present = vb::CLng(rs.Fields(0).Value()) > 0;
    rs.Close();
    return present;
}

} // namespace duplicates::reading
