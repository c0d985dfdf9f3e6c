#include "tests/support/ScriptedWindows.h"
#include <gtest/gtest.h>

ScriptedWindows::ScriptedWindows() : scripted_(std::make_shared<platform::ScriptedWindowServices>())
{
    scripted_->onUnexpected = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
    previous_ = platform::WindowServices::install(scripted_);
}

ScriptedWindows::~ScriptedWindows()
{
    expectAllAnswersUsed();
    platform::WindowServices::install(previous_);
}

QStringList ScriptedWindows::texts() const
{
    QStringList out;
    for (const auto& box : scripted_->messageBoxes())
        out.append(box.text);
    return out;
}

void ScriptedWindows::expectAllAnswersUsed()
{
    if (scripted_->unusedAnswers() > 0)
        ADD_FAILURE() << scripted_->unusedAnswers() << " queued message-box answer(s) never used";
    if (scripted_->unusedSaveFileNames() > 0)
        ADD_FAILURE() << scripted_->unusedSaveFileNames() << " queued save-dialog answer(s) never used";
    scripted_->discardQueued();
}
