#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>

#include <dlfcn.h>
#include <system_error>

QFont layoutFont(int pixels, QFont::Weight weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

namespace {

// fontconfig's FcInit, found in the library Qt is loaded with (the program itself does
// not depend on it), or nothing where Qt draws its texts without it.
using ReadConfiguration = int (*)();
ReadConfiguration fontConfigurationReader()
{
    void *library = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return nullptr;
    const auto read = reinterpret_cast<ReadConfiguration>(::dlsym(library, "FcInit"));
    // Qt holds the library for the run.
    ::dlclose(library);
    return read;
}

} // namespace

void ReadingAhead::start()
{
    // Each is safe beside Qt's own first use, which then finds it read or waits for it.
    try {
        m_reading = std::thread([readConfiguration = fontConfigurationReader(),
                                 made = m_application.get_future()]() mutable {
            if (readConfiguration)
                readConfiguration();
            if (!made.get())
                return;
            QFontDatabase::families();
            // The layout font's fallbacks are kept for every thread; its engine only for
            // this one, which lets it go.
            QFontMetrics(layoutFont()).height();
            QImageReader::supportedImageFormats();
        });
    } catch (const std::system_error &) {
        // No thread to be had: Qt reads it all when it is first needed.
    }
}

void ReadingAhead::applicationMade()
{
    if (!m_told)
        m_application.set_value(true);
    m_told = true;
}

ReadingAhead::~ReadingAhead()
{
    wait();
}

void ReadingAhead::wait()
{
    if (!m_told)
        m_application.set_value(false);
    m_told = true;
    if (m_reading.joinable())
        m_reading.join();
}
