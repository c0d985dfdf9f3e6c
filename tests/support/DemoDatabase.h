#pragma once
// A demonstration catalog on a fresh embedded server, with the component
// connected to it as a host would leave it after SQLConnect ("sa"), for the
// life of the object.
#include "tests/support/QtPrinters.h"
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class DemoDatabase {
  public:
    explicit DemoDatabase(bool demo = true);
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    QString folder() const { return dir_.path(); }
    QString connectionString() const;
    // The first column of the first row, or Null as "NULL".
    QString value(const QString& sql) const;
    int count(const QString& sql) const;
    // The same with the number put in for "%1" (a contact's, mostly).
    QString value(const QString& sql, qint64 number) const { return value(sql.arg(number)); }
    int count(const QString& sql, qint64 number) const { return count(sql.arg(number)); }

  private:
    QTemporaryDir dir_;
};

} // namespace testsupport
