#include "connection/ConnectionState.h"

ConnectionState& Conn()
{
    static ConnectionState state;
    return state;
}

DataEnvironment& Data()
{
    static DataEnvironment data;
    return data;
}

void ResetConnectionStateForTests()
{
    Conn() = ConnectionState{};
    Data().SqlServer = ado::Connection();
}
