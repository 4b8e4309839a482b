#include "common/ScriptedDialogs.h"

void ScriptedDialogs::message(const QString &text)
{
    messages << text;
}

Dialogs::Answer ScriptedDialogs::question(const QString &text)
{
    questions << text;
    if (answers.isEmpty()) {
        ++unscripted;
        return Answer::No;
    }
    return answers.takeFirst();
}

QString ScriptedDialogs::openFileName(const QString &filter, const QString &initialFile)
{
    fileRequests.append({FileRequest::Open, filter, initialFile});
    if (chosenFiles.isEmpty()) {
        ++unscripted;
        return {};
    }
    return chosenFiles.takeFirst();
}

QString ScriptedDialogs::saveFileName(const QString &filter, const QString &initialFile)
{
    fileRequests.append({FileRequest::Save, filter, initialFile});
    if (chosenFiles.isEmpty()) {
        ++unscripted;
        return {};
    }
    return chosenFiles.takeFirst();
}
