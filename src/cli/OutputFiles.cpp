#include "cli/OutputFiles.h"

#include "cli/CommandLine.h"
#include "cli/Telling.h"

#include "platform/Files.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

// The formats --render writes, by the suffix that asks for each.
constexpr std::pair<QLatin1StringView, PictureFormat> Suffixes[] = {
    {"png"_L1, PictureFormat::Png},
    {"bmp"_L1, PictureFormat::Bmp},
    {"jpg"_L1, PictureFormat::Jpeg},
    {"jpeg"_L1, PictureFormat::Jpeg},
};

} // namespace

std::optional<PictureFormat> formatFor(const QString &output)
{
    const QString suffix = output == "-"_L1 ? QString() : QFileInfo(output).suffix().toLower();
    if (suffix.isEmpty())
        return PictureFormat::Png;
    for (const auto &[name, format] : Suffixes) {
        if (suffix == name)
            return format;
    }
    return std::nullopt;
}

QString unknownSuffix(const QString &output)
{
    return QCoreApplication::translate(
               "Render",
               "%1: Vellox writes pictures as %2 (or PNG for a name without a suffix), not as "
               ".%3; nothing was written")
        .arg(output, choices(pictureSuffixes()), QFileInfo(output).suffix());
}

QStringList pictureSuffixes()
{
    QStringList names;
    for (const auto &[name, format] : Suffixes)
        names << u'.' + name;
    return names;
}

QString overwritesInput(const QString &output, const CommandLine &command)
{
    for (const auto &[input, message] :
         {std::pair{command.skin,
                    QT_TRANSLATE_NOOP("Render",
                                      "%1: this is the skin \"%2\" itself; nothing was written")},
          std::pair{command.background,
                    QT_TRANSLATE_NOOP(
                        "Render", "%1: this is the picture \"%2\" itself; nothing was written")}}) {
        if (output != "-"_L1 && input != "-"_L1 && sameFile(output, input))
            return QCoreApplication::translate("Render", message).arg(output, input);
    }
    return {};
}

QString pictureNameOf(const QString &skin)
{
    const QFileInfo file(skin);
    return (file.completeBaseName().isEmpty() ? file.fileName() : file.completeBaseName()) +
           ".png"_L1;
}
