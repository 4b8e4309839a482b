#pragma once

#include <QFont>

// Arial at `pixels`, which the layouts were measured with. At 10 pixels every caption
// fits the box it was laid out in; it is the font of all windows and dialogs.
QFont layoutFont(int pixels = 10, QFont::Weight weight = QFont::Normal);

#include <thread>

// Reads the system's font configuration on a thread of its own. The first font looked
// for otherwise waits while some sixty configuration files are read; meanwhile a
// program can do work that needs no font. Ready once wait() returns, at the latest when
// it ends.
class FontConfiguration
{
public:
    FontConfiguration();
    ~FontConfiguration() { wait(); }
    FontConfiguration(const FontConfiguration &) = delete;
    FontConfiguration &operator=(const FontConfiguration &) = delete;

    void wait();

private:
    std::thread m_reading;
};
