#pragma once
// How a letter or an e-mail addresses its reader, and its date in words, in
// European Portuguese.
#include <QDate>
#include <QString>

namespace adminfiscr {

struct Addressee {
    int kind = 0;    // genero_id: 1 an individual, 2 an institution
    QString sex;     // "M", "F", or unknown
    QString title;   // "Dr.", "Eng.ª"...; a plain "Sr." adds nothing to "Senhor"
    QString surname; // apelido
    QString name;    // nome_union, when there is no surname
};

// "Exmos. Senhores," for an institution; "Exmo. Senhor Dr. Jesus," or
// "Exma. Senhora Dra. Santos," for an individual; "Exmo.(a) Senhor(a) ..."
// when the sex is not known.
QString greeting(const Addressee& addressee);

// How the text refers to the reader: "V. Ex.ª", or "V. Ex.as" for an
// institution.
QString formOfAddress(const Addressee& addressee);
// Whether the form of address is plural ("V. Ex.as", an institution), so
// that the letter's verbs agree with it.
bool addressedAsSeveral(const Addressee& addressee);

// "7 de Dezembro de 2026"
QString dateInWords(const QDate& date);
// "Lisboa, 7 de Dezembro de 2026", or the date alone without a place.
QString placeAndDate(const QString& place, const QDate& date);

} // namespace adminfiscr
