#pragma once
// The contacts the list last read from the server, searched in memory. A
// keystroke in the search box filters these rows instead of asking
// the server again: on a large catalog that was a full read of the contacts'
// view per key (and a network round trip on SQL Server). The rows are read
// again whenever the user asks (F5), sorts by another column, or comes back
// from the card or from an import, for what is typed then; a search wider
// than that read reads them all.
#include "platform/ado/ResultSet.h"
#include "platform/dialect/LikePattern.h"

#include <QList>
#include <QString>

class ListSnapshot {
  public:
    ListSnapshot() = default;
    // `readFor`: the typed text the rows were read for (empty: every contact).
    // The text is looked for in `columns`, and without its spaces in
    // `numberColumns` without theirs (telephones, NIFs).
    ListSnapshot(ado::ResultSet rows, const QStringList& columns, const QStringList& numberColumns,
                 const QString& readFor = {});

    // Whether every contact a search for the typed text finds is among these
    // rows: they were read for no text, or for a part of this one.
    bool covers(const QString& typed) const;
    // The rows where one of the columns matches a LIKE pattern
    // ("%maria%silva%"), or a number column without its spaces `numberPattern`,
    // in their order, the patterns read as the servers read them with an
    // accent- and case-insensitive collation.
    ado::ResultSet matching(const QString& pattern, const QString& numberPattern) const;

  private:
    static bool matchesEverything(const QString& pattern);
    // Each row's searched values, folded; the numbers last, without spaces.
    const QList<QList<dialect::LikePattern::Folded>>& foldedValues() const;

    ado::ResultSet rows_;
    QList<int> columns_;
    QList<int> numberColumns_;
    dialect::LikePattern::Folded readFor_;
    // Folded on the first search, not when listing: start-up does not wait for it.
    mutable QList<QList<dialect::LikePattern::Folded>> folded_;
    mutable bool foldedReady_ = false;
};
