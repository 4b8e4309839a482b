#pragma once

#include <QFont>

#include <thread>

// Arial at `pixels`, which the layouts were measured with. At 10 pixels every caption
// fits the box it was laid out in; it is the font of all windows and dialogs.
QFont layoutFont(int pixels = 10, QFont::Weight weight = QFont::Normal);

// The system's font configuration read on a thread of its own, while the caller goes on
// with what needs no text (opening the display, taking its folder): a program's first
// text then finds it read, which is most of the cost of that text. Waited for by wait()
// or at the latest when this goes, which must be before the application object goes:
// Qt lets go of the configuration then. Where Qt draws its texts without fontconfig,
// nothing is read ahead.
class FontConfigurationReading
{
public:
    FontConfigurationReading() = default;
    ~FontConfigurationReading();
    FontConfigurationReading(const FontConfigurationReading &) = delete;
    FontConfigurationReading &operator=(const FontConfigurationReading &) = delete;
    void start();
    void wait();

private:
    std::thread m_reading;
};
