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
        if (state != KeptCopy::FileState::Damaged) {
            // Not provably what the save left: whatever is there now may be someone's
            // later work, so the copy is only shown, never put over it.
            const QString question =
                (state == KeptCopy::FileState::Gone
                     ? QCoreApplication::translate(
                           "KeptCopiesOffer",
                           "Vellox ended while saving \"%1\", and the file is gone since. Its "
                           "content before that save is kept in \"%2\". Show the copy?")
                     : QCoreApplication::translate(
                           "KeptCopiesOffer",
                           "Vellox ended while saving \"%1\", and the file was changed since. "
                           "Its content before that save is kept in \"%2\"; the file is left as it "
                           "is. Show the copy?"))
                    .arg(file, copy);
            if (dialogs.question(question) == Dialogs::Answer::Yes)
                dialogs.showFile(kept.copy());
            kept.forget();
            continue;
        }
        const QString question =
            QCoreApplication::translate(
                "KeptCopiesOffer",
                "Vellox ended while saving \"%1\", and the file is not whole. Its "
                "earlier content is kept in \"%2\". Put it back?")
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
