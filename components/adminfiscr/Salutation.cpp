#include "components/adminfiscr/Salutation.h"

#include <QStringList>

namespace adminfiscr {

namespace {

constexpr int institutionKind = 2;

const QString institutions = QStringLiteral("Exmos. Senhores,");
const QString toMan = QStringLiteral("Exmo. Senhor");
const QString toWoman = QStringLiteral("Exma. Senhora");
const QString toEither = QStringLiteral("Exmo.(a) Senhor(a)");

// Months capitalised, as the product's older spelling writes them.
const char* const months[] = {"Janeiro", "Fevereiro", "Março",    "Abril",   "Maio",     "Junho",
                              "Julho",   "Agosto",    "Setembro", "Outubro", "Novembro", "Dezembro"};

// Titles that only repeat "Senhor" or "Senhora".
bool isPlainCourtesy(const QString& title)
{
    static const QStringList plain = {QStringLiteral("sr"),     QStringLiteral("sr."),
                                      QStringLiteral("sra"),    QStringLiteral("sra."),
                                      QStringLiteral("senhor"), QStringLiteral("senhora")};
    return plain.contains(title.toLower());
}

QString opening(const QString& sex)
{
    const QString s = sex.trimmed().toUpper();
    if (s == QStringLiteral("M"))
        return toMan;
    if (s == QStringLiteral("F"))
        return toWoman;
    return toEither;
}

} // namespace

QString greeting(const Addressee& addressee)
{
    if (addressee.kind == institutionKind)
        return institutions;
    QStringList words{opening(addressee.sex)};
    const QString title = addressee.title.trimmed();
    if (!title.isEmpty() && !isPlainCourtesy(title))
        words << title;
    const QString surname = addressee.surname.trimmed();
    const QString who = surname.isEmpty() ? addressee.name.trimmed() : surname;
    if (!who.isEmpty())
        words << who;
    return words.join(u' ') + u',';
}

QString formOfAddress(const Addressee& addressee)
{
    return addressedAsSeveral(addressee) ? QStringLiteral("V. Ex.as") : QStringLiteral("V. Ex.ª");
}

bool addressedAsSeveral(const Addressee& addressee)
{
    return addressee.kind == institutionKind;
}

QString dateInWords(const QDate& date)
{
    return QString::number(date.day()) + QStringLiteral(" de ") +
           QString::fromUtf8(months[date.month() - 1]) + QStringLiteral(" de ") +
           QString::number(date.year());
}

QString placeAndDate(const QString& place, const QDate& date)
{
    const QString where = place.trimmed();
    return where.isEmpty() ? dateInWords(date) : where + QStringLiteral(", ") + dateInWords(date);
}

} // namespace adminfiscr
