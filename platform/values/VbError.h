#pragma once
// The error object every platform and data-access call throws: VB's Err with
// its number, description and source. Procedures of the component catch it.
#include <QString>
#include <exception>
#include <string>

namespace vb {

// Numbers the system tests for.
namespace errnum {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int ObjectNotSet = 91;        // "Object variable or With block variable not set"
inline constexpr int CannotCreateObject = 429; // "ActiveX component can't create object"
inline constexpr int NotSupported = 438;       // "Object doesn't support this property or method"
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int AdoNoCurrentRecord = 3021; // BOF or EOF
inline constexpr int AdoItemNotFound = 3265;
inline constexpr int AdoObjectClosed = 3709;
inline constexpr int AdoOperationNotAllowed = 3219;
} // namespace errnum

class Error : public std::exception {
  public:
    Error(int number, QString description, QString source = {});

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }
    // The server's own number for the failure (ADO's NativeError): SQL
    // Server's message number; 0 when there is none.
    int nativeError() const noexcept { return native_; }
    Error& setNativeError(int native) noexcept
    {
        native_ = native;
        return *this;
    }
    const char* what() const noexcept override { return what_.c_str(); }

    // The errors VB raises by number, with VB's own texts.
    static Error overflow();
    static Error typeMismatch();
    static Error invalidUseOfNull();
    static Error objectNotSet();
    static Error cannotCreateObject(const QString& progId = {});
    static Error notSupported(const QString& member = {});

  private:
    int number_;
    QString description_;
    QString source_;
    std::string what_;
    int native_ = 0;
};

} // namespace vb
