#include "platform/X11Windows.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

#if QT_CONFIG(xcb) && defined(VELLOX_XCB)
#include <xcb/xcb.h>

namespace {

// Qt's own connection when the windows are on an X server; the offscreen platform offers
// the same interface without one.
xcb_connection_t *x11Connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return QGuiApplication::platformName() == QLatin1StringView("xcb") && x11 ? x11->connection()
                                                                              : nullptr;
}

} // namespace
#endif

void leadOwnWindowGroup(QWidget &toolWindow)
{
#if QT_CONFIG(xcb) && defined(VELLOX_XCB)
    xcb_connection_t *connection = x11Connection();
    if (!connection)
        return;
    const auto window = xcb_window_t(toolWindow.winId());
    // WM_HINTS is nine 32-bit fields (ICCCM 4.1.2.4); the other hints Qt wrote are kept,
    // and Qt keeps the group when it rewrites them later.
    constexpr std::uint32_t Fields = 9, WindowGroupHint = 1U << 6, GroupField = 8;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, Fields);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    std::array<std::uint32_t, Fields> hints{};
    if (reply && reply->format == 32) {
        const auto *values =
            static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
        const int count = std::min(xcb_get_property_value_length(reply.get()) / 4, int(Fields));
        std::copy_n(values, count, hints.begin());
    }
    hints[0] |= WindowGroupHint;
    hints[GroupField] = window;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, Fields, hints.data());
#else
    (void)toolWindow;
#endif
}

namespace {

bool holdsX11Focus(const QWidget &window)
{
#if QT_CONFIG(xcb) && defined(VELLOX_XCB)
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created))
        return false;
    const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr),
        &std::free);
    return reply && reply->focus == xcb_window_t(window.winId());
#else
    (void)window;
    return false;
#endif
}

} // namespace

void takeBackMissedFocus(QWidget &window, QWidget *control)
{
    QTimer::singleShot(0, &window, [window = QPointer(&window), control = QPointer(control)] {
        if (!window || QApplication::activeWindow() || !holdsX11Focus(*window))
            return;
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(window);
        QT_WARNING_POP
        if (control)
            control->setFocus(Qt::ActiveWindowFocusReason);
    });
}
