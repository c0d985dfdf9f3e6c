#pragma once
// The shape of ADO, the same on every provider: each provider's test file
// instantiates this suite with a factory of its own servers.
#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "tests/platform/VbFailure.h"
#include "tests/support/TestServer.h"
#include <gtest/gtest.h>

namespace adotest {

using vbtest::errorOf;
using vbtest::raised;
// Lets an asynchronous open settle, with the event loop running; its final State.
int pollUntilSettled(const ado::Connection& c);

class AdoBehaviour : public ::testing::TestWithParam<ServerFactory> {
  protected:
    void SetUp() override;
    ado::Connection connection;
    std::unique_ptr<TestServer> server;
    // Runs each statement on the open connection.
    void run(std::initializer_list<const char*> statements);
};

} // namespace adotest
