#pragma once
// The host's first run: an embedded server under the user's data folder with
// the catalog "Quarvenses" made from the schema and the demonstration data,
// and the settings Login reads (password enciphered), with the card's window
// values seeded so the first card opens normally.
#include <QString>

namespace FirstRun {

inline constexpr const char* demoLogin = "sa";
inline constexpr const char* demoPassword = "quarvenses";
inline constexpr const char* catalog = "Quarvenses";
inline constexpr const char* productKey = "Quarvenses";

// The default server folder: the user's data folder + "/servidor".
QString defaultServerFolder();
// Points the all-users folder (where the settings' shadow file lives) at a
// folder of the user's when the machine's own cannot be written.
void chooseSettingsFolder();
// A server folder named for this run (--data) whose catalog the stored
// settings do not name: the run keeps settings of its own, beside the
// user's and made on first use, so that it opens the folder named and
// never rewrites the settings of another catalog. False when the stored
// settings name that folder already, or none are stored.
bool keepSettingsApartFor(const QString& serverFolder);
// True when it had to create anything. Throws vb::Error when it cannot.
bool ensure(const QString& serverFolder);

} // namespace FirstRun
