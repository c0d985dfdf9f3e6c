#pragma once
// Installs the scripted window services for one test and makes every box or
// save dialog nobody queued an answer for, and every answer left unused at
// the end, a failure of that test. Use it as a local or a fixture member:
//
//   ScriptedWindows windows;
//   windows->queueAnswer(platform::msgbox::AnswerNo);
//   codeUnderTest();
//   ASSERT_EQ(windows->messageBoxes().size(), 1u);
//   EXPECT_EQ(windows->messageBoxes()[0].style, 4 + 32);
#include "platform/windows/ScriptedWindowServices.h"
#include "tests/support/QtPrinters.h"
#include <memory>

class ScriptedWindows {
  public:
    ScriptedWindows();
    ~ScriptedWindows();
    ScriptedWindows(const ScriptedWindows&) = delete;
    ScriptedWindows& operator=(const ScriptedWindows&) = delete;

    platform::ScriptedWindowServices* operator->() const { return scripted_.get(); }
    platform::ScriptedWindowServices& services() const { return *scripted_; }

    // The texts of the boxes shown so far, in order.
    QStringList texts() const;

    // Fails the test for answers not used so far, and drops them.
    void expectAllAnswersUsed();

  private:
    std::shared_ptr<platform::ScriptedWindowServices> scripted_;
    std::shared_ptr<platform::WindowServices> previous_;
};
