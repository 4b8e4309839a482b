#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QString withoutCodeset(const QString &name)
{
    return name.section(u'@', 0, 0).section(u'.', 0, 0);
}

struct Loaded
{
    QString language;
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Loaded load(const QString &folder)
{
    Loaded loaded;
    const QStringList wanted =
        Translations::wantedLanguages([](const char *name) { return qEnvironmentVariable(name); });
    for (const QString &language : wanted) {
        // The sources are English: asking for it first means them, not the next language.
        if (language == "en"_L1 || language.startsWith("en_"_L1))
            break;
        auto program = std::make_unique<QTranslator>();
        if (!program->load("vellox_"_L1 + language, folder, "_"_L1))
            continue;
        auto qt = std::make_unique<QTranslator>();
        if (qt->load("qtbase_"_L1 + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                     "_"_L1))
            loaded.qt = std::move(qt);
        loaded.program = std::move(program);
        loaded.language = language;
        break;
    }
    return loaded;
}

} // namespace

QStringList Translations::wantedLanguages(const std::function<QString(const char *)> &variable)
{
    QString locale;
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = variable(name);
        if (!locale.isEmpty())
            break;
    }
    // Nothing set is the C locale too.
    const QString base = withoutCodeset(locale);
    if (base.isEmpty() || base == "C"_L1 || base == "POSIX"_L1)
        return {};
    const QString asked = variable("LANGUAGE");
    QStringList wanted;
    for (const QString &name :
         asked.isEmpty() ? QStringList{locale} : asked.split(u':', Qt::SkipEmptyParts))
        if (const QString language = withoutCodeset(name); !language.isEmpty())
            wanted << language;
    return wanted;
}

namespace {

Loaded &loadedOnce(const QString &folder)
{
    static Loaded loaded = load(folder);
    return loaded;
}

} // namespace

QString Translations::install(const QString &folder)
{
    const Loaded &loaded = loadedOnce(folder);
    if (loaded.qt)
        QCoreApplication::installTranslator(loaded.qt.get());
    if (loaded.program)
        QCoreApplication::installTranslator(loaded.program.get());
    return loaded.language;
}

QString Translations::decimal(double value, int decimals)
{
    // The sign is one of the language's texts, so it is English wherever the words are.
    const QString sign = QCoreApplication::translate("Translations", ".", "the decimal sign");
    return (decimals < 0 ? QString::number(value) : QString::number(value, 'f', decimals))
        .replace(u'.', sign);
}

Translations::InEnglish::InEnglish()
{
    const Loaded &loaded = loadedOnce({});
    QCoreApplication::removeTranslator(loaded.program.get());
    QCoreApplication::removeTranslator(loaded.qt.get());
}

Translations::InEnglish::~InEnglish()
{
    install({});
}
