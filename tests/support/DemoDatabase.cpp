#include "tests/support/DemoDatabase.h"

#include "connection/ConnectionState.h"
#include "connection/StringCipher.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/values/Conversions.h"

namespace testsupport {

DemoDatabase::DemoDatabase(bool demo)
{
    ResetConnectionStateForTests();
    ado::embedded::createCatalogFromSchema(dir_.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                           QStringLiteral("pw"), demo, ado::embedded::HashStrength::Minimal);
    ConnectionState& c = Conn();
    c.strUser = QStringLiteral("sa");
    c.strPassword = StringCipher::Encipher(QStringLiteral("pw"));
    c.strDataServer = QStringLiteral("Fiscora");
    c.strCnUser = QStringLiteral("sa");
    c.strCnPassword = c.strPassword;
    c.strInitialCatalog = QStringLiteral("Quarvenses");
    c.strDataSource = dir_.path();
    c.strSQLMasterConnString = StringCipher::Encipher(connectionString());
    c.bSQLConnected = true;
    Data().SqlServer.Open(connectionString());
}

DemoDatabase::~DemoDatabase()
{
    ResetConnectionStateForTests();
}

QString DemoDatabase::connectionString() const
{
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=pw;"
                          "Initial Catalog=Quarvenses;Data Source=%1;Connect Timeout=15")
        .arg(dir_.path());
}

QString DemoDatabase::value(const QString& sql) const
{
    ado::Recordset rs = Data().SqlServer.Execute(sql);
    if (rs.State() != ado::adStateOpen || rs.Eof())
        return QStringLiteral("<nenhuma linha>");
    const vb::Variant v = rs.Fields(0).Value();
    return v.isNull() ? QStringLiteral("NULL") : vb::CStr(v);
}

int DemoDatabase::count(const QString& sql) const
{
    return vb::CLng(Data().SqlServer.Execute(sql).Fields(0).Value());
}

} // namespace testsupport
