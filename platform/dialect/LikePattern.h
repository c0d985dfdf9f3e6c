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

    // A text as the pattern compares it (case folded, and without accents
    // when they do not count): for matching many texts many times, fold
    // them once.
    using Folded = QList<char32_t>;
    static Folded fold(const QString& text, Accents accents);
    bool matchesFolded(const Folded& text) const;

  private:
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
