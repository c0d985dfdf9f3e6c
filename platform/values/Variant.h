#pragma once
// VB's value model: a Variant holds Empty, Null, a Boolean, a number of one of
// VB's widths, a Currency, a Date (serial: days since 30 December 1899, time as
// the fraction), a String, or a reference to an object. A left-out optional
// argument is a distinct value (`Variant::missing()`), unequal to every other.
#include <QString>
#include <QtGlobal>
#include <memory>
#include <variant>

namespace vb {

// Base of everything that travels as an object reference: recordsets,
// connections, the host's objects, outside components. Callers reach a
// contract by casting to its interface (late binding); a failed cast is VB's
// "Object doesn't support this property or method".
class Object {
  public:
    virtual ~Object() = default;
};
using ObjectRef = std::shared_ptr<Object>;

enum class VarType : int {
    Empty = 0,
    Null = 1,
    Integer = 2, // 16-bit
    Long = 3,    // 32-bit
    Single = 4,
    Double = 5,
    Currency = 6, // 64-bit integer scaled by 10 000
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10, // only as the left-out argument
    Boolean = 11,
};

struct Currency {
    qint64 scaled = 0; // value × 10 000
    static Currency fromDouble(double d);
    double toDouble() const { return double(scaled) / 10000.0; }
    friend bool operator==(Currency a, Currency b) { return a.scaled == b.scaled; }
};

struct Date {
    double serial = 0.0; // days since 1899-12-30; time as fraction
    friend bool operator==(Date a, Date b) { return a.serial == b.serial; }
};

class Variant {
  public:
    Variant() = default;              // Empty
    Variant(bool b) : v_(b) {}        // Boolean
    Variant(qint16 i) : v_(i) {}      // Integer
    Variant(int i) : v_(qint32(i)) {} // Long
    Variant(float f) : v_(f) {}       // Single
    Variant(double d) : v_(d) {}      // Double
    Variant(Currency c) : v_(c) {}
    Variant(Date d) : v_(d) {}
    Variant(const QString& s) : v_(s) {}
    Variant(QString&& s) : v_(std::move(s)) {}
    Variant(const char* utf8) : v_(QString::fromUtf8(utf8)) {}
    Variant(ObjectRef o) : v_(std::move(o)) {}

    static Variant null();
    static Variant missing();
    static Variant fromLong(qint32 i) { return Variant(int(i)); }
    static Variant fromDate(double serial) { return Variant(Date{serial}); }

    VarType type() const;
    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isNull() const { return std::holds_alternative<NullTag>(v_); }
    bool isMissing() const { return std::holds_alternative<MissingTag>(v_); }
    bool isObject() const { return std::holds_alternative<ObjectRef>(v_); }
    bool isString() const { return std::holds_alternative<QString>(v_); }
    bool isBoolean() const { return std::holds_alternative<bool>(v_); }
    bool isDate() const { return std::holds_alternative<Date>(v_); }
    // Boolean, Integer, Long, Single, Double or Currency.
    bool isNumber() const;

    // Direct access to the stored alternative; no conversion. Use the
    // conversion functions (CStr, CLng, …) for VB's rules.
    template <class T> const T* get() const { return std::get_if<T>(&v_); }
    const ObjectRef& object() const;

    // VB's TypeName: "Empty", "Null", "Long", "String", …
    QString typeName() const;

  private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    struct MissingTag {
        friend bool operator==(MissingTag, MissingTag) { return true; }
    };
    std::variant<std::monostate, NullTag, MissingTag, bool, qint16, qint32, float, double, Currency, Date,
                 QString, ObjectRef>
        v_;
};

} // namespace vb
