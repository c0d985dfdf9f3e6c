#include "documents/vcard/VCardWriter.h"
#include "documents/carddav/CardDavSync.h"
#include "documents/vcard/ContactMapping.h"
#include "documents/vcard/VCardDowngrade.h"
#include "documents/vcard/VCardReader.h"
#include "documents/vcard/VCardUpgrade.h"

#include "tests/documents/VCardSamples.h"

#include <gtest/gtest.h>

using samples::cardOf;
using samples::contentLines;
using samples::file;
using samples::onlyCard;
using samples::physicalLines;
using vcard::Card;
using vcard::Property;

namespace {

constexpr qsizetype kMaxOctets = 75;

// Each of `expected` is a whole content line of `written`.
void expectLines(const QByteArray& written, const QStringList& expected)
{
    const QStringList lines = contentLines(written);
    for (const QString& line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << " not in:\n" << written.toStdString();
}

QByteArray writeOne(const Card& card)
{
    return vcard::write({card});
}

// Text of `length` characters that mixes one-, two-, three- and four-octet
// UTF-8 sequences, so that fold points fall inside every kind.
QString mixedText(int length)
{
    const QStringList pieces{"a", "ç", "€", QString::fromUtf8("\xF0\x9D\x84\x9E")};
    QString text;
    for (int i = 0; i < length; ++i)
        text += pieces[i % pieces.size()];
    return text;
}

TEST(VCardWriterFolding, LinesAtTheLimitStayWholeAndNoFoldSplitsACharacterNorPassesIt)
{
    const QByteArray exact(kMaxOctets, 'x');
    EXPECT_EQ(vcard::fold(exact), exact + "\r\n");
    const QByteArray longer(kMaxOctets + 1, 'x');
    EXPECT_EQ(vcard::fold(longer), exact + "\r\n x\r\n");
    for (int length = 0; length <= 200; ++length) {
        const QString text = mixedText(length);
        const QByteArray written = writeOne(cardOf({Property::fromText("NOTE", text)}));
        for (const QByteArray& line : physicalLines(written)) {
            ASSERT_LE(line.size(), kMaxOctets) << "length " << length;
            const QByteArray content = line.startsWith(' ') ? line.mid(1) : line;
            ASSERT_FALSE(QString::fromUtf8(content).contains(QChar::ReplacementCharacter))
                << "a character split at length " << length;
        }
        ASSERT_EQ(onlyCard(written).text("NOTE"), text) << "length " << length;
    }
}

TEST(VCardWriterEscaping, TextStructuredRawAndParameterValues)
{
    const QByteArray written = writeOne(cardOf({
        Property::fromText("NOTE", "a,b;c\\d\ne"),
        Property::fromComponents("N", {{"Silva, Jr."}, {"Ana;Maria"}, {"a", "b"}}),
        Property("X-NOTA", "um\r\ndois\ntrês"),
    }));
    // A literal line break in a raw value cannot break the line.
    expectLines(written,
                {"NOTE:a\\,b;c\\\\d\\ne", "N:Silva\\, Jr.;Ana\\;Maria;a,b;;", "X-NOTA:um\\ndois\\ntrês"});
    EXPECT_EQ(onlyCard(written).text("X-NOTA"), "um\ndois\ntrês");
    // A property without a name is left out.
    EXPECT_EQ(contentLines(writeOne(cardOf({Property("", "perdido"), Property("FN", "Ana")}))),
              (QStringList{"BEGIN:VCARD", "VERSION:4.0", "FN:Ana", "END:VCARD"}));

    // Separators in every position come back.
    const QList<QStringList> components{
        {",início", "meio;meio", "fim,"}, {""}, {";"}, {"\\", "\\n", "a\nb"}, {",;\\"}, {""}, {""}};
    const QString text = ",começo;\\meio\\n\nfim;";
    const Card back = onlyCard(
        writeOne(cardOf({Property::fromComponents("ADR", components), Property::fromText("NOTE", text)})));
    EXPECT_EQ(back.property("ADR")->components(), components);
    EXPECT_EQ(back.text("NOTE"), text);

    // Parameter values quoted and caret-encoded.
    Property p("X-ETIQUETA", "v");
    p.addParameter("X-P", {"a:b", "x;y", "p,q", "simples", "aspas\"", "duas\nlinhas", "^"});
    expectLines(writeOne(cardOf({p})),
                {"X-ETIQUETA;X-P=\"a:b\",\"x;y\",\"p,q\",simples,aspas^',duas^nlinhas,^^:v"});
    EXPECT_EQ(onlyCard(writeOne(cardOf({p}))).property("X-ETIQUETA")->parameters(), p.parameters());
}

// What 2.1 and 3.0 say their own way is written the 4.0 way, with no
// transfer encoding or charset left.
TEST(VCardWriterUpgrade, OlderVersionsWrittenThe40WayAndUnknownPropertiesAsRead)
{
    const QString photo =
        "PHOTO:data:image/jpeg;base64," + QString::fromLatin1(samples::photoBytes().toBase64());
    const QList<std::pair<QByteArray, QStringList>> cases{
        {samples::card30WithPhoto(),
         {"TEL;TYPE=WORK;PREF=1:+351 21 000 0000", "EMAIL;TYPE=INTERNET;PREF=1:ana@exemplo.pt", photo}},
        // 4.0 requires FN; the 2.1 card had only N.
        {samples::portugueseCard21(),
         {"TEL;TYPE=home,voice;PREF=1:+351 256 000 000", "TEL;TYPE=work,fax:+351 256 000 001",
          "ADR;TYPE=home:;;Rua de São João\\, 12;São João da Madeira;;3700-000;Portugal",
          "FN:Maria Conceição"}},
        {file({"BEGIN:VCARD", "VERSION:2.1", "FN:Rui", "PHOTO;VALUE=URL:http://exemplo.pt/a,b.jpg",
               "LOGO;GIF;BASE64:R0lGODlh", "KEY;X509;ENCODING=BASE64:MIIC", "END:VCARD"}),
         {"PHOTO;VALUE=uri:http://exemplo.pt/a,b.jpg", "LOGO:data:image/gif;base64,R0lGODlh",
          "KEY:data:application/pkix-cert;base64,MIIC"}}};
    for (const auto& [data, expected] : cases) {
        const QByteArray written = vcard::write(vcard::read(data));
        expectLines(written, expected);
        EXPECT_FALSE(written.contains("ENCODING") || written.contains("CHARSET")) << written.toStdString();
    }

    // A property nobody knows: read as written, written as read.
    const QByteArray line = "X-QUARVENSES-ETIQUETA;X-COR=\"azul;claro\";TYPE=a,b:valor\\, com; coisas";
    const Card card = onlyCard(file({"BEGIN:VCARD", "VERSION:3.0", "FN:Ana", line, "END:VCARD"}));
    const Property x = *card.property("X-QUARVENSES-ETIQUETA");
    EXPECT_EQ(x.parameters(), (QList<vcard::Parameter>{{"X-COR", {"azul;claro"}}, {"TYPE", {"a", "b"}}}));
    EXPECT_EQ(x.value(), "valor\\, com; coisas");
    const QByteArray written = writeOne(card);
    EXPECT_TRUE(written.contains("\r\n" + line + "\r\n")) << written.toStdString();
    EXPECT_EQ(onlyCard(written).property("X-QUARVENSES-ETIQUETA"), x);
}

TEST(VCardRoundTrip, ReadingWhatWasWrittenGivesTheSameCards)
{
    const QList<std::pair<const char*, QByteArray>> inputs{
        {"rfc6350", samples::rfc6350Example()},
        {"v21", samples::portugueseCard21()},
        {"v30", samples::card30WithPhoto()},
        {"all", samples::rfc6350Example() + samples::portugueseCard21() + samples::card30WithPhoto()}};
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const QList<Card> cards = vcard::read(bytes);
        ASSERT_FALSE(cards.isEmpty());
        const QByteArray written = vcard::write(cards);
        QString problem;
        const QList<Card> again = vcard::read(written, &problem);
        EXPECT_EQ(problem, QString());
        ASSERT_EQ(again.size(), cards.size());
        EXPECT_TRUE(vcard::equivalent(again, cards));
        for (qsizetype i = 0; i < cards.size(); ++i)
            EXPECT_EQ(again[i], vcard::upgradeTo40(cards[i])) << "card " << i;
        EXPECT_EQ(vcard::write(again), written);
        // VERSION follows BEGIN, and every line ends in CR LF.
        const QList<QByteArray> lines = physicalLines(written);
        EXPECT_EQ(lines.mid(0, 2), (QList<QByteArray>{"BEGIN:VCARD", "VERSION:4.0"}));
        EXPECT_EQ(lines.last(), "END:VCARD");
        EXPECT_EQ(lines.count("VERSION:4.0"), cards.size());
        EXPECT_EQ(lines.count("BEGIN:VCARD"), cards.size());
    }
}

} // namespace

