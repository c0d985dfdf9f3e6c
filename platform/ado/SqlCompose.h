#pragma once
// The one way statements are put together from pieces. A pattern names its
// pieces %1 … %99; compose() replaces them in a single pass over the pattern,
// so what a piece carries (a literal made from typed text holding "%2", say)
// is never read again. "%%" stands for one "%". A placeholder without its
// piece, or a piece the pattern never uses, is a programming error: vb::Error 5.
//
//   const QString sql = sql::compose(u"UPDATE tbContactos SET nome_union = %1 WHERE contacto_id = %2",
//                                    {modData::FormatSQLValue(name, modData::kText), id});
//
// Literals themselves come from FormatSQLValue/Trtf; names and masks that go
// between the statement's own apostrophes pass through doubled().
#include <QString>
#include <QStringView>
#include <initializer_list>

namespace sql {

// One piece of a statement: SQL text as it is, or a number in decimal.
class Part {
  public:
    Part(const QString& text) : text_(text) {}
    Part(QStringView text) : text_(text.toString()) {}
    Part(const char16_t* text) : text_(QString::fromUtf16(text)) {}
    Part(qint32 number) : text_(QString::number(number)) {}
    Part(qint64 number) : text_(QString::number(number)) {}
    Part(double) = delete; // numbers with decimals go through FormatSQLValue
    Part(bool) = delete;
    const QString& text() const { return text_; }

  private:
    QString text_;
};

QString compose(QStringView pattern, std::initializer_list<Part> parts);

// Apostrophes doubled, for a name or a mask that the statement itself puts
// between apostrophes ("WHERE descrit = '" + doubled(name) + "'").
QString doubled(const QString& text);

// A code taken as data inside a LIKE pattern: "%", "_" and "[" become the
// one-character classes "[%]", "[_]" and "[[]" (apostrophes doubled too), so
// that the code matches only itself.
QString likeLiteral(const QString& text);

} // namespace sql
