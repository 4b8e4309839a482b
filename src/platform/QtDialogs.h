#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

// Message boxes and file dialogs of Qt, captioned with the program's title and
// parented to the window that asks, or else to whichever window is active.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QString title) : m_title(std::move(title)) {}

    void message(const QString &text) override;
    Answer question(const QString &text) override;
    void showFile(const QString &path) override;
    QString openFileName(const QString &filter, const QString &initialFile) override;
    QString saveFileName(const QString &filter, const QString &initialFile) override;
    std::optional<QColor> colour(const QColor &initial, const ColourRequest &request) override;

private:
    QString m_title;
};

// "Skins (*.ini)|*.ini" -> "Skins (*.ini) (*.ini)": Qt reads the patterns from the last
// parentheses and, with its details hidden, shows the label exactly as given.
QStringList qtNameFilters(const QString &filter);
