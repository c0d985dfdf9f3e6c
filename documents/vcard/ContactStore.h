#pragma once
// Contacts read and written for vCard files, on the shared connection. The
// rows are those the card reads and writes; the card's UID and what the
// columns cannot hold live in tbContactos_VCard. Writing methods run inside
// the caller's transaction; every failure throws vb::Error.
#include "documents/vcard/ContactMapping.h"

#include <QList>
#include <QString>
#include <optional>

namespace vcard {

class ContactStore {
  public:
    explicit ContactStore(QString user);

    // The contact as a record, its UID made (and stored) when it had none.
    ContactRecord load(qint32 id);

    // A stored contact that may be the card's: the same UID, the same NIF,
    // or the same e-mail address or telephone number. Only a UID (or a NIF
    // under the same name) says it is the same contact; an address or a
    // number is only likeness, which families and offices share.
    // The same name (case and accents aside) is likeness too, never the same contact.
    enum class Match { None, Uid, Nif, Email, Phone, Name };
    struct Duplicate {
        qint32 id = 0;
        bool institution = false;
        QString name; // as stored (nome_union)
        Match match = Match::None;
        QString reason;
        // "n.º 38 Ana Alves"
        QString named() const;
    };
    Duplicate findDuplicate(const ContactRecord& contact);
    // Two names of one person or institution: the same words, accents,
    // case and punctuation aside, or the words of one among the other's.
    static bool namesAgree(const QString& stored, const QString& card);

    // A new contact with every row of the record (its relations apart),
    // filed in "Contactos Quarvenses" with the user's default masks.
    qint32 create(const ContactRecord& contact);
    // The stored contact made to say what the record says.
    void update(qint32 id, const ContactRecord& contact);
    // Relations to the contacts that hold these UIDs, those not there yet
    // added; the UIDs no contact holds are returned.
    QList<RelatedRow> relate(qint32 id, const QList<RelatedRow>& related);
    // Relations to UIDs no contact holds, kept with the contact as the card said them.
    void keepUnresolved(qint32 id, const QList<RelatedRow>& unresolved);

    qint32 contactOfUid(const QString& uid);
    // Whether the contact is still there (another user may have deleted it).
    bool exists(qint32 id);
    // The contacts this user may open, by name.
    QList<qint32> openable();

  private:
    QString uidOf(qint32 id, QString* kept = nullptr);
    // The statement finding a UID's contact, merged contacts' UIDs included
    // where the catalog keeps them.
    const char16_t* uidStatement();
    void writeRows(qint32 id, const ContactRecord& contact);
    void writeExchange(qint32 id, const ContactRecord& contact);
    void writeIdentity(qint32 id, const ContactRecord& contact, bool created);

    QString user_;
    std::optional<bool> mergedUids_;
};

} // namespace vcard
