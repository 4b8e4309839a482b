#pragma once

class QWidget;

// Makes a tool window the leader of a window group of its own on X11, before it is shown;
// elsewhere it does nothing. A window manager gives the focus of a closed dialog to the
// window it belongs to only if that window may take it: openbox passes over a tool window
// whose group also holds a normal window, so the focus would stop at the program's main
// window on its way back, and a screen reader would speak a control of it in between.
void leadOwnWindowGroup(QWidget &toolWindow);

// After a dialog of `window` closed: once the events pending are handled, if the X11
// keyboard focus is in `window` but Qt has no active window, makes it active with
// `control` focused. A window manager can give the focus back while Qt is still letting
// go of the dialog, and Qt then misses it: the window takes the keys, but for Qt and a
// screen reader nothing has the focus.
void takeBackMissedFocus(QWidget &window, QWidget *control);
