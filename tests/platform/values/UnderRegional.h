#pragma once
// Tests run under fixed regional settings, whatever the machine's locale.
#include "platform/values/Regional.h"
#include "platform/values/Variant.h"
#include "tests/platform/VbFailure.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

class UnderRegional : public ::testing::Test {
  protected:
    void SetUp() override { vb::setRegional(vb::Regional::ptPT()); }
    void TearDown() override { vb::setRegional(vb::Regional::ptPT()); }
    static void useAmerican() { vb::setRegional(vb::Regional::enUS()); }
};

using vbtest::errorOf;

// A typed text as a value.
inline vb::Variant text(const char* s)
{
    return vb::Variant(QString::fromUtf8(s));
}
