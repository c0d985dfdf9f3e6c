#pragma once
#include <functional>
struct sqlite3;
namespace dialect {
struct FunctionContext {
    std::function<int()> trancount;
};
void registerFunctions(sqlite3* db, FunctionContext* context);
// The order QV_CI sorts in; catalogs whose indexes were built in an older
// order are reindexed once when a session opens them.
inline constexpr int collationVersion = 1;
inline constexpr const char* dateTimeFormat = "yyyy-MM-dd hh:mm:ss.zzz";
} // namespace dialect
