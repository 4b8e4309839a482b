#pragma once

#include "platform/Dialogs.h"
#include "platform/Error.h"

#include <functional>
#include <type_traits>

// Wraps a handler that Qt calls, for connect(). Qt cannot carry an exception through its
// event loop, so this is the edge where an Error that escaped a handler stops: it is told
// in the usual message box, and the program goes on. The signal's arguments are passed on
// when the handler takes them.
template <typename Handler> auto guarded(Dialogs &dialogs, Handler handler)
{
    return [&dialogs, handler = std::move(handler)](auto &&...args) {
        try {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                std::invoke(handler, std::forward<decltype(args)>(args)...);
            else
                std::invoke(handler);
        } catch (const Error &e) {
            dialogs.message(e.description());
        }
    };
}
