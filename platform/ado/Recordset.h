#pragma once
// A recordset shaped like ADO's: client-side and static (every row is
// fetched when it opens), shared by reference between its holders, so the
// host and the record card see the same cursor.
#include "platform/ado/AdoConstants.h"
#include "platform/ado/Connection.h"
#include "platform/ado/ResultSet.h"
#include <memory>
#include <optional>

namespace ado {

class Recordset;

// The rows of a list too long to hold, read a screen at a time as a
// recordset's cursor moves through it.
class RowPages {
  public:
    virtual ~RowPages() = default;
    // The rows just after `row` in the list's order (after nothing: the
    // first ones); none at its end.
    virtual std::optional<ResultSet> after(const Row* row) = 0;
    // The rows just before `row`, in the list's order (before nothing: the
    // last ones); none at its start.
    virtual std::optional<ResultSet> before(const Row* row) = 0;
    // How many rows the list holds; -1 while that is not known.
    virtual int total() const = 0;
};

class Field {
  public:
    QString Name() const;
    int Type() const;          // an ado::DataType
    vb::Variant Value() const; // 3021 without a current record
    void setValue(const vb::Variant& value);
    vb::Variant OriginalValue() const;

  private:
    friend class Recordset;
    struct Data;
    Field(std::shared_ptr<Data> data, int index) : data_(std::move(data)), index_(index) {}
    std::shared_ptr<Data> data_;
    int index_;
};

class Recordset {
  public:
    Recordset(); // a new, closed recordset
    static Recordset nothing();
    bool isNothing() const { return !data_; }
    bool sameObject(const Recordset& other) const { return data_ == other.data_; }

    void Open(const QString& source, const Connection& activeConnection, int cursorType = adOpenUnspecified,
              int lockType = adLockUnspecified, int options = adCmdUnspecified);
    void Close();
    int State() const;
    QString Source() const;
    Connection ActiveConnection() const;

    bool Bof() const;
    bool Eof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    int RecordCount() const;
    // 1-based position of the current row; -1 at BOF, -3 at EOF (ADO's values).
    int AbsolutePosition() const;
    void setAbsolutePosition(int position);

    // criteria "field=value", "field='text'", also <>, <, >, <=, >= and LIKE
    // 'a*'; texts compared without regard to case. No match leaves the cursor
    // at EOF (forward) or BOF (backward).
    void Find(const QString& criteria, int skipRecords = 0, int searchDirection = adSearchForward,
              const vb::Variant& start = vb::Variant::missing());

    int FieldCount() const;
    Field Fields(int index) const;           // 3265 when out of range
    Field Fields(const QString& name) const; // without regard to case; 3265 when absent
    vb::Variant operator()(const QString& name) const { return Fields(name).Value(); }

    // Writes the current row's changed fields back to its table, by its
    // primary key. Only for a single-table SELECT.
    void Update();
    void CancelUpdate();
    void Requery();

    // For Connection::Execute.
    static Recordset fromResult(const Connection& connection, const QString& source,
                                std::optional<ResultSet> rows);
    // A read-only recordset over a long list, holding the rows read so far
    // (`first`, from the list's start; `complete` when they are all of it)
    // and reading more from `pages` as the cursor moves past them. Its
    // RecordCount is the list's total (-1 while unknown) and Find looks
    // among the rows it holds.
    static Recordset fromPages(const Connection& connection, const QString& source, ResultSet first,
                               bool complete, std::shared_ptr<RowPages> pages);

  private:
    explicit Recordset(std::shared_ptr<Field::Data> data) : data_(std::move(data)) {}
    Field::Data& data() const;
    Field::Data& open() const; // throws 3709 unless open
    void load(std::optional<ResultSet> rows);
    // Paged lists: the rows after the last held, or before the first held;
    // false at the list's end (or start).
    bool readAfter(Field::Data& d);
    bool readBefore(Field::Data& d);
    int findColumn(const QString& name) const; // -1 when absent
    void saveEdits();
    QString updateTable() const;

    std::shared_ptr<Field::Data> data_;
};

} // namespace ado
