#include "host/ContactListModel.h"

#include "connection/ConnectionState.h"
#include "lists/Lista.h"
#include "platform/values/Conversions.h"

#include <QTimer>
#include <algorithm>

namespace {

const char16_t selectTrigramTable[] = u"SELECT COUNT(*) AS tabelas FROM INFORMATION_SCHEMA.TABLES "
                                      u"WHERE TABLE_NAME = N'tbContactos_Lista_Trigramas'";

// The list's columns past the key and the kind, with their captions.
const char* const captions[] = {"Nome", "NIF", "Telefone", "Correio electrónico", "Localidade"};
constexpr int shownColumns = int(std::size(captions));
constexpr int firstShown = 2;
constexpr int kindColumn = 1;
constexpr int institutionKind = 2;

ado::ResultSet read(const QString& statement)
{
    return Data().SqlServer.run(statement).rows.value_or(ado::ResultSet{});
}

qint64 number(const QString& statement)
{
    const ado::ResultSet result = read(statement);
    if (result.rows.isEmpty() || result.rows.first().isEmpty() || result.rows.first().first().isNull())
        return 0;
    return qint64(vb::CDbl(result.rows.first().first()));
}

} // namespace

// What one listing shares with the recordsets the card got from it.
struct ContactListModel::Shared {
    ContactListQuery query;
    int total = -1;
};

class ContactListModel::Pages : public ado::RowPages {
  public:
    explicit Pages(std::shared_ptr<const Shared> listing) : listing_(std::move(listing)) {}
    std::optional<ado::ResultSet> after(const ado::Row* row) override
    {
        return read(listing_->query.after(row, pageRows));
    }
    std::optional<ado::ResultSet> before(const ado::Row* row) override
    {
        ado::ResultSet rows = read(listing_->query.before(row, pageRows));
        std::reverse(rows.rows.begin(), rows.rows.end());
        return rows;
    }
    int total() const override { return listing_->total; }

  private:
    std::shared_ptr<const Shared> listing_;
};

ContactListModel::ContactListModel(QList<QIcon> kindIcons, QObject* parent)
    : QAbstractTableModel(parent), icons_(std::move(kindIcons)),
      shared_(std::make_shared<Shared>(Shared{ContactListQuery({}), 0}))
{
}

ContactListModel::~ContactListModel() = default;

QString ContactListModel::failureText(const QString& reason)
{
    return QStringLiteral("Não foi possível listar os contactos: ") + reason;
}

bool ContactListModel::catalogHasTrigrams()
{
    if (trigramsKnown_ < 0)
        trigramsKnown_ = number(QString::fromUtf16(selectTrigramTable)) > 0 ? 1 : 0;
    return trigramsKnown_ == 1;
}

bool ContactListModel::list(const ContactListQuery::Settings& settings)
{
    ++generation_; // a count under way is for the old list
    try {
        ContactListQuery::Settings asked = settings;
        asked.folded = catalogHasTrigrams();
        auto listing = std::make_shared<Shared>(Shared{ContactListQuery(asked), -1});
        const QString probe = listing->query.trigramProbe(trigramEnough);
        if (asked.folded && !probe.isEmpty() && number(probe) <= trigramEnough)
            listing->query = ContactListQuery(asked, ContactListQuery::Plan::Trigrams);
        ado::ResultSet first = read(listing->query.after(nullptr, pageRows));
        beginResetModel();
        readFailed_ = false;
        shared_ = std::move(listing);
        complete_ = first.rows.size() < pageRows;
        rows_ = std::move(first);
        settling_ = true;
        endResetModel();
        QTimer::singleShot(0, this, [this] { settling_ = false; });
    } catch (const vb::Error& e) {
        emit failed(failureText(e.description()));
        return false;
    }
    startCount();
    return true;
}

// A list read whole is counted as it is; the few contacts a search finds in
// the trigram index once the screen is shown; the whole list in slices of
// keys between events.
void ContactListModel::startCount()
{
    countedRows_ = 0;
    countedTo_ = 0;
    try {
        if (complete_) {
            shared_->total = int(rows_.rows.size());
        } else if (shared_->query.plan() == ContactListQuery::Plan::Trigrams) {
            emit counted(countingText());
            const quint64 generation = generation_;
            QTimer::singleShot(0, this, [this, generation] { countAtOnce(generation); });
            return;
        } else {
            // A small catalog is counted at once; a large one after the
            // screen is shown, a slice between events.
            highest_ = number(ContactListQuery::highestKey());
            if (highest_ <= countSlice_) {
                countNextSlice(generation_);
            } else {
                emit counted(countingText());
                const quint64 generation = generation_;
                QTimer::singleShot(0, this, [this, generation] { countNextSlice(generation); });
            }
            return;
        }
    } catch (const vb::Error& e) {
        emit failed(failureText(e.description()));
        return;
    }
    emit counted(Lista::countLine(shared_->total));
}

