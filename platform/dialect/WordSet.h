#pragma once
// A fixed set of keywords looked up without regard to case and without
// building an upper-case copy of every word of a statement.
#include <QLatin1String>
#include <QStringView>
#include <initializer_list>
#include <vector>

namespace dialect {

class WordSet {
  public:
    WordSet(std::initializer_list<const char*> words);
    bool contains(QStringView word) const;

  private:
    std::vector<QLatin1String> words_; // sorted without regard to case
};

} // namespace dialect
