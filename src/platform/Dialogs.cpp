#include "platform/Dialogs.h"

WindowDialogs::WindowDialogs(Dialogs &shown, QWidget *window)
    : m_shown(dynamic_cast<WindowDialogs *>(&shown) ? static_cast<WindowDialogs &>(shown).m_shown
                                                    : shown),
      m_window(window)
{
}

// The owner is set for the time of the question alone; a message asked while another
// window's dialog is open belongs to that other window again afterwards.
template <typename Ask> auto WindowDialogs::asWindow(Ask ask)
{
    struct Owned
    {
        Dialogs &shown;
        QPointer<QWidget> before;
        ~Owned() { shown.m_owner = before; }
    } owned{m_shown, m_shown.m_owner};
    m_shown.m_owner = m_window;
    return ask();
}

void WindowDialogs::message(const QString &text)
{
    asWindow([&] { m_shown.message(text); });
}

Dialogs::Answer WindowDialogs::question(const QString &text)
{
    return asWindow([&] { return m_shown.question(text); });
}

QString WindowDialogs::openFileName(const QString &filter, const QString &initialFile)
{
    return asWindow([&] { return m_shown.openFileName(filter, initialFile); });
}

QString WindowDialogs::saveFileName(const QString &filter, const QString &initialFile)
{
    return asWindow([&] { return m_shown.saveFileName(filter, initialFile); });
}

std::optional<QColor> WindowDialogs::colour(const QColor &initial, const ColourRequest &request)
{
    return asWindow([&] { return m_shown.colour(initial, request); });
}

void WindowDialogs::showFile(const QString &path)
{
    asWindow([&] { m_shown.showFile(path); });
}

QString CommonDialog::showOpen(Dialogs &asking)
{
    return remember(asking.openFileName(m_filter, fileName()));
}

QString CommonDialog::showSave(Dialogs &asking)
{
    return remember(asking.saveFileName(m_filter, fileName()));
}

QString CommonDialog::remember(const QString &chosen)
{
    if (!chosen.isEmpty())
        m_fileNames.insert(m_filter, chosen);
    return chosen;
}
