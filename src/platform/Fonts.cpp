#include "platform/Fonts.h"

QFont layoutFont(int pixels, QFont::Weight weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}
