#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

// One control of a window laid out at fixed pixel positions: the name tests and
// accessibility tools find it by, its place in its parent, and its caption if it has one.
struct ControlLayout
{
    QLatin1StringView name;
    QRect geometry;
    QLatin1StringView caption = {};
};

// Makes the control its layout describes. The caption goes where the control shows one.
template <typename W, typename... Args>
W *place(QWidget *parent, const ControlLayout &control, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(control.name);
    w->setGeometry(control.geometry);
    if constexpr (requires { w->setTitle(QString()); })
        w->setTitle(control.caption);
    else if constexpr (requires { w->setText(QString()); })
        w->setText(control.caption);
    return w;
}

// Arial at `pixels`, which the layouts were measured with; 11 pixels is the small dialog
// font of captions and controls.
QFont layoutFont(int pixels = 11, QFont::Weight weight = QFont::Normal);

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
