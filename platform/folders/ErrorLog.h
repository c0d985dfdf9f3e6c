#pragma once
// The error log of the family's reporter: one line per report, appended to
// errors.log in $QUARVENSES_LOG_DIR, else <user state folder>/quarvenses.
// A line is tab-separated: ISO time, process id, user, then the five texts of
// the report, with backslash, tab, line feed and carriage return written as
// \\, \t, \n and \r so that one report stays one line.
#include <QString>

namespace platform {

struct ErrorLogEntry {
    QString title, title2, module, procedure, message;
};

class ErrorLog {
  public:
    static QString folder();
    static QString filePath();
    // The line for `entry` as it is written (without its line end).
    static QString line(const ErrorLogEntry& entry);
    // Appends the line; false, with nothing thrown, when it cannot.
    static bool append(const ErrorLogEntry& entry) noexcept;
    // Escapes one field the way the log does.
    static QString escaped(const QString& field);
};

} // namespace platform
