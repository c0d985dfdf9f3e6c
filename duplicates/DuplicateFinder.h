#pragma once
// Contacts that are probably one, among those the user may open: groups of
// contacts with the same NIF, e-mail address or telephone number, or with
// names alike (with how alike, in percent). Pairs a user said are not one
// are left out for good. Reads on the shared connection; vb::Error on a
// failed statement.
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <utility>

namespace duplicates {

enum class Reason { Nif, Email, Phone, Name };

struct Group {
    // Why, strongest first; a group found for several reasons is one group.
    QList<Reason> reasons;
    QString value; // the shared NIF, e-mail, number or (name) the names
    int score = 100;
    QList<qint32> members; // in the order of their numbers
    // "o mesmo NIF 123456789", "nomes parecidos (92%)"…
    QString description() const;
};

struct Contact {
    qint32 id = 0;
    QString name;
    QString nif;
    QString phone; // the first, as stored
    QString email;
};

// What the groups are made from: pure data, so that they can be made and
// tested apart from a server.
struct Catalog {
    QList<Contact> contacts;
    QList<std::pair<qint32, QString>> emails;
    QList<std::pair<qint32, QString>> phones;
    QSet<std::pair<qint32, qint32>> dismissed; // (lower, higher)
};

// The groups in the order a user works through them: shared NIF first,
// then e-mail, telephone, and names from the most alike.
QList<Group> groupsOf(const Catalog& catalog);

class DuplicateFinder {
  public:
    explicit DuplicateFinder(QString user);

    // Reads the catalog again and groups it.
    QList<Group> find();
    // A contact of the last search.
    const Contact& contact(qint32 id) const;
    // The two are not one: stored so that no later search shows them together.
    // vb::Error (with what to do) when the catalog lacks the table for it.
    void dismiss(qint32 first, qint32 second);

  private:
    Catalog read();
    QSet<std::pair<qint32, qint32>> readDismissed();
    bool inSomeGroup();

    QString user_;
    QHash<qint32, Contact> contacts_;
};

// The pair as stored: the lower number first.
std::pair<qint32, qint32> orderedPair(qint32 a, qint32 b);

} // namespace duplicates
