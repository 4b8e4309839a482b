#pragma once

#include <QFont>

// Arial at `pixels`, which the layouts were measured with. At 10 pixels every caption
// fits the box it was laid out in; it is the font of all windows and dialogs.
QFont layoutFont(int pixels = 10, QFont::Weight weight = QFont::Normal);
