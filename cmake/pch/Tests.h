// The widgets' headers, QtTest and GoogleTest, for the test programs.
#pragma once
#include "Widgets.h"
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
