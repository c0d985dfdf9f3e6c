#pragma once
// Takes a contact out of a contact file: its link to the file, and its rows
// in the file's own table and in that table's permissions. The caller holds
// the transaction; a failing statement raises its error.
#include <QString>

namespace membership {

// False when no file has that name. A file whose table is not a plain name
// raises an error rather than reach a statement.
bool RemoveFromFile(qint32 contactoId, const QString& file);

} // namespace membership
