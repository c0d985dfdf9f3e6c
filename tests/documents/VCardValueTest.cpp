#include "documents/vcard/VCard.h"
#include "documents/vcard/VCardEncoding.h"

#include "tests/documents/VCardSamples.h"

#include <gtest/gtest.h>

using vcard::Card;
using vcard::Property;

namespace {

TEST(VCardValues, TextComponentsBinariesQuotedPrintableAndSettingAProperty)
{
    EXPECT_EQ(Property("NOTE", "a\\,b\\;c\\\\d\\ne\\Nf").text(), "a,b;c\\d\ne\nf");
    // An escaped backslash before "n" is a backslash and a letter.
    EXPECT_EQ(Property("NOTE", "\\\\n").text(), "\\n");
    // Lone backslashes (paths from old writers) and a final one are kept.
    EXPECT_EQ(Property("NOTE", "C:\\dados\\").text(), "C:\\dados\\");
    // Components split only on unescaped separators.
    const QList<QStringList> expected{{",a;b\\"}, {"c\nd", "e,f"}, {""}, {";"}};
    EXPECT_EQ(Property("N", "\\,a\\;b\\\\;c\\nd,e\\,f;;\\;").components(), expected);
    EXPECT_EQ(Property("N", "").components(), QList<QStringList>{{""}});
    EXPECT_EQ(Property("N", ";").components(), (QList<QStringList>{{""}, {""}}));

    // Binaries from ENCODING or a data: URI only.
    const QByteArray bytes = samples::photoBytes();
    Property encoded("PHOTO", QString::fromLatin1(bytes.toBase64()));
    EXPECT_TRUE(encoded.binary().isEmpty()) << "base64 text without ENCODING is text";
    encoded.addParameter("ENCODING", {"BASE64"});
    EXPECT_EQ(encoded.binary(), bytes);
    EXPECT_TRUE(Property("PHOTO", "data:text/plain,base64").binary().isEmpty());
    EXPECT_TRUE(Property("PHOTO", "http://exemplo.pt/a;base64,b.jpg").binary().isEmpty());

    // Quoted-printable: what is not an escape stays as it was.
    EXPECT_EQ(vcard::decodeQuotedPrintable("S=E3o=20Jo=e3o"), "S\xE3o Jo\xE3o");
    EXPECT_EQ(vcard::decodeQuotedPrintable("a=ZZb=4"), "a=ZZb=4");
    EXPECT_EQ(vcard::decodeQuotedPrintable("fim="), "fim=");

    // A card's set replaces the first of that name in its place.
    Card card;
    card.addProperty(Property::fromText("TEL", "1"));
    card.addProperty(Property::fromText("FN", "Ana"));
    card.addProperty(Property::fromText("TEL", "2"));
    card.setProperty(Property::fromText("tel", "3"));
    QStringList values;
    for (const Property& p : card.properties())
        values.append(p.text());
    EXPECT_EQ(values, (QStringList{"3", "Ana", "2"}));
    card.setProperty(Property::fromText("NOTE", "nova"));
    EXPECT_EQ(card.properties().last().name(), "NOTE");
    EXPECT_EQ(card.properties("Tel").size(), 2);
}

} // namespace
