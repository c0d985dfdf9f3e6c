#pragma once
// Splits T-SQL text into tokens: strings keep their exact contents, comments
// are dropped, bracketed names become names.
#include <QList>
#include <QString>

namespace dialect {

struct Token {
    enum class Type { Word, Name, String, Number, Variable, Symbol };
    Type type = Type::Symbol;
    QString text; // Word/Symbol/Number/Variable: as written; Name: the bare name; String: the contents
    bool spaceBefore = false;

    bool isWord(const char* word) const;
    bool isSymbol(const char* symbol) const;
};

// Throws the dialect error on an unterminated string, name or comment.
QList<Token> tokenize(const QString& text);

} // namespace dialect
