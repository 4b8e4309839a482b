#pragma once

#include <QString>

// The application's style, icon and font. `style` is the one the user named (-style or
// QT_STYLE_OVERRIDE), which wins when Qt has it; otherwise the windows' own fitting style,
// which their fixed layouts are measured in.
void setUpLooks(const QString &style);
