#pragma once
// The registry's contents in memory: keys by full path
// ("HKEY_LOCAL_MACHINE\SOFTWARE\Varnadel"), each with its named values. Key paths and value names are
// compared without regard to case, as Windows does, and keep the spelling of
// their first writer. Order is kept so that a rewritten file reads as before.
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace platform {

struct RegValue {
    enum class Type { String = 1, Dword = 4 }; // Windows' REG_SZ and REG_DWORD
    Type type = Type::String;
    QString text;
    quint32 number = 0;

    static RegValue string(QString s) { return RegValue{Type::String, std::move(s), 0}; }
    static RegValue dword(quint32 n) { return RegValue{Type::Dword, {}, n}; }
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

class RegDocument {
  public:
    struct Entry {
        QString name; // empty: the key's default value ("@")
        RegValue value;
    };
    struct Key {
        QString path;
        std::vector<Entry> values;
    };

    // A key exists when it is listed or when a key below it is.
    bool hasKey(const QString& path) const;
    const Key* findKey(const QString& path) const;
    Key& ensureKey(const QString& path);
    // Removes the key and every key below it.
    void removeKey(const QString& path);

    std::optional<RegValue> value(const QString& path, const QString& name) const;
    void setValue(const QString& path, const QString& name, const RegValue& value);
    bool removeValue(const QString& path, const QString& name);

    const std::vector<Key>& keys() const { return keys_; }
    bool isEmpty() const { return keys_.empty(); }

    friend bool operator==(const RegDocument& a, const RegDocument& b);

  private:
    Key* find(const QString& path);
    std::vector<Key> keys_;
};

bool operator==(const RegDocument::Entry& a, const RegDocument::Entry& b);
bool operator==(const RegDocument::Key& a, const RegDocument::Key& b);

// True when `path` is `parent` itself or a key below it.
bool isSameOrBelow(const QString& path, const QString& parent);

} // namespace platform
