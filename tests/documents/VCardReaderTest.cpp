#include "documents/vcard/VCardReader.h"

#include "tests/documents/VCardSamples.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using samples::file;
using samples::onlyCard;
using vcard::Card;
using vcard::Parameter;
using vcard::Property;

namespace {

QStringList names(const QList<Card>& cards)
{
    QStringList found;
    for (const Card& card : cards)
        found.append(card.text("FN"));
    return found;
}

TEST(VCardReader, Rfc6350Example)
{
    const Card card = onlyCard(samples::rfc6350Example());
    EXPECT_EQ(card.version(), "4.0");
    EXPECT_EQ(card.text("FN"), "Simon Perreault");
    QStringList order;
    for (const Property& p : card.properties())
        order.append(p.name());
    EXPECT_EQ(order, (QStringList{"FN", "N", "BDAY", "ANNIVERSARY", "GENDER", "LANG", "LANG", "ORG", "ADR",
                                  "TEL", "TEL", "EMAIL", "GEO", "KEY", "TZ", "URL"}));
    const QList<QStringList> expectedN{{"Perreault"}, {"Simon"}, {""}, {""}, {"ing. jr", "M.Sc."}};
    EXPECT_EQ(card.property("N")->components(), expectedN);
    // The address is folded after "Laurier;": one space is the fold, not text.
    const QList<QStringList> expectedAdr{{""},   {"Suite D2-630"}, {"2875 Laurier"}, {"Quebec"},
                                         {"QC"}, {"G1V 2M2"},      {"Canada"}};
    EXPECT_EQ(card.property("ADR")->components(), expectedAdr);
    EXPECT_EQ(card.property("ADR")->types(), QStringList{"work"});
    EXPECT_EQ(card.properties("LANG")[1].pref(), 2);
    EXPECT_EQ(card.property("KEY")->value(), "http://www.viagenie.ca/simon.perreault/simon.asc");
    EXPECT_EQ(card.property("GEO")->value(), "geo:46.772673,-71.282945");
}

TEST(VCardReader, Version21TypeWordsCharsetsFoldsAndAVersionThatComesLate)
{
    // 2.1's bare type words are types, and PREF alone the preferred one.
    const Card phone = onlyCard(samples::portugueseCard21());
    EXPECT_EQ(phone.property("ADR")->types(), QStringList{"home"});
    const QList<Property> tels = phone.properties("TEL");
    ASSERT_EQ(tels.size(), 2);
    EXPECT_EQ(tels[0].types(), (QStringList{"home", "voice"}));
    EXPECT_EQ(tels[0].pref(), 1);
    EXPECT_EQ(tels[1].types(), (QStringList{"work", "fax"}));
    EXPECT_EQ(tels[1].pref(), 0);

    // 3.0 lets VERSION stand anywhere; the 2.1 rules must apply to the line
    // before it, where a comma is text.
    const Card card = onlyCard(
        file({"BEGIN:VCARD", "ADR:;;Rua A, 1;Porto;;;", "VERSION:2.1",
              "N;CHARSET=windows-1252:Fran\xE7;Jo\xE3o", "NOTE;CHARSET=windows-1252:Pre\xE7o: 5 \x80",
              "TITLE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Dire=C3=A7=C3=A3o",
              "ROLE;QUOTED-PRINTABLE:Gest=C3=A3o",
              "ORG:Cal\xE7"
              "ado",
              "X-DOBRA:duas", " palavras", "END:VCARD"}));
    EXPECT_EQ(card.version(), "2.1");
    EXPECT_FALSE(card.property("VERSION"));
    EXPECT_EQ(card.property("ADR")->components().value(2), QStringList{"Rua A, 1"});
    EXPECT_EQ(card.property("N")->components(), (QList<QStringList>{{"Franç"}, {"João"}}));
    EXPECT_EQ(card.text("NOTE"), "Preço: 5 €");
    EXPECT_EQ(card.text("TITLE"), "Direção");
    EXPECT_EQ(card.text("ROLE"), "Gestão");
    // No CHARSET and not UTF-8: the Windows code page of old exports.
    EXPECT_EQ(card.text("ORG"), "Calçado");
    EXPECT_EQ(card.text("X-DOBRA"), "duas palavras") << "a 2.1 fold keeps its white space";
}

TEST(VCardReaderFiles, SeveralCardsBlankLinesLineFeedsAnEmbeddedAgentAndBrokenCardsReadAsFarAsTheyGo)
{
    const QByteArray data = samples::file(
        {"", "BEGIN:VCARD", "VERSION:3.0", "FN:Primeiro", "END:VCARD", "", "", "begin:vcard", "version:4.0",
         "fn:Segundo", "end:vcard", "BEGIN:VCARD", "FN:Terceiro", "", "tel;type=cell:1", "END:VCARD", ""},
        "\n");
    QString problem = "por limpar";
    const QList<Card> cards = vcard::read(data, &problem);
    EXPECT_EQ(problem, QString());
    EXPECT_EQ(names(cards), (QStringList{"Primeiro", "Segundo", "Terceiro"}));
    ASSERT_EQ(cards.size(), 3);
    EXPECT_EQ(cards[2].version(), QString());
    const Property tel = *cards[2].property("TEL");
    EXPECT_EQ(tel.parameters(), (QList<Parameter>{{"TYPE", {"cell"}}}));
    for (const QByteArray& nothing : {QByteArray(), QByteArray("\r\n\r\n")}) {
        problem = "por limpar";
        EXPECT_TRUE(vcard::read(nothing, &problem).isEmpty());
        EXPECT_EQ(problem, QString()) << "nothing to read is no problem";
    }

    // A 2.1 AGENT's card sits inside the outer one; the outer card is the contact.
    const Card agent =
        onlyCard(file({"BEGIN:VCARD", "VERSION:2.1", "N:Gomes;Rui", "AGENT:", "BEGIN:VCARD", "VERSION:2.1",
                       "N:Secretária;Ana", "TEL:111", "END:VCARD", "TEL;WORK:222", "END:VCARD"}));
    EXPECT_EQ(agent.text("TEL"), "222");
    EXPECT_TRUE(agent.text("AGENT").contains("N:Secretária;Ana"));

    // Broken cards are read as far as they go, and reported.
    const QByteArray brokenFile = file({
        "BEGIN:VCARD", "VERSION:4.0", "FN:Antes",           "END:VCARD",                       // lines 1-4
        "BEGIN:VCARD", "VERSION:4.0", "FN:Sem dois pontos", "NOTE",      "TEL:1", "END:VCARD", // lines 5-10
        "BEGIN:VCARD", "VERSION:4.0", "FN:Cortado",                                            // lines 11-13
        "BEGIN:VCARD", "VERSION:4.0", "FN:Depois",          "END:VCARD",                       // lines 14-17
        "END:VCARD",   "BEGIN:VCARD", "FN:No fim"                                              // lines 18-20
    });
    const QList<Card> broken = vcard::read(brokenFile, &problem);
    EXPECT_EQ(names(broken), (QStringList{"Antes", "Sem dois pontos", "Cortado", "Depois", "No fim"}));
    EXPECT_EQ(broken.value(1).text("TEL"), "1") << "the lines after a bad one are read";
    EXPECT_EQ(
        problem.split(u'\n'),
        (QStringList{"Cartão 2 (linha 8): linha sem «:» entre o nome e o valor; a linha foi ignorada.",
                     "Cartão 3 (linha 11): falta END:VCARD; o cartão foi lido até ao cartão seguinte.",
                     "Linha 18: END:VCARD sem BEGIN:VCARD.",
                     "Cartão 5 (linha 19): falta END:VCARD; o cartão foi lido até ao fim do ficheiro."}));

    // An unknown charset keeps the card and says so.
    const QList<Card> unknown = vcard::read(
        file({"BEGIN:VCARD", "VERSION:2.1", "FN;CHARSET=x-inexistente:Ana", "END:VCARD"}), &problem);
    ASSERT_EQ(unknown.size(), 1);
    EXPECT_EQ(unknown[0].text("FN"), "Ana");
    EXPECT_TRUE(problem.contains("x-inexistente")) << problem.toStdString();
}
// However a program ends its lines or encodes its file, the same cards come out.
TEST(VCardReaderFiles, LineEndsAndWideEncodings)
{
    const QStringList lines{"BEGIN:VCARD",     "VERSION:3.0", "N:Álvares;Inês;;;",
                            "FN:Inês Álvares", "NOTE:uma=",   "END:VCARD"};
    const QString text = lines.join(u'\n');
    const auto withEnds = [&](const char* end) {
        return QString(text).replace(u'\n', QLatin1String(end)).toUtf8() + end;
    };
    const auto wide = [&](QStringConverter::Encoding encoding, QStringConverter::Flag mark) {
        return QByteArray(QStringEncoder(encoding, mark).encode(QString::fromUtf8(withEnds("\r\n"))));
    };
    const QList<std::pair<const char*, QByteArray>> files{
        {"CR LF", withEnds("\r\n")},
        {"LF", withEnds("\n")},
        {"CR", withEnds("\r")},
        {"CR CR LF", withEnds("\r\r\n")},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + withEnds("\r\n")},
        {"UTF-16LE BOM", wide(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)},
        {"UTF-16BE", wide(QStringConverter::Utf16BE, QStringConverter::Flag::Default)},
        {"UTF-32 BOM", wide(QStringConverter::Utf32, QStringConverter::Flag::WriteBom)}};
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        const Card card = onlyCard(bytes);
        EXPECT_EQ(card.text("FN"), "Inês Álvares");
        EXPECT_EQ(card.text("NOTE"), "uma=") << "no CR left at the end of a value";
    }
}

} // namespace
