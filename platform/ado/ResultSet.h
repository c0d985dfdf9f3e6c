#pragma once
// What a provider hands back for one statement: the columns and every row,
// fetched at once (the recordsets are client-side and static).
#include "platform/values/Variant.h"
#include <QList>
#include <QString>

namespace ado {

struct Column {
    QString name;
    int type = 0;      // an ado::DataType
    QString baseTable; // the table the column was read from, when the provider knows it
    QString baseColumn;
};

using Row = QList<vb::Variant>;

struct ResultSet {
    QList<Column> columns;
    QList<Row> rows;
};

} // namespace ado
