#pragma once
// What a test of the component's windows stands on: settings of its own, a
// fresh demonstration catalog, a reporter that records, and scripted boxes,
// made in this order and undone in the reverse.
#include "tests/support/DemoDatabase.h"
#include "tests/support/RecordingReporter.h"
#include "tests/support/ScopedSettings.h"
#include "tests/support/ScriptedWindows.h"

namespace testsupport {

struct ComponentWorld {
    ScopedSettings settings;
    DemoDatabase db;
    RecordingReporter reporter;
    ScriptedWindows windows;
};

} // namespace testsupport
