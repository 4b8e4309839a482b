#pragma once

#include "preview/PreviewWindow.h"
#include "preview/WorkingPicture.h"

#include "platform/Dialogs.h"
#include "platform/ProgramDirectory.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class ColourTable;

// The dialogs of a run without windows: messages are kept for the caller to report,
// questions are answered No and nothing is chosen.
class ConsoleDialogs final : public Dialogs
{
public:
    void message(const QString &text) override;
    Answer question(const QString &text) override;
    QString openFileName(const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &) override { return {}; }
    std::optional<QColor> colour(const QColor &, Alpha) override { return std::nullopt; }

    const QStringList &messages() const { return m_messages; }

private:
    QStringList m_messages;
};

// The preview window, never shown, drawing a skin in a private temporary folder: the
// program folder's working files and a running editor stay untouched.
class HeadlessPreview
{
public:
    // Throws Error when the private folder cannot be made.
    explicit HeadlessPreview(const ColourTable &colours);
    ~HeadlessPreview();

    // Where a background picture goes before the window is opened.
    QString pictureFile() const { return m_folder.file(WorkingPicture::Bmp); }
    // Opens the window unseen. Throws Error when the skin cannot be drawn.
    PreviewWindow &open();
    const ConsoleDialogs &dialogs() const { return m_dialogs; }

private:
    const ColourTable &m_colours;
    QTemporaryDir m_work;
    ProgramDirectory m_folder;
    ConsoleDialogs m_dialogs;
    CommonDialog m_fileDialog;
    WorkingPicture m_picture;
    std::unique_ptr<PreviewWindow> m_window;
};
