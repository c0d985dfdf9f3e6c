#include "platform/dialect/PortugueseOrder.h"

#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

std::string utf8(const char16_t* text)
{
    return QString::fromUtf16(text).toStdString();
}

// Names as offices type them, and the texts where a quick answer would be
// tempting and wrong: accents after a shared ASCII start, combining marks,
// letters the collator expands, controls it ignores, punctuation.
std::vector<std::string> awkwardTexts()
{
    const char16_t* texts[] = {
        u"",           u"a",         u"A",          u"á",
        u"Ana",        u"ana",       u"ANA",        u"Ana Maria",
        u"Ana-Maria",  u"AnaMaria",  u"Ana\u0301",  u"Ana\u0301 Maria",
        u"Ana\tMaria", u"Ana\u0007", u"João",       u"Joao",
        u"JOÃO",       u"Joaquim",   u"Jo\u0301ao", u"Conceição",
        u"Conceicao",  u"Câmara",    u"Camara",     u"Clínica",
        u"Élio",       u"Elio",      u"elio",       u"Øystein",
        u"Oystein",    u"Æsir",      u"aesir",      u"Straße",
        u"Strasse",    u"Ñandu",     u"Nandu",      u"co-op",
        u"coop",       u"co op",     u"O'Neill",    u"Oneill",
        u"O Neill",    u"1.º andar", u"1 andar",    u"10 andar",
        u"2 andar",    u"#1",        u"@casa",      u"(Lisboa)",
        u"Lisboa",     u"lisboa.",   u"Lisboa ",    u"Lisboa\u00a0",
        u"Zé",         u"Ze",        u"Zeca",       u"Żaneta",
        u"Çarşı",      u"Carsi",     u"ſ",          u"s",
        u"ﬁm",         u"fim",       u"Ａna",       u"Ana~",
        u"Ana{",       u"Ana_",
    };
    std::vector<std::string> out;
    for (const char16_t* t : texts)
        out.push_back(utf8(t));
    out.push_back(std::string("Ana\0Maria", 9));
    return out;
}

std::vector<std::string> randomAsciiTexts(int count)
{
    QRandomGenerator random(20261208);
    std::vector<std::string> out;
    const std::string narrow = "aAbBmMnN 0-'.z";
    for (int i = 0; i < count; ++i) {
        std::string text;
        const int length = random.bounded(6);
        // Half from a few characters, so that long shared starts are common.
        for (int k = 0; k < length; ++k)
            text += i % 2 ? narrow[std::size_t(random.bounded(int(narrow.size())))]
                          : char(random.bounded(0x20, 0x7f));
        out.push_back(text);
    }
    return out;
}

// Every text of the first list with every one of the second appended.
std::vector<std::string> joined(const std::vector<std::string>& heads, const std::vector<std::string>& tails)
{
    std::vector<std::string> out;
    for (const std::string& head : heads)
        for (const std::string& tail : tails)
            out.push_back(head + tail);
    return out;
}

void expectSameOrderAsCollator(const dialect::PortugueseOrder& order, const std::vector<std::string>& texts)
{
    int disagreements = 0;
    for (const std::string& a : texts)
        for (const std::string& b : texts)
            if (sign(order.compare(a, b)) != sign(order.compareByCollator(a, b)) && ++disagreements <= 10)
                ADD_FAILURE() << "\"" << a << "\" against \"" << b << "\": " << order.compare(a, b)
                              << " but the collator says " << order.compareByCollator(a, b);
    EXPECT_EQ(disagreements, 0);
}

TEST(PortugueseOrder, TheAsciiTableIsInUseAndAgreesWithTheCollatorOnEveryPair)
{
    const dialect::PortugueseOrder order;
    ASSERT_TRUE(order.hasAsciiTable());
    std::vector<std::string> texts = awkwardTexts();
    const std::vector<std::string> ascii = randomAsciiTexts(500);
    texts.insert(texts.end(), ascii.begin(), ascii.end());
    const std::vector<std::string> mixed =
        joined({"Jo", "jo", "Ana", "ana ", "Co"}, {"", "ão", "ao", "a", "\u0301", "-", " ", "Ã"});
    texts.insert(texts.end(), mixed.begin(), mixed.end());
    expectSameOrderAsCollator(order, texts);
    // What the sorted list of the dialect's tests does not show: a prefix, punctuation.
    EXPECT_LT(order.compare("Ana", "Ana Maria"), 0);
    EXPECT_NE(order.compare("Ana", "Ana."), 0);
}

} // namespace
