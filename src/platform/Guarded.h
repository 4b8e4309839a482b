#pragma once

#include "platform/Dialogs.h"
#include "platform/Error.h"

#include <QCoreApplication>

#include <exception>
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

// The message for a failure that is not the program's own: what the system said, if
// anything.
inline QString unexpected(const char *what)
{
    return what && *what
               ? QCoreApplication::translate("Guarded",
                                             "Vellox could not finish this step: %1. Your work is "
                                             "kept as it was.")
                     .arg(QString::fromLocal8Bit(what))
               : QCoreApplication::translate("Guarded",
                                             "Vellox could not finish this step for a reason it "
                                             "was not told. Your work is kept as it was.");
}

} // namespace guardedDetail

// Wraps a handler that Qt calls, for connect(). Qt cannot carry an exception through its
// event loop, so this is the edge where anything that escaped a handler stops, the
// program's own Error or any other (memory running out, a library's own exception): it is
// told in the usual message box, and the program goes on with the user's work as it is.
template <typename Handler> auto guarded(Dialogs &dialogs, Handler handler)
{
    return [&dialogs, handler = std::move(handler)](auto &&...args) {
        try {
            guardedDetail::invokeTaking(handler, std::forward<decltype(args)>(args)...);
        } catch (const Error &e) {
            dialogs.message(e.description());
        } catch (const std::exception &e) {
            dialogs.message(guardedDetail::unexpected(e.what()));
        } catch (...) {
            dialogs.message(guardedDetail::unexpected(nullptr));
        }
    };
}
