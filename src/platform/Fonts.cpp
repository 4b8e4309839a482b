#include "platform/Fonts.h"

#include <fontconfig/fontconfig.h>

QFont layoutFont(int pixels, QFont::Weight weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

// Qt takes the configuration fontconfig has read by then, the same the windows use.
FontConfiguration::FontConfiguration() : m_reading([] { FcInit(); }) {}

void FontConfiguration::wait()
{
    if (m_reading.joinable())
        m_reading.join();
}
