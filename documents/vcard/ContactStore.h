#pragma once
// Contacts read and written for vCard files, on the shared connection. The
// rows are those the card reads and writes; the card's UID and what the
// columns cannot hold live in tbContactos_VCard. Writing methods run inside
// the caller's transaction; every failure throws vb::Error.
#include "documents/vcard/ContactMapping.h"

#include <QList>
#include <QString>

namespace vcard {

class ContactStore {
  public:
    explicit ContactStore(QString user);

    // The contact as a record, its UID made (and stored) when it had none.
    ContactRecord load(qint32 id);

    // A contact already holding this card: the same UID, NIF or e-mail
    // address. `reason` says which.
    struct Duplicate {
        qint32 id = 0;
        bool institution = false;
        QString reason;
    };
    Duplicate findDuplicate(const ContactRecord& contact);

    // The first column the record does not fit in, as a sentence; empty when it fits.
    static QString overflow(const ContactRecord& contact);

    // A new contact with every row of the record (its relations apart),
    // filed in "Contactos Quarvenses" with the user's default masks.
    qint32 create(const ContactRecord& contact);
    // The stored contact made to say what the record says.
    void update(qint32 id, const ContactRecord& contact);
    // Relations to the contacts that hold these UIDs, those not there yet
    // added; the UIDs no contact holds are returned.
    QList<RelatedRow> relate(qint32 id, const QList<RelatedRow>& related);
    // Properties added to what is kept with the contact.
    void keepAlso(qint32 id, const QList<Property>& properties);

    qint32 contactOfUid(const QString& uid);
    // The contacts this user may open, by name.
    QList<qint32> openable();

  private:
    QString uidOf(qint32 id, QString* kept = nullptr);
    void writeRows(qint32 id, const ContactRecord& contact);
    void writeExchange(qint32 id, const ContactRecord& contact);
    void writeIdentity(qint32 id, const ContactRecord& contact, bool created);

    QString user_;
};

} // namespace vcard
