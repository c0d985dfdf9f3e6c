#pragma once
// The contacts the list last read from the server, searched in memory. A
// keystroke in the search box filters these rows by name instead of asking
// the server again: on a large catalog that was a full read of the contacts'
// view per key (and a network round trip on SQL Server). The rows are read
// again whenever the user asks (F5), sorts by another column, or comes back
// from the card or from an import.
#include "platform/ado/ResultSet.h"
#include "platform/dialect/LikePattern.h"

#include <QList>
#include <QString>

class ListSnapshot {
  public:
    ListSnapshot() = default;
    ListSnapshot(ado::ResultSet rows, const QString& nameColumn);

    // The rows whose name matches a LIKE pattern ("%maria%silva%"), in their
    // order, the pattern read as the servers read it with an accent- and
    // case-insensitive collation.
    ado::ResultSet matching(const QString& pattern) const;
    qsizetype size() const { return rows_.rows.size(); }

  private:
    static bool matchesEverything(const QString& pattern);
    const QList<dialect::LikePattern::Folded>& foldedNames() const;

    ado::ResultSet rows_;
    int nameColumn_ = -1;
    // Folded on the first search, not when listing: start-up does not wait for it.
    mutable QList<dialect::LikePattern::Folded> folded_;
    mutable bool foldedReady_ = false;
};
