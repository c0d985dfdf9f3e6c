#pragma once
// A connection string in OLE DB syntax: "Keyword=value;…", keywords without
// regard to case, values quoted with "…" or '…' (the quote doubled inside)
// where they hold ";", a quote or outer blanks.
#include <QList>
#include <QPair>
#include <QString>

namespace ado {

class ConnectionString {
  public:
    ConnectionString() = default;
    // Throws vb::Error (provider error) on a string it cannot read, such as an
    // unterminated quote.
    static ConnectionString parse(const QString& text);

    // The last value given for the keyword; empty when absent.
    QString value(const QString& keyword) const;
    bool contains(const QString& keyword) const;
    void set(const QString& keyword, const QString& value);

    QString userId() const;
    QString password() const;
    QString initialCatalog() const;
    QString dataSource() const;
    // "Connect Timeout" in seconds, or -1 when the string does not give one.
    int connectTimeout() const;

    QString toString() const;

    // The value as it must be written after "Keyword=": unchanged unless OLE DB
    // needs it quoted.
    static QString quoteValue(const QString& value);

  private:
    QList<QPair<QString, QString>> pairs_;
};

} // namespace ado
