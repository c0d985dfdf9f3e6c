#pragma once
// The statements of the host's list: a screen of contacts after (or before)
// a row in the order of the sorted column, how many the list holds, every
// key of it. They read the list the server keeps (tbContactos_Lista) through
// the index of the sorted column, so a screen costs what a screen holds, not
// what the catalog holds. Only the contacts of "Contactos Quarvenses" the
// user may open are listed, decided by the server in the same statement.
#include "platform/ado/ResultSet.h"

#include <QString>

class ContactListQuery {
  public:
    enum class Plan {
        // In the order of the sorted column's index, each row checked.
        Walk,
        // From the rows whose folded text holds the typed letters (the
        // trigram index), sorted: a search that few contacts answer.
        Trigrams,
    };

    struct Settings {
        QString typed;      // the search box's text
        QString openable;   // the user's condition over the permission rows
        int kind = 0;       // a genero_id, or 0 for both kinds
        int file = 0;       // a contacto_tipo_id the contacts are in, or 0
        int sortColumn = 0; // 0 the name, then NIF, telephone, e-mail, locality
        bool ascending = true;
        // The catalog keeps the searched text folded (the embedded server):
        // a row walked is first checked against it, natively, and only the
        // few that hold the typed letters by the exact condition.
        bool folded = false;
    };
    explicit ContactListQuery(Settings settings, Plan plan = Plan::Walk);

    // The statement asking how many contacts hold the typed letters in the
    // trigram index, up to `enough` + 1; empty when the text has no run of
    // three letters for the index to look for.
    QString trigramProbe(int enough) const;
    // Up to `count` rows after `row` (after nothing: the first ones), or the
    // rows just before it (before nothing: the last ones) in reverse order.
    QString after(const ado::Row* row, int count) const;
    QString before(const ado::Row* row, int count) const;
    // Every row after `row` (after nothing: all of them), in one statement.
    QString rest(const ado::Row* row) const;
    // How many contacts the list holds with a key in (`from`, `to`].
    QString countBetween(qint64 from, qint64 to) const;
    QString count() const;
    static QString highestKey();
    // Every key of the list, in its order.
    QString keys() const;
    QString sortField() const;
    Plan plan() const { return plan_; }

  private:
    QString select(const QString& columns, const QString& extra, bool forward, int count) const;
    QString from() const;
    QString conditions() const;
    QString order(bool forward) const;
    QString afterRow(const ado::Row& row, bool forward) const;

    Settings settings_;
    Plan plan_;
    QString search_;       // the exact condition on the searched columns
    QString pattern_;      // the typed text as a LIKE pattern of the folded text
    bool indexed_ = false; // the pattern has letters enough for the trigram index
};
