#include "host/ContactListQuery.h"

#include "data/modData.h"
#include "platform/ado/SqlCompose.h"
#include "platform/dialect/LikePattern.h"
#include "platform/values/Conversions.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const char16_t listColumns[] =
    u"l.contacto_id, l.genero_id, l.nome_union, l.no_contribuinte, l.telefone, l.email, l.localidade";
const char16_t selectTop[] = u"SELECT TOP %1 %2 FROM %3 WHERE %4%5 ORDER BY %6";
const char16_t selectAll[] = u"SELECT %1 FROM %2 WHERE %3 ORDER BY %4";
const char16_t selectCount[] = u"SELECT COUNT(*) AS registos FROM %1 WHERE %2%3";
const char16_t fromList[] = u"tbContactos_Lista l";
const char16_t fromTrigrams[] = u"tbContactos_Lista_Trigramas s CROSS JOIN tbContactos_Lista l";
// Members of "Contactos Quarvenses" the user may open (%1, the user's
// condition over the permission rows), by the same masks as the card's check.
const char16_t member[] = u"EXISTS (SELECT 1 FROM tbTulvas_Contactos f WHERE f.contacto_id = l.contacto_id)";
const char16_t openable[] =
    u"EXISTS (SELECT 1 FROM tbTulvas_Contactos_Permitions p WHERE p.contacto_id = l.contacto_id AND (%1))";
const char16_t ofKind[] = u"l.genero_id = %1";
const char16_t inFile[] = u"EXISTS (SELECT 1 FROM tbContactos_Tipos_Links k "
                          u"WHERE k.contacto_id = l.contacto_id AND k.contacto_tipo_id = %1)";
// The typed text in the name, the NIF, the e-mail and the locality (%1), and
// without its spaces in the telephone and the NIF without theirs (%2),
// accents and case aside, as both servers read the collation.
const char16_t searched[] =
    u"(l.nome_union COLLATE Latin1_General_CI_AI LIKE %1 "
    u"OR l.no_contribuinte COLLATE Latin1_General_CI_AI LIKE %1 OR l.email COLLATE Latin1_General_CI_AI LIKE "
    u"%1 "
    u"OR l.localidade COLLATE Latin1_General_CI_AI LIKE %1 OR REPLACE(l.telefone, N' ', N'') LIKE %2 "
    u"OR REPLACE(l.no_contribuinte, N' ', N'') LIKE %2)";
// The folded text holds the folded pattern, character for character (a
// binary collation: the embedded server reads it through its trigram index).
const char16_t holdsTrigrams[] = u"l.contacto_id = s.rowid AND s.pesquisa COLLATE Latin1_General_BIN LIKE %1";
const char16_t holdsFolded[] = u"l.pesquisa COLLATE Latin1_General_BIN LIKE %1";
const char16_t probe[] =
    u"SELECT COUNT(*) AS registos FROM (SELECT TOP %1 rowid FROM tbContactos_Lista_Trigramas "
    u"WHERE pesquisa COLLATE Latin1_General_BIN LIKE %2) t";
const char16_t selectHighest[] = u"SELECT MAX(contacto_id) AS chave FROM tbContactos_Lista";
const char16_t keyBetween[] = u" AND l.contacto_id > %1 AND l.contacto_id <= %2";
// The screen after a row: the leading ">=" lets the server start in the index.
const char16_t afterName[] = u" AND l.nome_union %1= %2 AND (l.nome_union %1 %2 OR l.contacto_id %1 %3)";
const char16_t afterOther[] = u" AND l.%1 %2= %3 AND (l.%1 %2 %3 OR l.nome_union %2 %4 "
                              u"OR (l.nome_union = %4 AND l.contacto_id %2 %5))";
const char16_t orderByName[] = u"l.nome_union COLLATE Latin1_General_CI_AI %1, l.contacto_id %1";
const char16_t orderByOther[] =
    u"l.%2 COLLATE Latin1_General_CI_AI %1, l.nome_union COLLATE Latin1_General_CI_AI %1, l.contacto_id %1";

// The columns the list sorts by, in the order it shows them (after the key
// and the kind in listColumns).
const char* const sortFields[] = {"nome_union", "no_contribuinte", "telefone", "email", "localidade"};
constexpr int keyColumn = 0;
constexpr int nameColumn = 2;
constexpr int firstShownColumn = 2; // the sort columns start at the name
constexpr int trigram = 3;          // letters the trigram index needs together

// A text as a literal, as it is (not trimmed: a row's key must be exact).
QString literal(const QString& text)
{
    return QStringLiteral("N'") + sql::doubled(text) + u'\'';
}

QString foldedText(const QString& text)
{
    const dialect::LikePattern::Folded folded =
        dialect::LikePattern::fold(text, dialect::LikePattern::Accents::Insensitive);
    return QString::fromUcs4(folded.constData(), folded.size());
}