void ContactListModel::countAtOnce(quint64 generation)
{
    if (generation != generation_)
        return;
    try {
        shared_->total = int(number(shared_->query.count()));
    } catch (const vb::Error& e) {
        emit failed(failureText(e.description()));
        return;
    }
    emit counted(Lista::countLine(shared_->total));
}

void ContactListModel::countNextSlice(quint64 generation)
{
    if (generation != generation_)
        return;
    try {
        const qint64 to = countedTo_ + countSlice_;
        countedRows_ += number(shared_->query.countBetween(countedTo_, to));
        countedTo_ = to;
    } catch (const vb::Error& e) {
        emit failed(failureText(e.description()));
        return;
    }
    if (countedTo_ >= highest_) {
        shared_->total = int(countedRows_);
        emit counted(Lista::countLine(shared_->total));
        return;
    }
    emit counted(countingText());
    QTimer::singleShot(0, this, [this, generation] { countNextSlice(generation); });
}

QString ContactListModel::countingText() const
{
    return QStringLiteral("A contar os registos: ") + QString::number(countedRows_) +
           QStringLiteral(" até agora…");
}

int ContactListModel::total() const
{
    return shared_->total;
}

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.rows.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownColumns;
}

QString ContactListModel::textAt(int row, int column) const
{
    if (row < 0 || row >= rows_.rows.size() || column < 0 || column >= shownColumns)
        return {};
    const vb::Variant& value = rows_.rows.at(row).at(firstShown + column);
    return value.isNull() ? QString() : vb::CStr(value);
}

qint32 ContactListModel::keyAt(int row) const
{
    return row >= 0 && row < rows_.rows.size() ? vb::CLng(rows_.rows.at(row).at(0)) : 0;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return textAt(index.row(), index.column());
    if (role == Qt::DecorationRole && index.column() == 0 && icons_.size() > 1) {
        const vb::Variant& kind = rows_.rows.at(index.row()).at(kindColumn);
        return icons_.at(!kind.isNull() && vb::CLng(kind) == institutionKind ? 1 : 0);
    }
    if (role == Qt::UserRole)
        return keyAt(index.row());
    return {};
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= shownColumns)
        return {};
    return QString::fromUtf8(captions[section]);
}

// Not while the view settles on a new list: it asks before its rows are laid
// out, as if they all fitted, and a second screen would be read for nothing.
// It asks again once they are, and whenever it is scrolled to its end.
bool ContactListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !complete_ && !settling_;
}

void ContactListModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid())
        readMore();
}

bool ContactListModel::readMore()
{
    if (complete_)
        return false;
    ado::ResultSet more;
    try {
        more = read(shared_->query.after(lastRow(), pageRows));
    } catch (const vb::Error& e) {
        complete_ = true; // not asked again on every scroll; F5 lists anew
        readFailed_ = true;
        emit failed(failureText(e.description()));
        return false;
    }
    complete_ = more.rows.size() < pageRows;
    return append(std::move(more.rows));
}

const ado::Row* ContactListModel::lastRow() const
{
    return rows_.rows.isEmpty() ? nullptr : &rows_.rows.last();
}

bool ContactListModel::append(QList<ado::Row> rows)
{
    if (rows.isEmpty())
        return false;
    const int first = int(rows_.rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    rows_.rows.append(std::move(rows));
    endInsertRows();
    return true;
}

int ContactListModel::rowOf(qint32 contactoId, int pages)
{
    int row = 0;
    for (int read = 0;; ++read) {
        for (; row < rows_.rows.size(); ++row)
            if (keyAt(row) == contactoId)
                return row;
        if (read >= pages || !readMore())
            return -1;
    }
}

// The rest of the list in one statement: printing a long list is not a
// statement a screen.
bool ContactListModel::readAll()
{
    if (complete_)
        return !readFailed_;
    ado::ResultSet rest;
    try {
        rest = read(shared_->query.rest(lastRow()));
    } catch (const vb::Error& e) {
        emit failed(failureText(e.description()));
        return false;
    }
    complete_ = true;
    append(std::move(rest.rows));
    return true;
}

QList<qint32> ContactListModel::allKeys() const
{
    QList<qint32> keys;
    for (const ado::Row& row : read(shared_->query.keys()).rows)
        keys << vb::CLng(row.at(0));
    return keys;
}

QString ContactListModel::source() const
{
    return shared_->query.after(nullptr, pageRows);
}

ado::Recordset ContactListModel::recordset(int row) const
{
    ado::Recordset rs = ado::Recordset::fromPages(Data().SqlServer, source(), rows_, complete_,
                                                  std::make_shared<Pages>(shared_));
    if (row >= 0 && row < rows_.rows.size())
        rs.setAbsolutePosition(row + 1);
    return rs;
}
