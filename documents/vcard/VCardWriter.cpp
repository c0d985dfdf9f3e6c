#include "documents/vcard/VCardWriter.h"

#include "documents/vcard/VCardEscaping.h"
#include "documents/vcard/VCardUpgrade.h"

#include <QSet>
#include <algorithm>

namespace vcard {

namespace {

// RFC 6350 section 3.2: lines SHOULD NOT be longer than 75 octets.
constexpr qsizetype kMaxLineOctets = 75;
constexpr char kFoldMark = ' ';
const QByteArray kLineEnd = "\r\n";
const QByteArray kBegin = "BEGIN:VCARD\r\n";
const QByteArray kVersion = "VERSION:4.0\r\n";
const QByteArray kEnd = "END:VCARD\r\n";

bool isUtf8Continuation(char byte)
{
    constexpr uchar kContinuationMask = 0xC0;
    constexpr uchar kContinuationBits = 0x80;
    return (uchar(byte) & kContinuationMask) == kContinuationBits;
}

// Where a line that starts at `start` and may hold `room` octets ends,
// moved back so that it does not cut a character in two.
qsizetype cutAt(const QByteArray& line, qsizetype start, qsizetype room)
{
    qsizetype end = start + room;
    if (end >= line.size())
        return line.size();
    while (end > start && isUtf8Continuation(line[end]))
        --end;
    return end > start ? end : start + room;
}

QString parameterText(const Parameter& parameter)
{
    if (parameter.values.isEmpty())
        return parameter.name;
    QStringList values;
    for (const QString& value : parameter.values)
        values.append(encodeParameterValue(value));
    return parameter.name + u'=' + values.join(u',');
}

// RFC 6350 section 3.3: names of properties, parameters and groups are
// 1*(ALPHA / DIGIT / "-").
bool isName(const QString& name)
{
    return !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
    });
}

// Properties of 3.0 that 4.0 has no place for.
const QSet<QString>& notIn40()
{
    static const QSet<QString> names{QStringLiteral("CLASS"), QStringLiteral("NAME"),
                                     QStringLiteral("PROFILE"), QStringLiteral("MAILER"),
                                     QStringLiteral("AGENT")};
    return names;
}

const QString kLabel = QStringLiteral("LABEL");

// The card as vCard 4.0 allows it: 3.0's LABEL as its address's LABEL
// parameter and SORT-STRING as N's SORT-AS; what 4.0 has no place for, and
// names its grammar refuses, are left out and named in `leftOut`.
class Valid40 {
  public:
    Valid40(const Card& upgraded, QStringList& leftOut) : leftOut_(leftOut)
    {
        for (const Property& p : upgraded.properties())
            take(p);
        placeLabels();
        placeSortString();
    }
    const QList<Property>& properties() const { return out_; }

  private:
    void take(Property p)
    {
        if (p.name().isEmpty())
            return;
        if (!isName(p.name()) || (!p.group().isEmpty() && !isName(p.group()))) {
            leaveOut(p.group().isEmpty() ? p.name() : p.group() + u'.' + p.name());
            return;
        }
        QList<Parameter> parameters;
        for (const Parameter& parameter : p.parameters())
            if (isName(parameter.name))
                parameters << parameter;
            else
                leaveOut(p.name() + u';' + parameter.name);
        p.setParameters(parameters);
        if (p.name() == kLabel)
            labels_ << p;
        else if (p.name() == QLatin1String("SORT-STRING"))
            sortString_ = p.text();
        else if (notIn40().contains(p.name()))
            leaveOut(p.name());
        else
            out_ << p;
    }

    // Each label goes to the address of its TYPE, else the first without
    // one, else to an address of its own that holds only the label.
    void placeLabels()
    {
        for (const Property& label : labels_) {
            Property* address = nullptr;
            for (Property& p : out_)
                if (p.name() == QLatin1String("ADR") && !p.hasParameter(kLabel) &&
                    (!address || (p.types() == label.types() && address->types() != label.types())))
                    address = &p;
            if (!address) {
                Property own(QStringLiteral("ADR"), QStringLiteral(";;;;;;"));
                for (const Parameter& parameter : label.parameters())
                    own.addParameter(parameter.name, parameter.values);
                out_ << own;
                address = &out_.last();
            }
            address->setParameter(kLabel, {label.text()});
        }
    }

    void placeSortString()
    {
        if (sortString_.isEmpty())
            return;
        for (Property& p : out_)
            if (p.name() == QLatin1String("N")) {
                p.setParameter(QStringLiteral("SORT-AS"), {sortString_});
                return;
            }
        leaveOut(QStringLiteral("SORT-STRING"));
    }

    void leaveOut(const QString& name)
    {
        if (!leftOut_.contains(name))
            leftOut_ << name;
    }

    QStringList& leftOut_;
    QList<Property> out_;
    QList<Property> labels_;
    QString sortString_;
};

QByteArray cardText(const Card& card, QStringList& leftOut)
{
    QByteArray out = kBegin + kVersion;
    const Valid40 valid(upgradeTo40(card), leftOut);
    for (const Property& p : valid.properties())
        out += contentLine(p);
    return out + kEnd;
}

} // namespace

QByteArray fold(const QByteArray& line)
{
    QByteArray out;
    qsizetype start = 0;
    qsizetype room = kMaxLineOctets;
    do {
        const qsizetype end = cutAt(line, start, room);
        if (start > 0)
            out += kFoldMark;
        out += line.mid(start, end - start) + kLineEnd;
        start = end;
        room = kMaxLineOctets - 1;
    } while (start < line.size());
    return out;
}

QByteArray contentLine(const Property& property)
{
    QString line = property.group().isEmpty() ? property.name() : property.group() + u'.' + property.name();
    for (const Parameter& p : property.parameters())
        line += u';' + parameterText(p);
    line += u':' + escapeLineBreaks(property.value());
    return fold(line.toUtf8());
}

QByteArray write(const QList<Card>& cards, QList<QStringList>* leftOut)
{
    QByteArray out;
    for (const Card& card : cards) {
        QStringList left;
        out += cardText(card, left);
        if (leftOut)
            *leftOut << left;
    }
    return out;
}

} // namespace vcard
