#include "documents/vcard/VCardWriter.h"

#include "documents/vcard/VCardEscaping.h"
#include "documents/vcard/VCardUpgrade.h"

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

QByteArray cardText(const Card& card)
{
    const Card upgraded = upgradeTo40(card);
    QByteArray out = kBegin + kVersion;
    for (const Property& p : upgraded.properties()) {
        if (!p.name().isEmpty())
            out += contentLine(p);
    }
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

QByteArray write(const QList<Card>& cards)
{
    QByteArray out;
    for (const Card& card : cards)
        out += cardText(card);
    return out;
}

} // namespace vcard
