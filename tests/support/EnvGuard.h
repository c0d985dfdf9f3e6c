#pragma once
// Sets an environment variable for one test and puts the old value back.
#include <QByteArray>
#include <QtGlobal>

namespace testsupport {

class EnvGuard {
  public:
    EnvGuard(const char* name, const QByteArray& value) : name_(name), had_(qEnvironmentVariableIsSet(name))
    {
        old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvGuard()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

} // namespace testsupport
