#pragma once
// Two records of one person or firm made one: the kept contact takes the
// values the user chose from the other, every row of the other that it does
// not already have (addresses, telephones and e-mails of the same value once),
// its files, events, notes, documents, relations (both ways, none to itself)
// and the sibling products' rows; the other is then deleted as any contact
// is. All in one unit, behind the right to change the kept contact and to
// delete the other. Each merge keeps every row both contacts had, so that
// it can be undone exactly while nothing has changed the kept contact since.
// Runs on the shared connection; vb::Error (in Portuguese) when refused or failed,
// nothing then changed.
#include "platform/values/Variant.h"

#include <QList>
#include <QString>

namespace duplicates {

// One of the contacts' own values that differ.
struct FieldChoice {
    QString table; // tbContactos, tbContactos_Singulares, …
    QString column;
    QString caption; // "Nome", "NIF", …
    vb::Variant kept;
    vb::Variant other;
    bool takeOther = false; // what the merge writes: the other's value
};

struct MergeRecord {
    qint32 id = 0;
    qint32 kept = 0;
    qint32 other = 0;
    QString by;
    QString when; // as the server gives it
    bool undone = false;
};

class ContactMerge {
  public:
    explicit ContactMerge(QString user);

    // The values that differ, each proposing the newer contact's value
    // unless it is empty.
    QList<FieldChoice> differences(qint32 kept, qint32 other);
    // Merges `other` into `kept`; returns the merge's number.
    qint32 merge(qint32 kept, qint32 other, const QList<FieldChoice>& choices);
    // Both contacts as they were before the merge. Refused, naming what
    // changed, when the kept contact changed after it.
    void undo(qint32 mergeId);
    // The merges, the latest first.
    QList<MergeRecord> merges();

  private:
    QString user_;
};

} // namespace duplicates
