#pragma once
// Contact cards as vCard files carry them: a card is an ordered list of
// properties, a property a name with parameters and a value. Values are kept
// in the escaped form of vCard 3.0 and 4.0 ("\,", "\;", "\n", "\\"), whatever
// version they were read from, so text(), components() and the writer see one
// form; parameters are kept as they were read, vCard 2.1 bare words included,
// and are brought to 4.0 only when a card is written.
//
// Reading and writing are in VCardReader.h and VCardWriter.h:
//
//   QList<vcard::Card> cards = vcard::read(bytes, &problem);
//   QString nome = cards[0].text("FN");
//   QList<QStringList> morada = cards[0].property("ADR")->components();
//   QByteArray vcf = vcard::write(cards);
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace vcard {

// One parameter as written: `TYPE=home,work` has two values; a vCard 2.1 bare
// word (`TEL;HOME:`) has the word as name and no values.
struct Parameter {
    QString name;
    QStringList values;

    bool operator==(const Parameter&) const = default;
};

class Property {
  public:
    Property() = default;
    // `value` is taken as it would stand in a file, escapes included.
    Property(const QString& name, const QString& value);
    static Property fromText(const QString& name, const QString& text);
    static Property fromComponents(const QString& name, const QList<QStringList>& components);

    const QString& group() const { return group_; }
    void setGroup(const QString& group) { group_ = group; }
    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name.toUpper(); }

    const QList<Parameter>& parameters() const { return parameters_; }
    // The values of every parameter of that name, in order.
    QStringList parameter(const QString& name) const;
    bool hasParameter(const QString& name) const;
    void addParameter(const QString& name, const QStringList& values = {});
    // Replaces every parameter of that name by one, where the first stood.
    void setParameter(const QString& name, const QStringList& values);
    void removeParameter(const QString& name);
    void setParameters(const QList<Parameter>& parameters);

    // The value as it stands in a file, still escaped.
    const QString& value() const { return value_; }
    void setValue(const QString& value) { value_ = value; }
    // The value unescaped, for single text values such as FN or NOTE.
    QString text() const;
    void setText(const QString& text);
    // A structured value (N, ADR) split on ";" into components and each
    // component on "," into its list, unescaped.
    QList<QStringList> components() const;
    void setComponents(const QList<QStringList>& components);

    // TYPE values in lower case, from `TYPE=a,b` and from 2.1 bare words;
    // "pref" is not among them (see pref()).
    QStringList types() const;
    // 0 when not preferred; PREF=n gives n, TYPE=pref and a bare PREF give 1.
    int pref() const;
    // The bytes of an inline binary value (ENCODING=b or BASE64, or a
    // `data:…;base64,` URI); empty for any other value.
    QByteArray binary() const;

    bool operator==(const Property&) const = default;

  private:
    QString group_;
    QString name_;
    QList<Parameter> parameters_;
    QString value_;
};

class Card {
  public:
    // VERSION as found ("2.1", "3.0", "4.0"); empty when the card had none.
    // VERSION itself is not among the properties.
    const QString& version() const { return version_; }
    void setVersion(const QString& version) { version_ = version; }

    const QList<Property>& properties() const { return properties_; }
    void setProperties(const QList<Property>& properties) { properties_ = properties; }
    QList<Property> properties(const QString& name) const;
    std::optional<Property> property(const QString& name) const;
    // text() of the first property of that name; empty when there is none.
    QString text(const QString& name) const;

    void addProperty(const Property& property) { properties_.append(property); }
    // Replaces the first property of the same name, or adds it at the end.
    void setProperty(const Property& property);
    void removeProperties(const QString& name);

    bool operator==(const Card&) const = default;

  private:
    QString version_;
    QList<Property> properties_;
};

} // namespace vcard
