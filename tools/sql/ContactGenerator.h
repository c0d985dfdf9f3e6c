#pragma once
// Contacts in bulk for a catalog that holds the demonstration data, for
// benchmarks and for sites that want to try the system at scale: people
// (about 70%, with titles and professions) and firms (with business areas)
// with Portuguese names, valid and unique tax numbers, one to three
// addresses, telephones and e-mails (one default of each), members of
// "Contactos Quarvenses" and of some other files with the permission masks
// the demonstration data uses, events, notes and relations. The same count
// always gives the same contacts.
#include <QString>
#include <functional>

namespace ado::embedded {

// Completes the first eight digits of a tax number with its check digit.
// The platform layer knows no tax rules: the caller brings them. It is
// called from the generator's own thread, which makes the contacts while
// the earlier ones are written.
using TaxCheckDigit = std::function<int(const QString& firstEight)>;

struct GeneratedContacts {
    int count = 0;
    TaxCheckDigit checkDigit;
};

inline constexpr int maxGeneratedContacts = 1000000;

// Adds the contacts to the catalog file in one transaction: all or none.
// Throws vb::Error when the count is out of range, no check digit is given,
// the catalog lacks the demonstration data ("Contactos Quarvenses", users,
// event types) or SQLite fails.
void addGeneratedContacts(const QString& catalogPath, const GeneratedContacts& contacts);

} // namespace ado::embedded
