#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

// Answers the program's questions and file dialogs from queues and records every
// message, so tests never reach a real modal window.
class ScriptedDialogs final : public Dialogs
{
public:
    struct FileRequest
    {
        enum Kind
        {
            Open,
            Save
        } kind;
        QString filter;
        QString initialFile;
    };

    void message(const QString &text) override;
    Answer question(const QString &text) override;
    QString openFileName(const QString &filter, const QString &initialFile) override;
    QString saveFileName(const QString &filter, const QString &initialFile) override;

    QStringList messages;
    QStringList questions;
    QList<FileRequest> fileRequests;

    // Queues consumed in order. An empty queue answers No / cancels, and the request is
    // counted in `unscripted`, which tests can expect to stay 0.
    QList<Answer> answers;
    QStringList chosenFiles;
    int unscripted = 0;
};
