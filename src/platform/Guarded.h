#pragma once

#include "platform/Dialogs.h"
#include "platform/Error.h"

#include <functional>
#include <type_traits>

namespace guardedDetail {

// The signal's arguments go to a handler that takes them; one that takes none is called
// without them.
template <typename Handler, typename... Args>
void invokeTaking(const Handler &handler, Args &&...args)
{
    if constexpr (std::is_invocable_v<const Handler &, Args...>)
        std::invoke(handler, std::forward<Args>(args)...);
    else
        std::invoke(handler);
}

} // namespace guardedDetail

// Wraps a handler that Qt calls, for connect(). Qt cannot carry an exception through its
// event loop, so this is the edge where an Error that escaped a handler stops: it is told
// in the usual message box, and the program goes on.
template <typename Handler> auto guarded(Dialogs &dialogs, Handler handler)
{
    return [&dialogs, handler = std::move(handler)](auto &&...args) {
        try {
            guardedDetail::invokeTaking(handler, std::forward<decltype(args)>(args)...);
        } catch (const Error &e) {
            dialogs.message(e.description());
        }
    };
}
