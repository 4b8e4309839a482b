#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

// Everything modal that the program asks of the user. The real program shows Qt
// message boxes and file dialogs; tests answer from a script.
class Dialogs
{
public:
    enum class Answer
    {
        Yes,
        No
    };

    virtual ~Dialogs() = default;

    // A message with a single OK button, captioned with the program's title.
    virtual void message(const QString &text) = 0;
    // A question with Yes and No, captioned with the program's title.
    virtual Answer question(const QString &text) = 0;
    // `filter` is "label|patterns[|label|patterns...]", patterns joined by ';'. The
    // dialog opens on `initialFile`. Returns the chosen path, or the empty text when
    // the user cancels.
    virtual QString openFileName(const QString &filter, const QString &initialFile) = 0;
    virtual QString saveFileName(const QString &filter, const QString &initialFile) = 0;

    // What the colour dialog edits: its title and, for a colour with an opacity, the
    // percentage it shows in place of the alpha channel, converted both ways by the
    // caller's rule.
    struct ColourRequest
    {
        QString title;
        std::function<int(int alpha)> percentOf = {}; // empty: no alpha channel
        std::function<int(int percent)> alphaOf = {};
    };
    // The colour dialog, opened on `initial`. Nothing when the user cancels.
    virtual std::optional<QColor> colour(const QColor &initial, const ColourRequest &request) = 0;
    // Shows a file where the user's file manager keeps it.
    virtual void showFile(const QString &path) = 0;
};

// The one file dialog the editor and the preview share: each use sets its filter,
// and every use opens on the file last chosen through it, by whichever window.
class CommonDialog
{
public:
    explicit CommonDialog(Dialogs &dialogs) : m_dialogs(dialogs) {}

    void setFilter(const QString &filter) { m_filter = filter; }
    // Return the chosen path, or the empty text when the user cancelled.
    QString showOpen();
    QString showSave();
    const QString &fileName() const { return m_fileName; }

private:
    QString remember(const QString &chosen);

    Dialogs &m_dialogs;
    QString m_filter;
    QString m_fileName;
};
