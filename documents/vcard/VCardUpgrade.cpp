#include "documents/vcard/VCardUpgrade.h"

#include "documents/vcard/VCardEncoding.h"
#include "documents/vcard/VCardEscaping.h"

#include <QHash>
#include <QMimeDatabase>
#include <QSet>
#include <algorithm>

namespace vcard {

namespace {

const QString kType = QStringLiteral("TYPE");
const QString kPref = QStringLiteral("PREF");
const QString kEncoding = QStringLiteral("ENCODING");
const QString kValue = QStringLiteral("VALUE");
const QString kVersion = QStringLiteral("VERSION");
const QString kFn = QStringLiteral("FN");
const QString kN = QStringLiteral("N");
const QString kOrg = QStringLiteral("ORG");
const QString kPrefWord = QStringLiteral("pref");
const QString kImpliedPref = QStringLiteral("1");
const QString kUriValue = QStringLiteral("uri");
const QString kOctetStream = QStringLiteral("application/octet-stream");

// Order of the components of N (RFC 6350 section 6.2.2) in a formatted name.
constexpr int kFamily = 0;
constexpr int kGiven = 1;
constexpr int kAdditional = 2;
constexpr int kPrefixes = 3;
constexpr int kSuffixes = 4;

// Single text values: 4.0 allows no bare "," in them.
const QSet<QString>& singleTextProperties()
{
    static const QSet<QString> names{kFn,
                                     QStringLiteral("NOTE"),
                                     QStringLiteral("TITLE"),
                                     QStringLiteral("ROLE"),
                                     QStringLiteral("EMAIL"),
                                     QStringLiteral("PRODID")};
    return names;
}

// The properties that held inline binaries before 4.0, with the top-level
// media type their 2.1 and 3.0 TYPE words leave implied.
const QHash<QString, QString>& binaryProperties()
{
    static const QHash<QString, QString> kinds{{QStringLiteral("PHOTO"), QStringLiteral("image")},
                                               {QStringLiteral("LOGO"), QStringLiteral("image")},
                                               {QStringLiteral("SOUND"), QStringLiteral("audio")},
                                               {QStringLiteral("KEY"), QStringLiteral("application")}};
    return kinds;
}

// 2.1 and 3.0 media words whose media type is not simply kind/word.
const QHash<QString, QString>& mediaTypes()
{
    static const QHash<QString, QString> types{
        {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("wave"), QStringLiteral("audio/wav")},
        {QStringLiteral("pcm"), QStringLiteral("audio/l16")},
        {QStringLiteral("pgp"), QStringLiteral("application/pgp-keys")},
        {QStringLiteral("x509"), QStringLiteral("application/pkix-cert")}};
    return types;
}

// 2.1 bare words: PREF becomes PREF=1, the others join TYPE.
void bareWordsToType(Property& property)
{
    QStringList words;
    bool preferred = false;
    QList<Parameter> kept;
    for (const Parameter& p : property.parameters()) {
        if (!p.values.isEmpty())
            kept.append(p);
        else if (p.name.compare(kPrefWord, Qt::CaseInsensitive) == 0)
            preferred = true;
        else
            words.append(p.name.toLower());
    }
    if (words.isEmpty() && !preferred)
        return;
    property.setParameters(kept);
    if (!words.isEmpty())
        property.setParameter(kType, property.parameter(kType) + words);
    if (preferred && !property.hasParameter(kPref))
        property.addParameter(kPref, {kImpliedPref});
}

// 3.0 TYPE=pref becomes PREF=1.
void typePrefToPref(Property& property)
{
    const QStringList types = property.parameter(kType);
    QStringList others;
    for (const QString& type : types) {
        if (type.compare(kPrefWord, Qt::CaseInsensitive) != 0)
            others.append(type);
    }
    if (others.size() == types.size())
        return;
    if (others.isEmpty())
        property.removeParameter(kType);
    else
        property.setParameter(kType, others);
    if (!property.hasParameter(kPref))
        property.addParameter(kPref, {kImpliedPref});
}

QString mediaTypeOf(const QString& word, const QString& kind)
{
    if (word.isEmpty())
        return kOctetStream;
    if (word.contains(u'/'))
        return word.toLower();
    return mediaTypes().value(word.toLower(), kind + u'/' + word.toLower());
}

// ENCODING=b with TYPE=JPEG becomes data:image/jpeg;base64,…
void binaryToDataUri(Property& property)
{
    const QStringList encodings = property.parameter(kEncoding);
    if (!binaryProperties().contains(property.name()) || encodings.isEmpty() ||
        !isBase64Encoding(encodings.first()))
        return;
    QString base64 = property.value();
    base64.removeIf([](QChar c) { return c.isSpace(); });
    const QString word = property.parameter(kType).value(0);
    // Without a type word the bytes say what they are (a JPEG, a PNG…).
    const QString mediaType =
        word.isEmpty() ? QMimeDatabase().mimeTypeForData(QByteArray::fromBase64(base64.toLatin1())).name()
                       : mediaTypeOf(word, binaryProperties()[property.name()]);
    property.setValue(QStringLiteral("data:") + mediaType + QStringLiteral(";base64,") + base64);
    property.removeParameter(kEncoding);
    property.removeParameter(kType);
    property.removeParameter(kValue);
}

void urlToUri(Property& property)
{
    const QStringList values = property.parameter(kValue);
    if (!values.isEmpty() && values.first().compare(QStringLiteral("URL"), Qt::CaseInsensitive) == 0)
        property.setParameter(kValue, {kUriValue});
}

void escapeSingleText(Property& property)
{
    if (singleTextProperties().contains(property.name()))
        property.setText(property.text());
}

constexpr qsizetype kNComponents = 5;
constexpr qsizetype kAdrComponents = 7;
const QString kGeoScheme = QStringLiteral("geo:");

// N and ADR with every component 4.0 gives them, empty ones added.
void allComponents(Property& property)
{
    const qsizetype count = property.name() == kN                     ? kNComponents
                            : property.name() == QLatin1String("ADR") ? kAdrComponents
                                                                      : 0;
    QList<QStringList> components = property.components();
    if (components.size() >= count)
        return;
    components.resize(count, QStringList{QString()});
    property.setComponents(components);
}

// 3.0's GEO "lat;lon" as 4.0's geo:lat,lon URI.
void geoToUri(Property& property)
{
    if (property.name() != QLatin1String("GEO") ||
        property.value().startsWith(kGeoScheme, Qt::CaseInsensitive))
        return;
    const QList<QStringList> latLon = property.components();
    if (latLon.size() == 2)
        property.setValue(kGeoScheme + latLon[0].value(0).trimmed() + u',' + latLon[1].value(0).trimmed());
}

Property upgraded(Property property)
{
    allComponents(property);
    geoToUri(property);
    bareWordsToType(property);
    typePrefToPref(property);
    binaryToDataUri(property);
    urlToUri(property);
    escapeSingleText(property);
    return property;
}

// The name a person would read: prefixes, given, additional, family, suffixes.
QString formattedName(const Card& card)
{
    if (const std::optional<Property> n = card.property(kN)) {
        const QList<QStringList> parts = n->components();
        QStringList words;
        for (const int part : {kPrefixes, kGiven, kAdditional, kFamily, kSuffixes})
            words += parts.value(part);
        words.removeAll(QString());
        return words.join(u' ');
    }
    if (const std::optional<Property> org = card.property(kOrg))
        return org->components().value(0).join(u' ');
    return {};
}

// A property in a form where equal means equivalent: parameters merged by
// name and sorted, TYPE values in lower case, sorted, once each.
Property canonical(const Property& property)
{
    QStringList names;
    for (const Parameter& p : property.parameters()) {
        if (!names.contains(p.name))
            names.append(p.name);
    }
    names.sort();
    QList<Parameter> parameters;
    for (const QString& name : names) {
        QStringList values = property.parameter(name);
        if (name == kType) {
            // TYPE="work,voice" says what TYPE=work,voice says.
            values = values.join(u',').toLower().split(u',', Qt::SkipEmptyParts);
            values.sort();
            values.removeDuplicates();
        }
        parameters.append(Parameter{name, values});
    }
    Property result(property.name(), property.value());
    result.setGroup(property.group().toLower());
    result.setParameters(parameters);
    return result;
}

// Any strict order, so that two sorted lists of properties can be compared.
QStringList sortKey(const Property& property)
{
    QStringList key{property.name(), property.group(), property.value()};
    for (const Parameter& p : property.parameters())
        key << p.name << p.values.join(QChar(0));
    return key;
}

QList<Property> canonicalProperties(const Card& card)
{
    const Card card40 = upgradeTo40(card);
    QList<Property> properties;
    for (const Property& p : card40.properties())
        properties.append(canonical(p));
    std::sort(properties.begin(), properties.end(),
              [](const Property& a, const Property& b) { return sortKey(a) < sortKey(b); });
    return properties;
}

} // namespace

Card upgradeTo40(const Card& card)
{
    Card result;
    result.setVersion(QStringLiteral("4.0"));
    for (const Property& p : card.properties()) {
        if (p.name() != kVersion)
            result.addProperty(upgraded(p));
    }
    if (!result.property(kFn))
        result.addProperty(Property::fromText(kFn, formattedName(result)));
    return result;
}

bool equivalent(const Card& a, const Card& b)
{
    return canonicalProperties(a) == canonicalProperties(b);
}

bool equivalent(const QList<Card>& a, const QList<Card>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!equivalent(a[i], b[i]))
            return false;
    }
    return true;
}

} // namespace vcard
