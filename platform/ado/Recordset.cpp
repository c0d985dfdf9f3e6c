#include "platform/ado/Recordset.h"
#include "platform/ado/StatementTrace.h"

#include "platform/ado/AdoError.h"
#include "platform/ado/FindCriteria.h"
#include "platform/values/Conversions.h"
#include <QSet>

namespace ado {

struct Field::Data {
    QString source;
    Connection connection = Connection::nothing();
    int lockType = adLockUnspecified;
    bool isOpen = false;
    ResultSet result;
    int position = -1; // -1 before the first row, rows.size() after the last
    QSet<int> edited;  // columns of the current row assigned since it was read
    Row original;      // the current row as read, while it has edits
    // A paged list: its reader, whether the held rows reach its start and
    // its end, and the list position of the first held row (-1 unknown).
    std::shared_ptr<RowPages> pages;
    bool atStart = true;
    bool atEnd = true;
    int offset = 0;

    bool onRow() const { return position >= 0 && position < result.rows.size(); }
};

// ---- Field ----

QString Field::Name() const
{
    return data_->result.columns.at(index_).name;
}

int Field::Type() const
{
    return data_->result.columns.at(index_).type;
}

vb::Variant Field::Value() const
{
    if (!data_->isOpen)
        throw error::closed();
    if (!data_->onRow())
        throw error::noCurrentRecord();
    return data_->result.rows.at(data_->position).at(index_);
}

vb::Variant Field::OriginalValue() const
{
    if (!data_->onRow())
        throw error::noCurrentRecord();
    return data_->edited.isEmpty() ? data_->result.rows.at(data_->position).at(index_)
                                   : data_->original.at(index_);
}

void Field::setValue(const vb::Variant& value)
{
    if (!data_->isOpen)
        throw error::closed();
    if (!data_->onRow())
        throw error::noCurrentRecord();
    if (data_->lockType == adLockReadOnly)
        throw error::notAllowed(QStringLiteral("o recordset é só de leitura"));
    Row& row = data_->result.rows[data_->position];
    if (data_->edited.isEmpty())
        data_->original = row;
    row[index_] = value;
    data_->edited.insert(index_);
}

// ---- Recordset ----

Recordset::Recordset() : data_(std::make_shared<Field::Data>()) {}

Recordset Recordset::nothing()
{
    return Recordset(std::shared_ptr<Field::Data>());
}

Field::Data& Recordset::data() const
{
    if (!data_)
        throw vb::Error::objectNotSet();
    return *data_;
}

Field::Data& Recordset::open() const
{
    Field::Data& d = data();
    if (!d.isOpen)
        throw error::closed();
    return d;
}

void Recordset::load(std::optional<ResultSet> rows)
{
    Field::Data& d = data();
    d.edited.clear();
    d.original.clear();
    d.isOpen = rows.has_value();
    d.result = rows ? std::move(*rows) : ResultSet{};
    d.position = d.result.rows.isEmpty() ? d.result.rows.size() : 0;
}

Recordset Recordset::fromResult(const Connection& connection, const QString& source,
                                std::optional<ResultSet> rows)
{
    Recordset recordset;
    recordset.data_->connection = connection;
    recordset.data_->source = source;
    recordset.load(std::move(rows));
    return recordset;
}

Recordset Recordset::fromPages(const Connection& connection, const QString& source, ResultSet first,
                               bool complete, std::shared_ptr<RowPages> pages)
{
    Recordset recordset = fromResult(connection, source, std::move(first));
    Field::Data& d = recordset.data();
    d.lockType = adLockReadOnly;
    d.pages = std::move(pages);
    d.atEnd = complete;
    return recordset;
}

bool Recordset::readAfter(Field::Data& d)
{
    std::optional<ResultSet> more = d.pages->after(d.result.rows.isEmpty() ? nullptr : &d.result.rows.last());
    if (!more || more->rows.isEmpty()) {
        d.atEnd = true;
        return false;
    }
    if (d.result.columns.isEmpty())
        d.result.columns = more->columns;
    d.result.rows.append(std::move(more->rows));
    return true;
}

bool Recordset::readBefore(Field::Data& d)
{
    std::optional<ResultSet> more =
        d.pages->before(d.result.rows.isEmpty() ? nullptr : &d.result.rows.first());
    if (!more || more->rows.isEmpty()) {
        d.atStart = true;
        d.offset = 0;
        return false;
    }
    const int read = int(more->rows.size());
    more->rows.append(std::move(d.result.rows));
    d.result.rows = std::move(more->rows);
    d.position += read;
    d.offset = d.offset >= read ? d.offset - read : -1;
    return true;
}

void Recordset::Open(const QString& source, const Connection& activeConnection, int /*cursorType*/,
                     int lockType, int /*options*/)
{
    const TraceOrigin origin(__builtin_return_address(0));
    Field::Data& d = data();
    if (d.isOpen)
        throw error::alreadyOpen();
    if (activeConnection.isNothing())
        throw error::closed();
    BatchResult result = activeConnection.run(source);
    d.connection = activeConnection;
    d.source = source;
    d.lockType = lockType;
    load(std::move(result.rows));
}

void Recordset::Close()
{
    Field::Data& d = open();
    d.isOpen = false;
    d.result = ResultSet{};
    d.edited.clear();
    d.position = -1;
}

int Recordset::State() const
{
    return data().isOpen ? adStateOpen : adStateClosed;
}

QString Recordset::Source() const
{
    return data().source;
}

Connection Recordset::ActiveConnection() const
{
    return data().connection;
}

bool Recordset::Bof() const
{
    const Field::Data& d = open();
    return d.position < 0 || d.result.rows.isEmpty();
}

bool Recordset::Eof() const
{
    const Field::Data& d = open();
    return d.position >= d.result.rows.size();
}

void Recordset::saveEdits()
{
    if (!data().edited.isEmpty())
        Update();
}

void Recordset::MoveFirst()
{
    Field::Data& d = open();
    if (d.pages && !d.atStart) {
        saveEdits();
        // Read before anything changes: a failed read keeps the cursor where it was.
        std::optional<ResultSet> first = d.pages->after(nullptr);
        d.result.rows = first ? std::move(first->rows) : QList<Row>();
        d.atStart = true;
        d.atEnd = d.result.rows.isEmpty();
        d.offset = 0;
        d.position = 0;
    }
    if (d.result.rows.isEmpty())
        throw error::noCurrentRecord();
    saveEdits();
    d.position = 0;
}

void Recordset::MoveLast()
{
    Field::Data& d = open();
    if (d.pages && !d.atEnd) {
        saveEdits();
        std::optional<ResultSet> last = d.pages->before(nullptr);
        d.result.rows = last ? std::move(last->rows) : QList<Row>();
        d.atEnd = true;
        d.atStart = d.result.rows.isEmpty();
        const int total = d.pages->total();
        d.offset = total >= d.result.rows.size() ? total - int(d.result.rows.size()) : -1;
    }
    if (d.result.rows.isEmpty())
        throw error::noCurrentRecord();
    saveEdits();
    d.position = int(d.result.rows.size()) - 1;
}

void Recordset::MoveNext()
{
    Field::Data& d = open();
    if (Eof())
        throw error::noCurrentRecord();
    saveEdits();
    if (d.pages && !d.atEnd && d.position + 1 >= d.result.rows.size())
        readAfter(d);
    ++d.position;
}

void Recordset::MovePrevious()
{
    Field::Data& d = open();
    if (Bof())
        throw error::noCurrentRecord();
    saveEdits();
    if (d.pages && !d.atStart && d.position == 0)
        readBefore(d);
    --d.position;
}

int Recordset::RecordCount() const
{
    const Field::Data& d = open();
    if (d.pages && !(d.atStart && d.atEnd))
        return d.pages->total();
    return int(d.result.rows.size());
}

int Recordset::AbsolutePosition() const
{
    const Field::Data& d = open();
    if (d.position < 0 || d.result.rows.isEmpty())
        return -1;
    if (d.position >= d.result.rows.size())
        return -3;
    return d.offset < 0 ? -1 : d.offset + d.position + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    Field::Data& d = open();
    const int index = position - 1 - d.offset;
    if (d.offset < 0 || index < 0 || index >= d.result.rows.size())
        throw error::noCurrentRecord();
    saveEdits();
    d.position = index;
}

int Recordset::findColumn(const QString& name) const
{
    const QList<Column>& columns = open().result.columns;
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void Recordset::Find(const QString& criteria, int skipRecords, int searchDirection, const vb::Variant& start)
{
    Field::Data& d = open();
    const FindCriteria wanted = FindCriteria::parse(criteria);
    const int column = findColumn(wanted.field);
    if (column < 0)
        throw error::itemNotFound(wanted.field);
    int from = d.position;
    if (!start.isMissing() && vb::CLng(start) == adBookmarkFirst)
        from = 0;
    else if (!start.isMissing() && vb::CLng(start) == adBookmarkLast)
        from = int(d.result.rows.size()) - 1;
    else if (!d.onRow())
        throw error::noCurrentRecord();
    saveEdits();
    const int step = searchDirection == adSearchBackward ? -1 : 1;
    for (int row = from + step * skipRecords; row >= 0 && row < d.result.rows.size(); row += step) {
        if (wanted.matches(d.result.rows.at(row).at(column))) {
            d.position = row;
            return;
        }
    }
    d.position = step > 0 ? int(d.result.rows.size()) : -1;
}

int Recordset::FieldCount() const
{
    return int(open().result.columns.size());
}

Field Recordset::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw error::itemNotFound(QString::number(index));
    return Field(data_, index);
}

Field Recordset::Fields(const QString& name) const
{
    const int index = findColumn(name);
    if (index < 0)
        throw error::itemNotFound(name);
    return Field(data_, index);
}

QString Recordset::updateTable() const
{
    QString table;
    for (const Column& column : open().result.columns) {
        if (column.baseTable.isEmpty())
            continue;
        if (!table.isEmpty() && column.baseTable.compare(table, Qt::CaseInsensitive) != 0)
            throw error::notAllowed(QStringLiteral("o recordset não vem de uma só tabela"));
        table = column.baseTable;
    }
    if (table.isEmpty())
        throw error::notAllowed(QStringLiteral("o recordset não vem de uma tabela"));
    return table;
}

namespace {

// In brackets, as the server reads names whatever QUOTED_IDENTIFIER says.
QString quotedName(QString name)
{
    return u'[' + name.replace(u']', QStringLiteral("]]")) + u']';
}

int columnOf(const QList<Column>& columns, const QString& baseColumn)
{
    for (int i = 0; i < columns.size(); ++i) {
        const QString& name = columns[i].baseColumn.isEmpty() ? columns[i].name : columns[i].baseColumn;
        if (name.compare(baseColumn, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

void Recordset::Update()
{
    const TraceOrigin origin(__builtin_return_address(0));
    Field::Data& d = open();
    if (d.edited.isEmpty())
        return;
    if (!d.onRow())
        throw error::noCurrentRecord();
    const QString table = updateTable();
    const QStringList key = d.connection.primaryKey(table);
    if (key.isEmpty())
        throw error::notAllowed(QStringLiteral("a tabela %1 não tem chave primária").arg(table));
    QStringList assignments;
    QList<vb::Variant> values;
    for (int column : d.edited) {
        const Column& c = d.result.columns.at(column);
        assignments.append(quotedName(c.baseColumn.isEmpty() ? c.name : c.baseColumn) +
                           QStringLiteral(" = ?"));
        values.append(d.result.rows.at(d.position).at(column));
    }
    QStringList conditions;
    for (const QString& keyColumn : key) {
        const int column = columnOf(d.result.columns, keyColumn);
        if (column < 0)
            throw error::notAllowed(QStringLiteral("a chave %1 não está no recordset").arg(keyColumn));
        conditions.append(quotedName(keyColumn) + QStringLiteral(" = ?"));
        values.append(d.original[column]);
    }
    const QString statement = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                  .arg(quotedName(table), assignments.join(QStringLiteral(", ")),
                                       conditions.join(QStringLiteral(" AND ")));
    if (d.connection.runWith(statement, values) != 1)
        throw vb::Error(-2147217864, QStringLiteral("Não foi possível encontrar a linha para a actualizar."),
                        QStringLiteral("ADODB.Recordset"));
    d.edited.clear();
    d.original.clear();
}

void Recordset::CancelUpdate()
{
    Field::Data& d = open();
    if (!d.edited.isEmpty() && d.onRow())
        d.result.rows[d.position] = d.original;
    d.edited.clear();
    d.original.clear();
}

void Recordset::Requery()
{
    Field::Data& d = open();
    if (d.pages) {
        load(ResultSet{d.result.columns, {}});
        d.atStart = true;
        d.atEnd = false;
        d.offset = 0;
        readAfter(d);
        return;
    }
    BatchResult result = d.connection.run(d.source);
    load(std::move(result.rows));
}

} // namespace ado
