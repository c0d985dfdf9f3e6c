#pragma once
// A fresh embedded catalog made from the schema scripts (and, on request, the
// demonstration data), with a connection to it as the first login "sa".
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/embedded/CatalogBuilder.h"
#include "platform/values/Conversions.h"
#include "tests/support/QtPrinters.h"
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace schematest {

class CatalogTest : public ::testing::Test {
  protected:
    void create(bool demo)
    {
        ado::embedded::createCatalogFromSchema(dir.path(), QStringLiteral("Quarvenses"), QStringLiteral("sa"),
                                               QStringLiteral("pw"), demo,
                                               ado::embedded::HashStrength::Minimal);
        connection.Open(QStringLiteral("User ID=sa;Password=pw;Initial Catalog=Quarvenses;Data Source=") +
                        dir.path());
    }
    int count(const QString& sql) { return vb::CLng(connection.Execute(sql).Fields(0).Value()); }
    // The first column of every row; Null reads "NULL".
    QStringList column(const QString& sql)
    {
        QStringList values;
        for (ado::Recordset rs = connection.Execute(sql); !rs.Eof(); rs.MoveNext())
            values.append(rs.Fields(0).Value().isNull() ? QStringLiteral("NULL")
                                                        : vb::CStr(rs.Fields(0).Value()));
        return values;
    }
    // The (error_number, error_descrit) row a procedure answers with.
    std::pair<int, QString> call(const QString& sql)
    {
        ado::Recordset rs = connection.Execute(sql);
        EXPECT_FALSE(rs.Eof()) << sql.toStdString();
        if (rs.Eof())
            return {-1, {}};
        return {vb::CLng(rs(QStringLiteral("error_number"))), vb::CStr(rs(QStringLiteral("error_descrit")))};
    }
    QString catalogFile() const { return dir.path() + QStringLiteral("/Quarvenses.db"); }

    QTemporaryDir dir;
    ado::Connection connection;
};

} // namespace schematest
