#include "platform/Fonts.h"

#include <dlfcn.h>

QFont layoutFont(int pixels, QFont::Weight weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

void FontConfigurationReading::start()
{
    // Only the library Qt is loaded with is asked: the program itself does not depend on
    // it. Reading it is safe beside Qt's own first use, which then finds it read or reads
    // it too.
    void *library = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    if (const auto read = reinterpret_cast<int (*)()>(::dlsym(library, "FcInit")))
        m_reading = std::thread([read] { read(); });
    // Qt holds the library for the run.
    ::dlclose(library);
}

FontConfigurationReading::~FontConfigurationReading()
{
    wait();
}

void FontConfigurationReading::wait()
{
    if (m_reading.joinable())
        m_reading.join();
}
