#pragma once

#include <QFont>

#include <future>
#include <thread>

// Arial at `pixels`, which the layouts were measured with. At 10 pixels every caption
// fits the box it was laid out in; it is the font of all windows and dialogs.
QFont layoutFont(int pixels = 10, QFont::Weight weight = QFont::Normal);

// What the first windows read before their first texts and icons, read on a thread of
// its own while the caller goes on with what needs none of it: the system's font
// configuration while the display opens, then, once the application object is made, the
// list of fonts, the layout font's fallbacks and the image formats' plugins while the
// folder is taken and the windows built. The first text and the first icon then find them
// read, which is most of their cost. Waited for by wait() or at the latest when this goes,
// which must be before the application object goes: Qt lets go of what was read then.
class ReadingAhead
{
public:
    ReadingAhead() = default;
    ~ReadingAhead();
    ReadingAhead(const ReadingAhead &) = delete;
    ReadingAhead &operator=(const ReadingAhead &) = delete;
    // Before the application object is made.
    void start();
    // Once it is made on a display: what needs it is read from then on.
    void applicationMade();
    void wait();

private:
    std::thread m_reading;
    std::promise<bool> m_application;
    bool m_told = false;
};
