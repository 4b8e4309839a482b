#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The program's texts in the user's language. The sources are English; any other language
// comes from a compiled catalogue built into the program, with Qt's own for its dialogs.
namespace Translations {

// The languages the user asked for, best first, read as gettext reads them: LANGUAGE, a
// colon list, unless the locale (LC_ALL, else LC_MESSAGES, else LANG) is C or POSIX, which
// asks for the texts exactly as written; else the locale itself. Codesets and modifiers are
// dropped ("de_DE.UTF-8@euro" is "de_DE"). `variable` reads the environment.
QStringList wantedLanguages(const std::function<QString(const char *)> &variable);

// Loads, once, the first wanted language that has a catalogue in `folder`, among the
// program's resources or on the disk (or English, which needs none), with Qt's catalogue
// of the same language, and installs both in the running application; an application made
// later calls this again. Returns the language loaded, or nothing for English.
QString install(const QString &folder);

// `value` with `decimals` places (as few as it needs when negative) and the decimal sign of
// the language its text is in ("4.5" in English, "4,5" in German), so that a figure reads
// as the words around it.
QString decimal(double value, int decimals);

// For as long as it lives, every text is in English, as the sources write it: for what
// goes into files, which are the same bytes whatever the language.
class InEnglish
{
public:
    InEnglish();
    ~InEnglish();
    InEnglish(const InEnglish &) = delete;
    InEnglish &operator=(const InEnglish &) = delete;
};

} // namespace Translations
