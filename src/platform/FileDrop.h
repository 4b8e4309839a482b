#pragma once

#include <QObject>

#include <functional>

class Dialogs;
class QDropEvent;
class QWidget;

// Takes one file dropped anywhere on a window, its text boxes included (text dropped
// there still goes into them). Several files, a folder, something that is not a file on
// this computer or a file that is gone get a message and nothing else.
class FileDrop : public QObject
{
    Q_OBJECT

public:
    // Call once the window holds all its controls.
    FileDrop(QWidget *window, Dialogs &dialogs, std::function<void(const QString &path)> open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void take(const QDropEvent &drop);

    Dialogs &m_dialogs;
    std::function<void(const QString &)> m_open;
};
