#pragma once
// Tests run under fixed regional settings, whatever the machine's locale.
#include "platform/values/Regional.h"
#include "platform/values/VbError.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

class UnderRegional : public ::testing::Test {
  protected:
    void SetUp() override { vb::setRegional(vb::Regional::ptPT()); }
    void TearDown() override { vb::setRegional(vb::Regional::ptPT()); }
    static void useAmerican() { vb::setRegional(vb::Regional::enUS()); }
};

// The VB error number `call` raises, or 0.
inline int vbErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const vb::Error& e) {
        return e.number();
    }
    return 0;
}

// Failures show texts as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
