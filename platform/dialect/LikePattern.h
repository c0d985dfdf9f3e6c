#pragma once
// SQL Server's LIKE: "%" any run, "_" one character, "[abc]", "[a-c]" and
// "[^a]" classes; compared without regard to case, as the default
// collation does, and without regard to accents too when the collation
// says so (…_CI_AI: "antonio" finds "António").
#include <QList>
#include <QString>

namespace dialect {

class LikePattern {
  public:
    enum class Accents { Sensitive, Insensitive };
    explicit LikePattern(const QString& pattern, Accents accents = Accents::Sensitive);
    bool matches(const QString& text) const;

  private:
    QList<char32_t> codePoints(const QString& text) const;
    Accents accents_;
    struct Element {
        enum class Kind { Any, One, Char, Class } kind = Kind::Char;
        char32_t ch = 0;
        bool negated = false;
        QList<std::pair<char32_t, char32_t>> ranges;
        bool accepts(char32_t c) const;
    };
    QList<Element> elements_;
};

} // namespace dialect
