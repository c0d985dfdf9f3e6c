// LIKE's folding of texts, which the server uses row by row and the host's
// list search once per name: the quick way for Latin-1 texts must give what
// the full Unicode normalisation gives.
#include "platform/dialect/LikePattern.h"

#include <gtest/gtest.h>

using dialect::LikePattern;

namespace {

// The reference: decomposed, combining marks left out when accents do not
// count, each code point case-folded.
LikePattern::Folded normalised(const QString& text, LikePattern::Accents accents)
{
    QString bare;
    for (const QChar c :
         accents == LikePattern::Accents::Insensitive ? text.normalized(QString::NormalizationForm_D) : text)
        if (accents == LikePattern::Accents::Sensitive || c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    LikePattern::Folded points;
    for (char32_t u : bare.toUcs4())
        points.append(QChar::toCaseFolded(u));
    return points;
}

TEST(LikePattern, FoldsEveryLatin1CharacterAndMixedTextsAsTheNormalisationDoes)
{
    QStringList texts;
    for (char16_t c = 1; c < 0x100; ++c)
        texts << QString(QChar(c));
    texts << QStringLiteral("Conceição Álvares") << QStringLiteral("JOÃO ÑANDÚ ÿ ß ª º µ")
          << QStringLiteral("Ana\u0301 Maria") << QStringLiteral("Łukasz Żółć") << QStringLiteral("Ἀθῆναι")
          << QStringLiteral("ﬁm Ａna") << QString::fromUcs4(U"emoji 😀 é") << QString();
    for (const auto accents : {LikePattern::Accents::Sensitive, LikePattern::Accents::Insensitive})
        for (const QString& text : texts)
            EXPECT_EQ(LikePattern::fold(text, accents), normalised(text, accents))
                << text.toStdString()
                << (accents == LikePattern::Accents::Insensitive ? " (accents aside)" : "");

    // A class matches a letter whatever its accent; the rest of LIKE is
    // checked through the server's statements (DialectTest).
    EXPECT_TRUE(LikePattern(QStringLiteral("[a-c]%"), LikePattern::Accents::Insensitive)
                    .matches(QStringLiteral("Álvaro")));
    EXPECT_FALSE(LikePattern(QStringLiteral("[^a-c]%"), LikePattern::Accents::Insensitive)
                     .matches(QStringLiteral("Álvaro")));
}

} // namespace
