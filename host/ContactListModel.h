#pragma once
// The host's list as a window on the server: the first screen read when the
// list is asked for, the next ones as the view scrolls to them, the count
// apart (in slices between events on a large catalog, so that the window
// answers meanwhile). The card gets a recordset over the same list that
// reads on as it moves, so that first, previous, next and last go through
// every contact without holding them all.
#include "host/ContactListQuery.h"
#include "platform/ado/Recordset.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <memory>

class ContactListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // A screen and a little more: a read costs what it shows.
    static constexpr int pageRows = 100;
    // Contact keys counted at a time between events (about 70 ms on an
    // office PC with a million contacts).
    static constexpr qint64 defaultCountSlice = 50000;
    void setCountSlice(qint64 keys) { countSlice_ = keys; }
    // A search that at most this many contacts' text answers is read from
    // the trigram index, a screen of them sorted; a wider one (a twentieth of
    // a million) is common enough to be met soon walking the sorted index.
    static constexpr int trigramEnough = 50000;

    // `kindIcons`: a person's and an institution's.
    explicit ContactListModel(QList<QIcon> kindIcons, QObject* parent = nullptr);
    ~ContactListModel() override;

    // Reads the first screen for these settings; false, and the reason
    // given by failed(), when the server could not be read (the rows shown
    // stay as they were).
    bool list(const ContactListQuery::Settings& settings);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    qint32 keyAt(int row) const;
    QString textAt(int row, int column) const;
    // The row of a contact among those read; reads on (a page at a time, up
    // to `pages` pages) until it is found. -1 when it is not in the list.
    int rowOf(qint32 contactoId, int pages = 0);
    // Every row of the list, read to its end (printing, a CSV of the list).
    bool readAll();
    // Every key of the list in its order, in one statement.
    QList<qint32> allKeys() const;
    // How many contacts the list holds; -1 while they are being counted.
    int total() const;
    // A recordset over the list for the card, on `row`.
    ado::Recordset recordset(int row) const;
    QString source() const;

    static QString failureText(const QString& reason);

  signals:
    void counted(const QString& text);
    void failed(const QString& reason);

  private:
    struct Shared;
    class Pages;
    bool readMore();
    const ado::Row* lastRow() const;
    // Adds rows read after the last; false when there were none.
    bool append(QList<ado::Row> rows);
    void chooseTrigrams(ContactListQuery::Settings settings);
    void startCount();
    void countNextSlice(quint64 generation);
    void countAtOnce(quint64 generation);
    QString countingText() const;
    bool catalogHasTrigrams();

    QList<QIcon> icons_;
    std::shared_ptr<Shared> shared_;
    ado::ResultSet rows_;
    bool complete_ = true;
    bool readFailed_ = false;
    bool settling_ = false;
    qint64 countSlice_ = defaultCountSlice;
    qint64 highest_ = 0;
    qint64 countedTo_ = 0;
    qint64 countedRows_ = 0;
    quint64 generation_ = 0;
    int trigramsKnown_ = -1; // -1 not asked yet, else 0 or 1
};
