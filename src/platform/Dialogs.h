#pragma once

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

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

    // The window whose command asks, while it asks: what opens is that window's child, and
    // that window has the focus back when it closes. None: the active window.
    QWidget *owner() const { return m_owner; }

private:
    friend class WindowDialogs;
    QPointer<QWidget> m_owner;
};

// What one window asks of the user: every dialog and message opens as that window's
// child, whichever window happens to be active. Each window asks through one of these.
class WindowDialogs final : public Dialogs
{
public:
    // `shown` shows them; given another window's, it is that one's that shows them.
    WindowDialogs(Dialogs &shown, QWidget *window);

    void message(const QString &text) override;
    Answer question(const QString &text) override;
    QString openFileName(const QString &filter, const QString &initialFile) override;
    QString saveFileName(const QString &filter, const QString &initialFile) override;
    std::optional<QColor> colour(const QColor &initial, const ColourRequest &request) override;
    void showFile(const QString &path) override;

    // A command of this window started from another of the program's windows (by a key
    // that works in both) asks as that one, which then has the focus back afterwards.
    QWidget *window() const { return m_window; }
    void setWindow(QWidget *window) { m_window = window; }

private:
    template <typename Ask> auto asWindow(Ask ask);

    Dialogs &m_shown;
    QWidget *m_window;
};

// The one file dialog the editor and the preview share: each use sets its filter and
// shows it through the asking window's dialogs. Each kind of file (each filter) opens on
// the file last chosen for it, by whichever window, so that a skin's dialog never offers
// a picture's name nor starts in the pictures' folder.
class CommonDialog
{
public:
    void setFilter(const QString &filter) { m_filter = filter; }
    // Return the chosen path, or the empty text when the user cancelled.
    QString showOpen(Dialogs &asking);
    QString showSave(Dialogs &asking);
    // The file last chosen for the filter set now.
    QString fileName() const { return m_fileNames.value(m_filter); }

private:
    QString remember(const QString &chosen);

    QString m_filter;
    QHash<QString, QString> m_fileNames;
};
