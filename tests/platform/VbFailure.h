#pragma once
// The VB error a call raises, for the tests that expect one.
#include "platform/values/VbError.h"
#include <functional>
#include <optional>

namespace vbtest {

// The error `work` raises; none when it returns.
inline std::optional<vb::Error> raised(const std::function<void()>& work)
{
    try {
        work();
    } catch (const vb::Error& e) {
        return e;
    }
    return std::nullopt;
}

// Its number; 0 when it raises none.
inline int errorOf(const std::function<void()>& work)
{
    const std::optional<vb::Error> e = raised(work);
    return e ? e->number() : 0;
}

// Its description; empty when it raises none.
inline QString failureOf(const std::function<void()>& work)
{
    const std::optional<vb::Error> e = raised(work);
    return e ? e->description() : QString();
}

} // namespace vbtest
