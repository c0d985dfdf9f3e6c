#include "documents/vcard/VCard.h"

#include "documents/vcard/VCardEncoding.h"
#include "documents/vcard/VCardEscaping.h"

#include <algorithm>

namespace vcard {

namespace {

const QString kType = QStringLiteral("TYPE");
const QString kPref = QStringLiteral("PREF");
const QString kEncoding = QStringLiteral("ENCODING");
const QString kPrefType = QStringLiteral("pref");
const QString kDataScheme = QStringLiteral("data:");
const QString kBase64Marker = QStringLiteral(";base64,");
constexpr int kImpliedPref = 1;

// TYPE values and bare words alike, lower case, as written.
QStringList typeWords(const QList<Parameter>& parameters)
{
    QStringList words;
    for (const Parameter& p : parameters) {
        if (p.name == kType) {
            for (const QString& value : p.values)
                words += value.split(u',', Qt::SkipEmptyParts);
        } else if (p.values.isEmpty()) {
            words += p.name;
        }
    }
    for (QString& word : words)
        word = word.trimmed().toLower();
    return words;
}

} // namespace

Property::Property(const QString& name, const QString& value) : name_(name.toUpper()), value_(value) {}

Property Property::fromText(const QString& name, const QString& text)
{
    return Property(name, escapeText(text));
}

Property Property::fromComponents(const QString& name, const QList<QStringList>& components)
{
    return Property(name, joinComponents(components));
}

QStringList Property::parameter(const QString& name) const
{
    const QString wanted = name.toUpper();
    QStringList values;
    for (const Parameter& p : parameters_) {
        if (p.name == wanted)
            values += p.values;
    }
    return values;
}

bool Property::hasParameter(const QString& name) const
{
    const QString wanted = name.toUpper();
    return std::any_of(parameters_.cbegin(), parameters_.cend(),
                       [&](const Parameter& p) { return p.name == wanted; });
}

void Property::addParameter(const QString& name, const QStringList& values)
{
    parameters_.append(Parameter{name.toUpper(), values});
}

void Property::setParameter(const QString& name, const QStringList& values)
{
    const QString wanted = name.toUpper();
    const auto first = std::find_if(parameters_.begin(), parameters_.end(),
                                    [&](const Parameter& p) { return p.name == wanted; });
    if (first == parameters_.end()) {
        addParameter(wanted, values);
        return;
    }
    const qsizetype at = first - parameters_.begin();
    removeParameter(wanted);
    parameters_.insert(at, Parameter{wanted, values});
}

void Property::removeParameter(const QString& name)
{
    const QString wanted = name.toUpper();
    parameters_.removeIf([&](const Parameter& p) { return p.name == wanted; });
}

void Property::setParameters(const QList<Parameter>& parameters)
{
    parameters_.clear();
    for (const Parameter& p : parameters)
        addParameter(p.name, p.values);
}

QString Property::text() const
{
    return unescapeText(value_);
}

void Property::setText(const QString& text)
{
    value_ = escapeText(text);
}

QList<QStringList> Property::components() const
{
    return splitComponents(value_);
}

void Property::setComponents(const QList<QStringList>& components)
{
    value_ = joinComponents(components);
}

QStringList Property::types() const
{
    QStringList types;
    for (const QString& word : typeWords(parameters_)) {
        if (word != kPrefType && !types.contains(word))
            types.append(word);
    }
    return types;
}

int Property::pref() const
{
    const QStringList prefs = parameter(kPref);
    if (!prefs.isEmpty()) {
        bool ok = false;
        const int number = prefs.first().trimmed().toInt(&ok);
        return ok ? number : kImpliedPref;
    }
    return typeWords(parameters_).contains(kPrefType) ? kImpliedPref : 0;
}

QByteArray Property::binary() const
{
    const QStringList encodings = parameter(kEncoding);
    if (!encodings.isEmpty() && isBase64Encoding(encodings.first()))
        return QByteArray::fromBase64(value_.toLatin1());
    if (!value_.startsWith(kDataScheme, Qt::CaseInsensitive))
        return {};
    const qsizetype comma = value_.indexOf(u',');
    const qsizetype marker = value_.indexOf(kBase64Marker, 0, Qt::CaseInsensitive);
    if (comma < 0 || marker < 0 || marker + kBase64Marker.size() - 1 != comma)
        return {};
    return QByteArray::fromBase64(value_.mid(comma + 1).toLatin1());
}

QList<Property> Card::properties(const QString& name) const
{
    const QString wanted = name.toUpper();
    QList<Property> found;
    for (const Property& p : properties_) {
        if (p.name() == wanted)
            found.append(p);
    }
    return found;
}

std::optional<Property> Card::property(const QString& name) const
{
    const QString wanted = name.toUpper();
    for (const Property& p : properties_) {
        if (p.name() == wanted)
            return p;
    }
    return std::nullopt;
}

QString Card::text(const QString& name) const
{
    const std::optional<Property> p = property(name);
    return p ? p->text() : QString();
}

void Card::setProperty(const Property& property)
{
    for (Property& p : properties_) {
        if (p.name() == property.name()) {
            p = property;
            return;
        }
    }
    properties_.append(property);
}

void Card::removeProperties(const QString& name)
{
    const QString wanted = name.toUpper();
    properties_.removeIf([&](const Property& p) { return p.name() == wanted; });
}

} // namespace vcard
