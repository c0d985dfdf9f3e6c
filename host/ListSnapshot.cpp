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

ListSnapshot::ListSnapshot(ado::ResultSet rows, const QString& nameColumn, const QString& readFor)
    : rows_(std::move(rows)), readFor_(typedText(readFor))
{
    for (int i = 0; i < rows_.columns.size(); ++i)
        if (rows_.columns.at(i).name.compare(nameColumn, Qt::CaseInsensitive) == 0)
            nameColumn_ = i;
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

const QList<LikePattern::Folded>& ListSnapshot::foldedNames() const
{
    if (!foldedReady_) {
        folded_.reserve(rows_.rows.size());
        for (const ado::Row& row : rows_.rows) {
            // A Null name folds to nothing, which only a pattern of "%" alone
            // would match; the server leaves such names out of every read.
            const vb::Variant& name = row.at(nameColumn_);
            folded_.append(name.isNull()
                               ? LikePattern::Folded()
                               : LikePattern::fold(vb::CStr(name), LikePattern::Accents::Insensitive));
        }
        foldedReady_ = true;
    }
    return folded_;
}

ado::ResultSet ListSnapshot::matching(const QString& pattern) const
{
    if (matchesEverything(pattern))
        return rows_;
    ado::ResultSet found{rows_.columns, {}};
    if (nameColumn_ < 0)
        return found;
    const LikePattern like(pattern, LikePattern::Accents::Insensitive);
    const QList<LikePattern::Folded>& names = foldedNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        if (like.matchesFolded(names.at(i)))
            found.rows.append(rows_.rows.at(i));
    return found;
}
