#include "tools/sql/ResultPrinter.h"

#include "platform/ado/embedded/SqliteValues.h"
#include "platform/values/Conversions.h"

namespace sqltool {

namespace {

QString csvField(const QString& text, const QString& separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n'))
        return text;
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QList<QStringList> readAll(ado::Recordset& rs)
{
    QList<QStringList> rows;
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names.append(rs.Fields(i).Name());
    rows.append(names);
    if (rs.RecordCount() > 0)
        rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs.FieldCount(); ++i)
            row.append(displayText(rs.Fields(i).Value()));
        rows.append(row);
    }
    return rows;
}

void printAligned(const QList<QStringList>& rows, QTextStream& out)
{
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i)
            widths[i] = qMax(widths[i], row[i].size());
    const auto line = [&](const QStringList& row) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i)
            cells.append(row[i].leftJustified(widths[i]));
        out << cells.join(u' ').trimmed() << '\n';
    };
    line(rows.first());
    QStringList dashes;
    for (qsizetype w : widths)
        dashes.append(QString(qMax<qsizetype>(w, 1), u'-'));
    out << dashes.join(u' ') << '\n';
    for (int r = 1; r < rows.size(); ++r)
        line(rows[r]);
}

} // namespace

QString displayText(const vb::Variant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    if (value.isDate())
        return ado::embedded::dateText(value.get<vb::Date>()->serial);
    if (const bool* b = value.get<bool>())
        return *b ? QStringLiteral("1") : QStringLiteral("0");
    if (value.isNumber() && !value.isString())
        return QString::number(vb::CDbl(value), 'g', 17);
    QString text = vb::CStr(value);
    return text.replace(QChar(0), QStringLiteral("\\0"));
}

void printRecordset(ado::Recordset& rs, const QString& separator, QTextStream& out)
{
    const QList<QStringList> rows = readAll(rs);
    if (separator.isEmpty()) {
        printAligned(rows, out);
    } else {
        for (const QStringList& row : rows) {
            QStringList cells;
            for (const QString& cell : row)
                cells.append(csvField(cell, separator));
            out << cells.join(separator) << '\n';
        }
    }
    const qsizetype count = rows.size() - 1;
    out << '\n'
        << (count == 1 ? QStringLiteral("(1 linha afectada)")
                       : QStringLiteral("(%1 linhas afectadas)").arg(count))
        << '\n';
}

} // namespace sqltool
