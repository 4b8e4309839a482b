#pragma once

#include <QFont>
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
