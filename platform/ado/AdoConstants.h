#pragma once
// ADO's numeric constants, as the component passes and tests them.

namespace ado {

enum ObjectState : int { adStateClosed = 0, adStateOpen = 1, adStateConnecting = 2 };

enum CursorType : int {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};
enum LockType : int {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};
enum ConnectOption : int { adConnectUnspecified = -1, adAsyncConnect = 16 };
enum CommandOption : int { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdUnknown = 8 };
enum SearchDirection : int { adSearchBackward = -1, adSearchForward = 1 };
enum Bookmark : int { adBookmarkCurrent = 0, adBookmarkFirst = 1, adBookmarkLast = 2 };

enum DataType : int {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adBoolean = 11,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adBigInt = 20,
    adBinary = 128,
    adNumeric = 131,
    adDBTimeStamp = 135,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adLongVarBinary = 205,
};

} // namespace ado
