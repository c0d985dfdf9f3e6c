#pragma once
// The throw-away servers live with the shared test support.
#include "tests/support/TestServer.h"
