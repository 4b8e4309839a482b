#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QLatin1StringView>
#include <QRect>
#include <QWidget>

// One control of a window laid out at fixed pixel positions: the name tests and
// accessibility tools find it by, its place in its parent, and its caption if it has one.
struct ControlSpec
{
    QLatin1StringView name;
    QRect geometry;
    QLatin1StringView caption = {};
};

// Makes the control a spec describes. The caption goes where the control shows one.
template <typename W, typename... Args>
W *place(QWidget *parent, const ControlSpec &spec, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(spec.name);
    w->setGeometry(spec.geometry);
    if constexpr (requires { w->setTitle(QString()); })
        w->setTitle(spec.caption);
    else if constexpr (requires { w->setText(QString()); })
        w->setText(spec.caption);
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
