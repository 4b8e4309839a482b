#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QRect>
#include <QWidget>

// Windows here are laid out at fixed pixel positions.
template <typename W, typename... Args>
W *placeWidget(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
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
