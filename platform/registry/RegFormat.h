#pragma once
// The Windows Registry Editor export format ("Windows Registry Editor Version
// 5.00"): [key] lines, "name"="text" with \\ and \" escapes, @ for the default
// value, dword:xxxxxxxx, "name"=- and [-key] for removals. Texts holding line
// breaks or other control characters are written as hex(1): (UTF-16LE), as
// regedit does, so that every string survives a round trip.
#include "platform/registry/RegDocument.h"
#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace platform {

// A line the reader cannot take: its number (1-based) and what is wrong.
class RegSyntaxError : public std::runtime_error {
  public:
    RegSyntaxError(int line, QString reason);
    int line() const { return line_; }
    const QString& reason() const { return reason_; }

  private:
    int line_;
    QString reason_;
};

namespace regformat {

inline constexpr char Header[] = "Windows Registry Editor Version 5.00";

// Applies the text to `target`: keys and values are added or replaced,
// removals remove. All or nothing: a bad line throws RegSyntaxError and
// leaves `target` untouched.
void apply(const QString& text, RegDocument& target);
RegDocument parse(const QString& text);

// The whole document as text, keys in their order, LF line ends.
QString write(const RegDocument& doc);
// Only `keyPath` and the keys below it.
QString write(const RegDocument& doc, const QString& keyPath);

// File bytes to text: UTF-8 with or without byte-order mark, or UTF-16LE
// with its mark (regedit's own exports).
QString decode(const QByteArray& bytes);

} // namespace regformat
} // namespace platform
