#include "platform/dialect/WordSet.h"

#include <algorithm>

namespace dialect {

namespace {

bool before(QLatin1String a, QLatin1String b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

WordSet::WordSet(std::initializer_list<const char*> words)
{
    for (const char* word : words)
        words_.emplace_back(word);
    std::sort(words_.begin(), words_.end(), before);
}

bool WordSet::contains(QStringView word) const
{
    const auto found =
        std::lower_bound(words_.begin(), words_.end(), word, [](QLatin1String entry, QStringView w) {
            return QStringView(w).compare(entry, Qt::CaseInsensitive) > 0;
        });
    return found != words_.end() && word.compare(*found, Qt::CaseInsensitive) == 0;
}

} // namespace dialect
