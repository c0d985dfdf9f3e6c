#pragma once
// A contract only the tests know, provided by the test plugin.
#include "platform/values/Variant.h"
#include <QString>

class EchoContract : public vb::Object {
  public:
    virtual QString echo(const QString& text) = 0;
};