// The typed words folded as the server folds the list's text, in order,
// anything between them ("%"); "_" is one character. Every contact the
// exact condition finds holds them, so the rows this pattern finds are a
// superset of the answer. Empty when the text holds a LIKE class ("[") that a
// simple pattern cannot stand for; `indexed` when a word has three letters
// together, as the trigram index needs.
QString foldedPattern(const QString& typed, bool& indexed)
{
    indexed = false;
    if (typed.contains(u'['))
        return {};
    QStringList words;
    static const QRegularExpression between(QStringLiteral("[ %]+"));
    for (const QString& word : typed.split(between, Qt::SkipEmptyParts)) {
        const QString folded = foldedText(word);
        int together = 0;
        for (const QChar c : folded) {
            together = c == u'_' ? 0 : together + 1;
            indexed = indexed || together >= trigram;
        }
        words << folded;
    }
    return u'%' + words.join(u'%') + u'%';
}

} // namespace

ContactListQuery::ContactListQuery(Settings settings, Plan plan) : settings_(std::move(settings)), plan_(plan)
{
    settings_.sortColumn = qBound(0, settings_.sortColumn, int(std::size(sortFields)) - 1);
    if (settings_.openable.isEmpty())
        settings_.openable = QStringLiteral("1 = 0"); // no membership row: nothing to open
    const QString typed = settings_.typed.trimmed();
    if (typed.isEmpty())
        return;
    pattern_ = foldedPattern(typed, indexed_);
    if (!indexed_)
        plan_ = Plan::Walk;
    // One word, without LIKE's own characters, is found by the folded text
    // exactly as the columns one by one find it: it cannot reach across the
    // space between two columns' values. Other texts are checked column by
    // column after it.
    static const QRegularExpression oneWord(QStringLiteral("^[^ %_\\[]+$"));
    if (settings_.folded && !pattern_.isEmpty() && oneWord.match(typed).hasMatch())
        return;
    search_ =
        sql::compose(searched, {modData::FormatSQLValue(typed, modData::kPattern),
                                modData::FormatSQLValue(QString(typed).remove(u' '), modData::kPattern)});
}

QString ContactListQuery::sortField() const
{
    return QString::fromLatin1(sortFields[settings_.sortColumn]);
}

QString ContactListQuery::trigramProbe(int enough) const
{
    if (!indexed_)
        return {};
    return sql::compose(probe, {qint32(enough + 1), literal(pattern_)});
}

QString ContactListQuery::from() const
{
    return QString::fromUtf16(plan_ == Plan::Trigrams ? fromTrigrams : fromList);
}

// The cheapest first: a row walked in order is dropped by the search before
// the server looks up its membership and rights.
QString ContactListQuery::conditions() const
{
    QStringList terms;
    if (plan_ == Plan::Trigrams)
        terms << sql::compose(holdsTrigrams, {literal(pattern_)});
    else if (settings_.folded && !pattern_.isEmpty())
        terms << sql::compose(holdsFolded, {literal(pattern_)});
    if (!search_.isEmpty())
        terms << search_;
    if (settings_.kind != 0)
        terms << sql::compose(ofKind, {qint32(settings_.kind)});
    if (settings_.file != 0)
        terms << sql::compose(inFile, {qint32(settings_.file)});
    terms << QString::fromUtf16(member) << sql::compose(openable, {settings_.openable});
    return terms.join(QStringLiteral(" AND "));
}

QString ContactListQuery::order(bool forward) const
{
    const QString direction =
        (settings_.ascending == forward) ? QStringLiteral("ASC") : QStringLiteral("DESC");
    if (settings_.sortColumn == 0)
        return sql::compose(orderByName, {direction});
    return sql::compose(orderByOther, {direction, sortField()});
}

QString ContactListQuery::afterRow(const ado::Row& row, bool forward) const
{
    const QString beyond = (settings_.ascending == forward) ? QStringLiteral(">") : QStringLiteral("<");
    const QString key = QString::number(vb::CLng(row.at(keyColumn)));
    const QString name = literal(vb::CStr(row.at(nameColumn)));
    if (settings_.sortColumn == 0)
        return sql::compose(afterName, {beyond, name, key});
    const QString value = literal(vb::CStr(row.at(firstShownColumn + settings_.sortColumn)));
    return sql::compose(afterOther, {sortField(), beyond, value, name, key});
}

QString ContactListQuery::select(const QString& what, const QString& extra, bool forward, int count) const
{
    return sql::compose(selectTop, {qint32(count), what, from(), conditions(), extra, order(forward)});
}

QString ContactListQuery::after(const ado::Row* row, int count) const
{
    return select(QString::fromUtf16(listColumns), row ? afterRow(*row, true) : QString(), true, count);
}

QString ContactListQuery::before(const ado::Row* row, int count) const
{
    return select(QString::fromUtf16(listColumns), row ? afterRow(*row, false) : QString(), false, count);
}

QString ContactListQuery::rest(const ado::Row* row) const
{
    return sql::compose(selectAll, {QString::fromUtf16(listColumns), from(),
                                    conditions() + (row ? afterRow(*row, true) : QString()), order(true)});
}

QString ContactListQuery::countBetween(qint64 from, qint64 to) const
{
    return sql::compose(selectCount, {this->from(), conditions(), sql::compose(keyBetween, {from, to})});
}

QString ContactListQuery::count() const
{
    return sql::compose(selectCount, {from(), conditions(), QString()});
}

QString ContactListQuery::highestKey()
{
    return QString::fromUtf16(selectHighest);
}

QString ContactListQuery::keys() const
{
    return sql::compose(selectAll, {QStringLiteral("l.contacto_id"), from(), conditions(), order(true)});
}
