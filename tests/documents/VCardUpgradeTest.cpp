#include "documents/vcard/VCardUpgrade.h"

#include "tests/documents/VCardSamples.h"

#include <gtest/gtest.h>

using samples::cardOf;
using vcard::Card;
using vcard::Parameter;
using vcard::Property;

namespace {

Property withParameters(Property p, const QList<Parameter>& parameters)
{
    p.setParameters(parameters);
    return p;
}

TEST(VCardEquivalence, OrderDoesNotCountContentDoes)
{
    const Property tel = withParameters(Property("TEL", "1"), {{"TYPE", {"home", "voice"}}, {"PREF", {"1"}}});
    const Property telReordered =
        withParameters(Property("TEL", "1"), {{"PREF", {"1"}}, {"TYPE", {"VOICE,home"}}});
    const Property fn = Property::fromText("FN", "Ana");
    const Card card = cardOf({fn, tel});
    EXPECT_TRUE(vcard::equivalent(card, cardOf({telReordered, fn})));
    // 3.0 and 2.1 ways of saying the same.
    const Property tel30 = withParameters(Property("TEL", "1"), {{"TYPE", {"home", "voice", "pref"}}});
    const Property tel21 = withParameters(Property("TEL", "1"), {{"HOME", {}}, {"VOICE", {}}, {"PREF", {}}});
    EXPECT_TRUE(vcard::equivalent(card, cardOf({fn, tel30})));
    EXPECT_TRUE(vcard::equivalent(card, cardOf({fn, tel21})));

    EXPECT_FALSE(vcard::equivalent(card, cardOf({fn, Property("TEL", "2")})));
    EXPECT_FALSE(vcard::equivalent(card, cardOf({fn})));
    EXPECT_FALSE(vcard::equivalent(card, cardOf({fn, tel, tel})));
    EXPECT_FALSE(vcard::equivalent(
        card, cardOf({fn, withParameters(tel, {{"TYPE", {"work", "voice"}}, {"PREF", {"1"}}})})));
    Property grouped = tel;
    grouped.setGroup("item1");
    EXPECT_FALSE(vcard::equivalent(card, cardOf({fn, grouped})));
    EXPECT_FALSE(vcard::equivalent(QList<Card>{cardOf({fn})}, QList<Card>{cardOf({fn}), cardOf({fn})}));
}

TEST(VCardUpgrade, FormattedNameWhenMissingAndMediaTypesOfInlineBinaries)
{
    const Property n =
        Property::fromComponents("N", {{"Perreault"}, {"Simon"}, {""}, {"Dr."}, {"ing. jr", "M.Sc."}});
    EXPECT_EQ(vcard::upgradeTo40(cardOf({n})).text("FN"), "Dr. Simon Perreault ing. jr M.Sc.");
    EXPECT_EQ(vcard::upgradeTo40(cardOf({Property("ORG", "Viagenie;Norte")})).text("FN"), "Viagenie");

    // The media types of inline binaries.
    const auto photoWithType = [](const QStringList& types) {
        Property photo("PHOTO", "AAEC");
        photo.addParameter("ENCODING", {"b"});
        if (!types.isEmpty())
            photo.addParameter("TYPE", types);
        return vcard::upgradeTo40(cardOf({photo})).property("PHOTO")->value();
    };
    EXPECT_EQ(photoWithType({"PNG"}), "data:image/png;base64,AAEC");
    EXPECT_EQ(photoWithType({"image/webp"}), "data:image/webp;base64,AAEC");
    EXPECT_EQ(photoWithType({}), "data:application/octet-stream;base64,AAEC");
    Property sound("SOUND", "AAEC");
    sound.addParameter("ENCODING", {"BASE64"});
    sound.addParameter("WAVE");
    EXPECT_EQ(vcard::upgradeTo40(cardOf({sound})).property("SOUND")->value(), "data:audio/wav;base64,AAEC");
    // A binary of a property without a 4.0 rule is kept as it was.
    Property other("X-ANEXO", "AAEC");
    other.addParameter("ENCODING", {"b"});
    EXPECT_EQ(vcard::upgradeTo40(cardOf({other})).property("X-ANEXO"), other);
}

} // namespace
