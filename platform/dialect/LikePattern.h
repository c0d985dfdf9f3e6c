#pragma once
// SQL Server's LIKE: "%" any run, "_" one character, "[abc]", "[a-c]" and
// "[^a]" classes; compared without regard to case, as the default
// collation does.
#include <QList>
#include <QString>

namespace dialect {

class LikePattern {
  public:
    explicit LikePattern(const QString& pattern);
    bool matches(const QString& text) const;

  private:
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
