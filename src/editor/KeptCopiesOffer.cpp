#include "editor/KeptCopiesOffer.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "platform/KeptCopy.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

void offerKeptCopies(Dialogs &dialogs)
{
    for (const KeptCopy &kept : KeptCopy::found()) {
        const QString saving =
            u"Vellox ended while saving \""_s + QDir::toNativeSeparators(kept.file()) + u'"';
        const QString copy = u'"' + QDir::toNativeSeparators(kept.copy()) + u'"';
        const KeptCopy::FileState state = kept.fileState();
        if (state == KeptCopy::FileState::Earlier || state == KeptCopy::FileState::New) {
            dialogs.message(saving + u". The file is whole and holds its "_s +
                            (state == KeptCopy::FileState::New ? u"new"_s : u"earlier"_s) +
                            u" content, so the copy kept in "_s + copy + u" was removed."_s);
            kept.release();
            continue;
        }
        const QString question =
            saving +
            (state == KeptCopy::FileState::Gone ? u", and the file is gone."_s
                                                : u", and the file is not whole."_s) +
            u" Its earlier content is kept in "_s + copy + u". Put it back?"_s;
        if (dialogs.question(question) == Dialogs::Answer::No) {
            kept.forget();
            continue;
        }
        try {
            kept.putBack();
        } catch (const Error &e) {
            dialogs.message(e.description() + u"\n\nThe copy stays in "_s + copy + u'.');
            kept.forget();
        }
    }
}
