#include "shell/HeadlessPreview.h"

#include "skin/SkinFile.h"

#include "platform/Error.h"

void ConsoleDialogs::message(const QString &text)
{
    m_messages << QString(text).replace(QLatin1String("\r\n"), QLatin1String(" "));
}

Dialogs::Answer ConsoleDialogs::question(const QString &text)
{
    message(text);
    return Answer::No;
}

HeadlessPreview::HeadlessPreview(const ColourTable &colours)
    : m_colours(colours), m_folder(m_work.path()), m_fileDialog(m_dialogs), m_picture(m_folder)
{
    if (!m_work.isValid())
        throw Error(Error::PathFileAccess,
                    QStringLiteral("Cannot make a private working folder: ") +
                        m_work.errorString());
}

HeadlessPreview::~HeadlessPreview() = default;

PreviewWindow &HeadlessPreview::open()
{
    m_window = std::make_unique<PreviewWindow>(
        m_folder, PreviewWindow::Skin{m_colours, [this] { return skinText(m_colours); }}, m_picture,
        m_fileDialog, m_dialogs);
    m_window->loadWindow();
    return *m_window;
}
