#pragma once
// Looking at an embedded catalog from outside the component, straight
// through SQLite: what it holds, whether another writer gets in at once, and
// whether its contacts are whole.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace testsupport {

// A digest of every row of every table (but the given ones), in key order;
// with `exceptContact`, the rows of that contact (by contacto_id) left out.
QByteArray catalogFingerprint(const QString& folder, const QString& catalog, const QStringList& except = {},
                              qint32 exceptContact = 0);
// What the catalog holds, table by table, as sorted rows of text: the rows'
// own numbering (integer keys other than contacto_id) and the audit columns
// a save rewrites (modified_by, *_date) left out, so that writing the same
// values again reads the same.
using CatalogContent = QMap<QString, QStringList>;
CatalogContent catalogContent(const QString& folder, const QString& catalog);
// The tables whose rows differ, with a row each side, for messages.
QStringList contentDifferences(const CatalogContent& before, const CatalogContent& after);

// True when a new connection can begin writing at once (no lock held).
bool catalogWritableNow(const QString& folder, const QString& catalog);
// PRAGMA integrity_check's answer ("ok" when sound).
QString catalogIntegrity(const QString& folder, const QString& catalog);
// Contacts that are not whole: without the detail row of their kind,
// members of "Contactos Quarvenses" without their permissions row, or whose
// row of the host's list is not what the contacts' view reads. Empty when
// every contact is whole.
QStringList incompleteContacts(const QString& folder, const QString& catalog);

// The host's trigram index checked against the list's rows ("ok" when they
// agree).
QString searchIndexIntegrity(const QString& folder, const QString& catalog);

} // namespace testsupport
