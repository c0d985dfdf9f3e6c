#pragma once
// The process-wide connection state that every part of the component reads,
// and the data object `Data` with the one shared connection `SqlServer`.
// One set per process, shared by all `General` instances.
#include "platform/ado/Connection.h"
#include <QString>

struct ConnectionState {
    bool bSQLConnected = false;
    QString strUser;       // the signed-in application user
    QString strPassword;   // as the host gave it: enciphered
    QString strDataServer; // the host product's settings key name
    QString strSecurityInfo;
    QString strCnUser;     // SQL login of the shared connection
    QString strCnPassword; // enciphered
    QString strInitialCatalog;
    QString strDataSource;
    QString strDataSourceSecondary;
    bool bUseSecondary = false;
    QString strSQLMasterConnString;    // enciphered
    QString strSQLSecondaryConnString; // enciphered
};

// The process's state; lives until the process ends.
ConnectionState& Conn();

// The data object: holds the shared connection, created on first use and
// never closed by the component.
class DataEnvironment {
  public:
    ado::Connection SqlServer;
};
DataEnvironment& Data();

// For tests that start a fresh "process": forget every value and drop the
// shared connection.
void ResetConnectionStateForTests();
