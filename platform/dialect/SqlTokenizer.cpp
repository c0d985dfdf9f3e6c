#include "platform/dialect/SqlTokenizer.h"

#include "platform/dialect/DialectError.h"

namespace dialect {

bool Token::isWord(const char* word) const
{
    return type == Type::Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool Token::isSymbol(const char* symbol) const
{
    return type == Type::Symbol && text == QLatin1String(symbol);
}

namespace {

class Reader {
  public:
    explicit Reader(const QString& text) : s_(text) {}

    QList<Token> all()
    {
        QList<Token> tokens;
        bool space = false;
        while (pos_ < s_.size()) {
            if (skipBlankOrComment()) {
                space = true;
                continue;
            }
            Token t = next();
            t.spaceBefore = space;
            space = false;
            tokens.append(t);
        }
        return tokens;
    }

  private:
    QChar at(qsizetype i) const { return i < s_.size() ? s_[i] : QChar(); }

    bool skipBlankOrComment()
    {
        const QChar c = s_[pos_];
        if (c.isSpace()) {
            ++pos_;
            return true;
        }
        if (c == u'-' && at(pos_ + 1) == u'-') {
            while (pos_ < s_.size() && s_[pos_] != u'\n')
                ++pos_;
            return true;
        }
        if (c == u'/' && at(pos_ + 1) == u'*') {
            const qsizetype end = s_.indexOf(QStringLiteral("*/"), pos_ + 2);
            if (end < 0)
                throw malformed(QStringLiteral("comentário por fechar"));
            pos_ = end + 2;
            return true;
        }
        return false;
    }

    QString quoted(QChar close, const char* what)
    {
        QString text;
        ++pos_;
        while (pos_ < s_.size()) {
            const QChar c = s_[pos_++];
            if (c != close) {
                text += c;
            } else if (at(pos_) == close) {
                text += close;
                ++pos_;
            } else {
                return text;
            }
        }
        throw malformed(QString::fromLatin1(what));
    }

    Token next()
    {
        const QChar c = s_[pos_];
        if (c == u'\'')
            return {Token::Type::String, quoted(u'\'', "texto por fechar"), false};
        if ((c == u'N' || c == u'n') && at(pos_ + 1) == u'\'') {
            ++pos_;
            return {Token::Type::String, quoted(u'\'', "texto por fechar"), false};
        }
        if (c == u'[')
            return {Token::Type::Name, quoted(u']', "nome entre parênteses rectos por fechar"), false};
        if (c == u'"')
            return {Token::Type::Name, quoted(u'"', "nome entre aspas por fechar"), false};
        if (c.isDigit() || (c == u'.' && at(pos_ + 1).isDigit()))
            return number();
        if (c == u'@')
            return variable();
        if (c.isLetter() || c == u'_' || c == u'#')
            return word();
        return symbol();
    }

    Token number()
    {
        const qsizetype start = pos_;
        while (at(pos_).isDigit())
            ++pos_;
        if (at(pos_) == u'.') {
            ++pos_;
            while (at(pos_).isDigit())
                ++pos_;
        }
        if ((at(pos_) == u'e' || at(pos_) == u'E') &&
            (at(pos_ + 1).isDigit() ||
             ((at(pos_ + 1) == u'-' || at(pos_ + 1) == u'+') && at(pos_ + 2).isDigit()))) {
            pos_ += 2;
            while (at(pos_).isDigit())
                ++pos_;
        }
        return {Token::Type::Number, s_.mid(start, pos_ - start), false};
    }

    Token variable()
    {
        const qsizetype start = pos_;
        while (at(pos_) == u'@')
            ++pos_;
        while (at(pos_).isLetterOrNumber() || at(pos_) == u'_')
            ++pos_;
        return {Token::Type::Variable, s_.mid(start, pos_ - start), false};
    }

    Token word()
    {
        const qsizetype start = pos_;
        while (at(pos_).isLetterOrNumber() || at(pos_) == u'_' || at(pos_) == u'$' || at(pos_) == u'#')
            ++pos_;
        return {Token::Type::Word, s_.mid(start, pos_ - start), false};
    }

    Token symbol()
    {
        static const char* const pairs[] = {"<>", "!=", "<=", ">=", "||", "!<", "!>"};
        for (const char* pair : pairs) {
            if (s_.mid(pos_, 2) == QLatin1String(pair)) {
                pos_ += 2;
                return {Token::Type::Symbol, QString::fromLatin1(pair), false};
            }
        }
        return {Token::Type::Symbol, QString(s_[pos_++]), false};
    }

    const QString& s_;
    qsizetype pos_ = 0;
};

} // namespace

QList<Token> tokenize(const QString& text)
{
    return Reader(text).all();
}

} // namespace dialect
