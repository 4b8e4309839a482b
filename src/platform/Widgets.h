#pragma once

#include "platform/Fonts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

// One control of a window laid out at fixed pixel positions: the name tests find it by,
// its place in its parent, its caption if it has one, and for a control without a caption
// the role a screen reader speaks.
struct ControlLayout
{
    QLatin1StringView name;
    QRect geometry;
    QLatin1StringView caption = {};
    QLatin1StringView role = {};
};

// Makes the control its layout describes. The caption goes where the control shows one.
template <typename W, typename... Args>
W *place(QWidget *parent, const ControlLayout &control, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(control.name);
    w->setGeometry(control.geometry);
    // Captions and roles are marked with QT_TRANSLATE_NOOP("ControlLayout", ...).
    const auto shown = [](QLatin1StringView text) {
        return text.isEmpty() ? QString()
                              : QCoreApplication::translate("ControlLayout", text.data());
    };
    if constexpr (requires { w->setTitle(QString()); })
        w->setTitle(shown(control.caption));
    else if constexpr (requires { w->setText(QString()); })
        w->setText(shown(control.caption));
    if (!control.role.isEmpty())
        w->setAccessibleName(shown(control.role));
    return w;
}

// The wait cursor for as long as it lives, for work on large pictures that takes a
// moment. End it before a message is shown.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
