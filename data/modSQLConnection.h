#pragma once
// The check that runs before every piece of database work: is the shared
// connection alive, and if not (and the caller allows it), re-open it from the
// kept connection strings, primary and secondary in turn, while the family's
// progress display tells the user. Any non-empty result means "do not go on".
#include "platform/ado/Connection.h"
#include <QString>

class QWidget;

namespace modSQLConnection {

// `connection` nothing means SqlServer (and is then set to it). Empty: go on;
// "...": still connecting; the lost-transaction text when the session under an
// open transaction went away (now or before, until it is rolled back);
// otherwise the description of an unexpected failure.
QString CheckSQLConnection(QWidget* form, ado::Connection& connection, bool& earlyStop, bool& reconnect);
// The usual call: SqlServer, no early stop, reconnect allowed.
QString CheckSQLConnection(QWidget* form = nullptr);

// Whether SqlServer answers now (open, no lost transaction, a statement
// goes through). Tells a refusal from a server that could not be asked.
bool IsUsable();

} // namespace modSQLConnection
