#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers from queues and records every message, so no test reaches a real modal window.
// An empty queue answers No or cancels.
class ScriptedDialogs final : public Dialogs
{
public:
    struct FileRequest
    {
        bool save;
        QString filter, initialFile;
    };

    void message(const QString &text) override { messages << text, asked(); }
    Answer question(const QString &text) override
    {
        questions << text, asked();
        if (whileAsked)
            whileAsked();
        return answers.isEmpty() ? Answer::No : answers.takeFirst();
    }
    QString openFileName(const QString &f, const QString &i) override { return file(false, f, i); }
    QString saveFileName(const QString &f, const QString &i) override { return file(true, f, i); }
    std::optional<QColor> colour(const QColor &initial, const ColourRequest &request) override
    {
        colourRequests.append({initial, request}), asked();
        return chosenColours.isEmpty() ? std::nullopt : chosenColours.takeFirst();
    }

    void showFile(const QString &path) override { shownFiles << path; }

    QStringList messages, questions, chosenFiles, shownFiles;
    std::function<void()> whileAsked; // runs while a question waits for its answer
    QList<Answer> answers;
    QList<FileRequest> fileRequests;
    QList<std::pair<QColor, ColourRequest>> colourRequests;
    QList<std::optional<QColor>> chosenColours;
    QStringList owners; // the object name of the window that asked, for every request

private:
    void asked() { owners << (owner() ? owner()->objectName() : QStringLiteral("none")); }
    QString file(bool save, const QString &filter, const QString &initial)
    {
        fileRequests.append({save, filter, initial}), asked();
        return chosenFiles.isEmpty() ? QString() : chosenFiles.takeFirst();
    }
};
