#pragma once
#include <functional>
struct sqlite3;
namespace dialect {
struct FunctionContext { std::function<int()> trancount; };
void registerFunctions(sqlite3* db, FunctionContext* context);
inline constexpr const char* dateTimeFormat = "yyyy-MM-dd hh:mm:ss.zzz";
}
