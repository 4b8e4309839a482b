#include "shell/Render.h"

#include "shell/CommandLine.h"
#include "shell/SkinCheck.h"

#include "scene/SceneRenderer.h"

#include "colour/Vision.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The formats --render writes, by the suffix that asks for each.
constexpr std::pair<QLatin1StringView, PictureFormat> Suffixes[] = {
    {"png"_L1, PictureFormat::Png},
    {"bmp"_L1, PictureFormat::Bmp},
    {"jpg"_L1, PictureFormat::Jpeg},
    {"jpeg"_L1, PictureFormat::Jpeg},
};

// The picture format an output's name asks for: PNG without a suffix (standard output, a
// device, a pipe, a plain name).
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

} // namespace

QString choices(const QStringList &names)
{
    return names.size() < 2 ? names.value(0)
                            : names.mid(0, names.size() - 1).join(", "_L1) +
                                  QCoreApplication::translate("Render", " or ") + names.constLast();
}

QStringList pictureSuffixes()
{
    QStringList names;
    for (const auto &[name, format] : Suffixes)
        names << u'.' + name;
    return names;
}

int failedCommand(const QString &what)
{
    std::fprintf(stderr, "vellox: %s\n", qPrintable(what));
    return 1;
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

int renderSkin(const CommandLine &command, const FactorySkin &factory)
{
    const QString &output = command.output;
    if (const QString problem = overwritesInput(output, command); !problem.isEmpty())
        return failedCommand(problem);

    const std::optional<PictureFormat> format = formatFor(output);
    if (!format)
        return failedCommand(
            QCoreApplication::translate(
                "Render",
                "%1: Vellox writes pictures as %2 (or PNG for a name without a suffix), not as "
                ".%3; nothing was written")
                .arg(output, choices(pictureSuffixes()), QFileInfo(output).suffix()));

    CheckedSkin skin;
    StillPicture picture;
    if (const QString problem =
            readForDrawing(command.skin, command.background, factory, skin, picture);
        !problem.isEmpty())
        return failedCommand(problem);
    QByteArray bytes;
    try {
        SceneRenderer renderer;
        renderer.setTextMode(command.text);
        renderer.redraw(skin.colours, picture);
        const SceneKind shown = picture.present() ? SceneKind::Picture : SceneKind::Colour;
        QImage image = renderer.takeShownImage(shown);
        simulateVision(image, command.vision);
        bytes = encodePicture(image, *format);
    } catch (const Error &e) {
        return failedCommand(skinName(command.skin) + ": "_L1 + e.description());
    }
    try {
        writeOutput(output, bytes);
    } catch (const Error &e) {
        return failedCommand(output + ": "_L1 + e.description());
    }
    return 0;
}
