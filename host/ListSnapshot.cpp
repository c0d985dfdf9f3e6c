#include "host/ListSnapshot.h"

#include "platform/values/Conversions.h"

#include <algorithm>

using dialect::LikePattern;

namespace {

// As the servers read a typed text: surrounding spaces aside, accents and case too.
LikePattern::Folded typedText(const QString& typed)
{
    return LikePattern::fold(typed.trimmed(), LikePattern::Accents::Insensitive);
}

} // namespace

ListSnapshot::ListSnapshot(ado::ResultSet rows, const QStringList& columns, const QStringList& numberColumns,
                           const QString& readFor)
    : rows_(std::move(rows)), readFor_(typedText(readFor))
{
    for (int i = 0; i < rows_.columns.size(); ++i) {
        const QString& name = rows_.columns.at(i).name;
        if (columns.contains(name, Qt::CaseInsensitive))
            columns_ << i;
        if (numberColumns.contains(name, Qt::CaseInsensitive))
            numberColumns_ << i;
    }
}

// A name that matches the longer text (its parts in order, a space in it
// any run) matches every part of it, so it matches the shorter one too.
bool ListSnapshot::covers(const QString& typed) const
{
    if (readFor_.isEmpty())
        return true;
    const LikePattern::Folded wanted = typedText(typed);
    return std::search(wanted.begin(), wanted.end(), readFor_.begin(), readFor_.end()) != wanted.end();
}

bool ListSnapshot::matchesEverything(const QString& pattern)
{
    return std::all_of(pattern.begin(), pattern.end(), [](QChar c) { return c == u'%'; });
}

namespace {

// A Null folds to nothing, which only a pattern of "%" alone would match.
LikePattern::Folded folded(const vb::Variant& value, bool withoutSpaces = false)
{
    if (value.isNull())
        return {};
    QString text = vb::CStr(value);
    if (withoutSpaces)
        text.remove(u' ');
    return LikePattern::fold(text, LikePattern::Accents::Insensitive);
}

} // namespace

const QList<QList<LikePattern::Folded>>& ListSnapshot::foldedValues() const
{
    if (!foldedReady_) {
        folded_.reserve(rows_.rows.size());
        for (const ado::Row& row : rows_.rows) {
            QList<LikePattern::Folded> values;
            for (const int column : columns_)
                values << folded(row.at(column));
            for (const int column : numberColumns_)
                values << folded(row.at(column), true);
            folded_.append(values);
        }
        foldedReady_ = true;
    }
    return folded_;
}

ado::ResultSet ListSnapshot::matching(const QString& pattern, const QString& numberPattern) const
{
    if (matchesEverything(pattern))
        return rows_;
    ado::ResultSet found{rows_.columns, {}};
    const LikePattern like(pattern, LikePattern::Accents::Insensitive);
    const LikePattern likeNumber(numberPattern, LikePattern::Accents::Insensitive);
    const QList<QList<LikePattern::Folded>>& values = foldedValues();
    const qsizetype textValues = columns_.size();
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QList<LikePattern::Folded>& row = values.at(i);
        bool hit = false;
        for (qsizetype c = 0; c < row.size() && !hit; ++c)
            hit = c < textValues ? like.matchesFolded(row.at(c)) : likeNumber.matchesFolded(row.at(c));
        if (hit)
            found.rows.append(rows_.rows.at(i));
    }
    return found;
}
