#include "platform/registry/RegDocument.h"
#include <algorithm>

namespace platform {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool isSameOrBelow(const QString& path, const QString& parent)
{
    if (path.size() == parent.size())
        return sameName(path, parent);
    return path.size() > parent.size() && path.at(parent.size()) == QLatin1Char('\\') &&
           sameName(path.left(parent.size()), parent);
}

bool RegDocument::hasKey(const QString& path) const
{
    return std::any_of(keys_.begin(), keys_.end(), [&](const Key& k) { return isSameOrBelow(k.path, path); });
}

const RegDocument::Key* RegDocument::findKey(const QString& path) const
{
    auto it = std::find_if(keys_.begin(), keys_.end(), [&](const Key& k) { return sameName(k.path, path); });
    return it == keys_.end() ? nullptr : &*it;
}

RegDocument::Key* RegDocument::find(const QString& path)
{
    return const_cast<Key*>(std::as_const(*this).findKey(path));
}

RegDocument::Key& RegDocument::ensureKey(const QString& path)
{
    if (Key* k = find(path))
        return *k;
    keys_.push_back(Key{path, {}});
    return keys_.back();
}

void RegDocument::removeKey(const QString& path)
{
    std::erase_if(keys_, [&](const Key& k) { return isSameOrBelow(k.path, path); });
}

std::optional<RegValue> RegDocument::value(const QString& path, const QString& name) const
{
    const Key* k = findKey(path);
    if (!k)
        return std::nullopt;
    for (const Entry& e : k->values)
        if (sameName(e.name, name))
            return e.value;
    return std::nullopt;
}

void RegDocument::setValue(const QString& path, const QString& name, const RegValue& value)
{
    Key& k = ensureKey(path);
    for (Entry& e : k.values) {
        if (sameName(e.name, name)) {
            e.value = value;
            return;
        }
    }
    k.values.push_back(Entry{name, value});
}

bool RegDocument::removeValue(const QString& path, const QString& name)
{
    Key* k = find(path);
    if (!k)
        return false;
    return std::erase_if(k->values, [&](const Entry& e) { return sameName(e.name, name); }) > 0;
}

bool operator==(const RegDocument::Entry& a, const RegDocument::Entry& b)
{
    return a.name == b.name && a.value == b.value;
}

bool operator==(const RegDocument::Key& a, const RegDocument::Key& b)
{
    return a.path == b.path && a.values == b.values;
}

bool operator==(const RegDocument& a, const RegDocument& b)
{
    return a.keys_ == b.keys_;
}

} // namespace platform
