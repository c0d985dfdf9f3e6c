#pragma once
// A contact as the database holds it, and its vCard 4.0 card, both ways.
//
// What has a column goes into it (names, NIF, addresses, telephones,
// e-mails, notes, photo, profession, birth date, related contacts, files).
// Everything else of a card is kept verbatim with the contact and written
// back on export, so that a round trip loses nothing. A mapped property
// that says more than its columns can hold (a second given name, an
// address's region, a telephone's "text" type) is kept too, marked with
// what the columns made of it: on export it stands in for the property the
// columns give, as long as the columns still say the same; once the user
// changed them on the card, the columns win.
#include "documents/vcard/VCard.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace vcard {

struct AddressRow {
    QString morada; // street lines, one per line
    QString codigoPostal;
    QString localidade;
    QString pais;
    bool preferred = false;

    bool operator==(const AddressRow&) const = default;
};

struct PhoneRow {
    QString numero;
    QString tipo; // "Telefone", "Móvel", "Fax", …
    bool preferred = false;

    bool operator==(const PhoneRow&) const = default;
};

struct EmailRow {
    QString email;
    QString descrit;
    bool preferred = false;

    bool operator==(const EmailRow&) const = default;
};

struct RelatedRow {
    QString uid;     // the other contact's UID ("urn:uuid:…")
    QString descrit; // X-RELACAO, or the card's TYPE in Portuguese

    bool operator==(const RelatedRow&) const = default;
};

struct ContactRecord {
    bool institution = false;
    QString uid;
    QString nome; // individual: given names; institution: unused
    QString apelido;
    QString titulo;
    QString profissao;
    QString organizacao; // institution's name
    QString nif;
    QDate nascimento;
    QList<AddressRow> addresses;
    QList<PhoneRow> phones;
    QList<EmailRow> emails;
    QStringList notes;
    QByteArray photoPng;
    QList<RelatedRow> related;
    QStringList categories;
    QDateTime modified;
    QList<Property> kept;
    // What reading the card made of it that its writer may not expect: a
    // value cut to its column, a name taken from an e-mail address.
    QStringList remarks;

    // The name the list and the title show (tbContactos.nome_union).
    QString displayName() const;
};

Card toCard(const ContactRecord& contact);
// The card is read the 4.0 way first (upgradeTo40), whatever its version.
ContactRecord fromCard(const Card& card);

// Relations to UIDs no contact holds, kept with the contact as the card
// said them: their kept originals, or plain RELATED properties.
QList<Property> withUnresolved(QList<Property> kept, const QList<RelatedRow>& unresolved);

// The kept properties as stored with the contact, and back.
QString keptText(const QList<Property>& kept);
QList<Property> keptProperties(const QString& text);

// Telephone kinds: the card's TYPE values and the panel's words.
QString phoneKind(const QStringList& types);
QStringList phoneTypes(const QString& tipo);

} // namespace vcard