// For a server that takes only 3.0: what 4.0 says its own way is said the
// 3.0 way, and the card reads back as the same contact.
TEST(VCardWriter, ThreePointZeroSaysTheSameContactTheOldWay)
{
    const QByteArray png = samples::tinyImage("PNG");
    const QByteArray four =
        file({"BEGIN:VCARD", "VERSION:4.0", "KIND:org", "FN:Farmácia Avenida", "ORG:Farmácia Avenida",
              "TEL;VALUE=uri;TYPE=work;PREF=1:tel:+351-212-000-111", "TEL;TYPE=cell:912 000 222",
              "EMAIL;PID=1.1;PREF=1:geral@farmacia.example",
              "CLIENTPIDMAP:1;urn:uuid:53e374d9-337e-4727-8803-a1e9c14e0556",
              "UID:urn:uuid:0b0b0b0b-0000-4000-8000-000000000001"}) +
        "PHOTO:data:image/png;base64," + png.toBase64() + "\r\nEND:VCARD\r\n";
    const QList<vcard::Card> cards = vcard::read(four);
    ASSERT_EQ(cards.size(), 1);
    const QByteArray three = vcard::write30(cards);
    const QStringList lines = contentLines(three);
    EXPECT_EQ(lines.mid(0, 2), (QStringList{QStringLiteral("BEGIN:VCARD"), QStringLiteral("VERSION:3.0")}));
    expectLines(three,
                {QStringLiteral("X-ABSHOWAS:COMPANY"), QStringLiteral("TEL;TYPE=work,pref:+351-212-000-111"),
                 QStringLiteral("EMAIL;TYPE=pref:geral@farmacia.example"),
                 QStringLiteral("PHOTO;ENCODING=b;TYPE=PNG:") + QString::fromLatin1(png.toBase64())});
    for (const QString& line : lines)
        EXPECT_FALSE(line.startsWith(QLatin1String("KIND")) ||
                     line.startsWith(QLatin1String("CLIENTPIDMAP")) ||
                     line.contains(QLatin1String("PREF=")) || line.contains(QLatin1String("PID=")))
            << line.toStdString();

    const vcard::ContactRecord fromFour = vcard::fromCard(cards.first());
    const vcard::ContactRecord fromThree = vcard::fromCard(vcard::read(three).value(0));
    EXPECT_TRUE(fromThree.institution);
    EXPECT_EQ(fromThree.phones, fromFour.phones);
    EXPECT_EQ(fromThree.emails, fromFour.emails);
    EXPECT_EQ(fromThree.photoPng, png);
    // What the sync compares: the 3.0 card, read and written again, is the same card.
    EXPECT_EQ(carddav::fingerprint(vcard::write30({vcard::toCard(fromThree)})), carddav::fingerprint(three));
}
