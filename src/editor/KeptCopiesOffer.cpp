#include "editor/KeptCopiesOffer.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/KeptCopy.h"

#include <QCoreApplication>
#include <QDir>

void offerKeptCopies(Dialogs &dialogs)
{
    for (const KeptCopy &kept : KeptCopy::found()) {
        const QString file = QDir::toNativeSeparators(kept.file());
        const QString copy = QDir::toNativeSeparators(kept.copy());
        const KeptCopy::FileState state = kept.fileState();
        if (state == KeptCopy::FileState::Earlier || state == KeptCopy::FileState::New) {
            dialogs.message(
                (state == KeptCopy::FileState::New
                     ? QCoreApplication::translate(
                           "KeptCopiesOffer",
                           "Vellox ended while saving \"%1\". The file is whole and holds its new "
                           "content, so the copy kept in \"%2\" was removed.")
                     : QCoreApplication::translate(
                           "KeptCopiesOffer",
                           "Vellox ended while saving \"%1\". The file is whole and holds its "
                           "earlier content, so the copy kept in \"%2\" was removed."))
                    .arg(file, copy));
            kept.release();
            continue;
        }
        const QString question =
            (state == KeptCopy::FileState::Gone
                 ? QCoreApplication::translate(
                       "KeptCopiesOffer",
                       "Vellox ended while saving \"%1\", and the file is gone. Its earlier "
                       "content is kept in \"%2\". Put it back?")
                 : QCoreApplication::translate(
                       "KeptCopiesOffer",
                       "Vellox ended while saving \"%1\", and the file is not whole. Its "
                       "earlier content is kept in \"%2\". Put it back?"))
                .arg(file, copy);
        if (dialogs.question(question) == Dialogs::Answer::No) {
            kept.forget();
            continue;
        }
        try {
            kept.putBack();
        } catch (const Error &e) {
            dialogs.message(
                QCoreApplication::translate("KeptCopiesOffer", "%1\n\nThe copy stays in \"%2\".")
                    .arg(e.description(), copy));
            kept.forget();
        }
    }
}
