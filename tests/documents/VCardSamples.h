#pragma once
// Cards that more than one test reads, as files carry them, and vCard values
// as text in GoogleTest's failure messages.
#include "documents/vcard/VCard.h"
#include "documents/vcard/VCardReader.h"
#include "tests/support/QtPrinters.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>
#include <initializer_list>
#include <ostream>

namespace vcard {

inline void PrintTo(const Property& p, std::ostream* out)
{
    *out << (p.group().isEmpty() ? "" : p.group().toStdString() + ".") << p.name().toStdString();
    for (const Parameter& parameter : p.parameters())
        *out << ';' << parameter.name.toStdString() << '=' << parameter.values.join(u',').toStdString();
    *out << ':' << p.value().toStdString();
}

inline void PrintTo(const Card& card, std::ostream* out)
{
    *out << "VERSION " << card.version().toStdString() << " {";
    for (const Property& p : card.properties()) {
        *out << ' ';
        PrintTo(p, out);
    }
    *out << " }";
}

} // namespace vcard

namespace samples {

// A few pixels of one colour in an image format ("PNG", "JPEG"), as a photo.
inline QByteArray tinyImage(const char* format)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(QColor(0x2f, 0x5d, 0x9e));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The lines of a file, each ended by `end`.
inline QByteArray file(std::initializer_list<QByteArray> lines, const QByteArray& end = "\r\n")
{
    QByteArray out;
    for (const QByteArray& line : lines)
        out += line + end;
    return out;
}

// RFC 6350, section 8.
inline QByteArray rfc6350Example()
{
    return file({"BEGIN:VCARD",
                 "VERSION:4.0",
                 "FN:Simon Perreault",
                 "N:Perreault;Simon;;;ing. jr,M.Sc.",
                 "BDAY:--0203",
                 "ANNIVERSARY:20090808T1430-0500",
                 "GENDER:M",
                 "LANG;PREF=1:fr",
                 "LANG;PREF=2:en",
                 "ORG;TYPE=work:Viagenie",
                 "ADR;TYPE=work:;Suite D2-630;2875 Laurier;",
                 " Quebec;QC;G1V 2M2;Canada",
                 "TEL;VALUE=uri;TYPE=\"work,voice\";PREF=1:tel:+1-418-656-9254;ext=102",
                 "TEL;VALUE=uri;TYPE=\"work,cell,voice,video,text\":tel:+1-418-262-6501",
                 "EMAIL;TYPE=work:simon.perreault@viagenie.ca",
                 "GEO;TYPE=work:geo:46.772673,-71.282945",
                 "KEY;TYPE=work;VALUE=uri:",
                 " http://www.viagenie.ca/simon.perreault/simon.asc",
                 "TZ:-0500",
                 "URL;TYPE=home:http://nomis80.org",
                 "END:VCARD"});
}

// A phone's export: ISO-8859-1 in quoted-printable, a soft line break inside
// the address, bare type words.
inline QByteArray portugueseCard21()
{
    return file(
        {"BEGIN:VCARD", "VERSION:2.1", "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:Concei=E7=E3o;Maria",
         "ADR;HOME;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:;;Rua de S=E3o Jo=E3o, 12;S=E3o Jo=E3o da =",
         "Madeira;;3700-000;Portugal",
         "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Liga=E7=E3o=0D=0Aao fim do dia",
         "TEL;HOME;VOICE;PREF:+351 256 000 000", "TEL;WORK;FAX:+351 256 000 001", "END:VCARD"});
}

// Bytes that stand for a JPEG photo: long enough that its base64 is folded.
inline QByteArray photoBytes()
{
    constexpr int kPhotoSize = 180;
    QByteArray bytes("\xFF\xD8\xFF\xE0", 4);
    for (int i = 0; bytes.size() < kPhotoSize; ++i)
        bytes += char(i * 37 % 256);
    return bytes;
}

inline QByteArray card30WithPhoto()
{
    QByteArray out = file({"BEGIN:VCARD", "VERSION:3.0", "N:Silva;Ana;;;", "FN:Ana Silva",
                           "TEL;TYPE=WORK,pref:+351 21 000 0000",
                           "EMAIL;TYPE=INTERNET;TYPE=pref:ana@exemplo.pt", "PHOTO;ENCODING=b;TYPE=JPEG:"});
    // The base64 folded into indented lines, as 3.0 writers put it.
    constexpr int kLineLength = 60;
    const QByteArray base64 = photoBytes().toBase64();
    for (qsizetype at = 0; at < base64.size(); at += kLineLength)
        out += " " + base64.mid(at, kLineLength) + "\r\n";
    return out + file({"END:VCARD"});
}

// The physical lines of a written file, each checked to end in CR LF.
inline QList<QByteArray> physicalLines(const QByteArray& written)
{
    QList<QByteArray> lines = written.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()) << "the last line has no line end";
    lines.removeLast();
    for (QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << "bare LF before: " << line.toStdString();
        line.chop(1);
    }
    return lines;
}

// The content lines of a written card, unfolded.
inline QStringList contentLines(const QByteArray& written)
{
    QStringList lines;
    for (const QByteArray& line : physicalLines(written)) {
        if (line.startsWith(' '))
            lines.last() += QString::fromUtf8(line.mid(1));
        else
            lines.append(QString::fromUtf8(line));
    }
    return lines;
}

// A card of the given properties, in that order.
inline vcard::Card cardOf(const QList<vcard::Property>& properties)
{
    vcard::Card card;
    card.setProperties(properties);
    return card;
}

// The one card of `data`, read without a problem.
inline vcard::Card onlyCard(const QByteArray& data)
{
    QString problem;
    const QList<vcard::Card> cards = vcard::read(data, &problem);
    EXPECT_EQ(problem, QString());
    EXPECT_EQ(cards.size(), 1);
    return cards.value(0);
}

} // namespace samples
