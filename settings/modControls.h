#pragma once
// The display font configured in the database, applied to a window's
// text-bearing controls. Buttons keep their own font.
#include "platform/ado/Connection.h"
#include <QString>

class QWidget;

namespace modControls {

// The configured font name, process-wide; empty until known.
QString& ConfiguredFontName();

// True when the font was applied. `connection` nothing means SqlServer.
bool ApplyConfiguredFont(QWidget* form, const ado::Connection& connection = ado::Connection::nothing());

} // namespace modControls
