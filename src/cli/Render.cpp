#include "cli/Render.h"

#include "cli/CommandLine.h"
#include "cli/DrawingInput.h"
#include "cli/OutputFiles.h"
#include "cli/Telling.h"

#include "scene/SceneRenderer.h"

#include "colour/Vision.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/Pictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

QImage drawnScene(SceneRenderer &renderer, const CheckedSkin &skin, StillPicture &picture,
                  const CommandLine &command)
{
    renderer.setTextMode(command.text);
    renderer.redraw(skin.colours, picture);
    // A copy, not the scene image itself: the renderer draws the next skin of a batch.
    QImage image =
        renderer.scene(picture.present() ? SceneKind::Picture : SceneKind::Colour).shownImage();
    simulateVision(image, command.vision, command.severity);
    return image;
}

namespace {

// Why `folder` cannot take the pictures of a batch, or nothing.
QString notAFolder(const QString &folder)
{
    struct stat st;
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return QCoreApplication::translate("Render", "Cannot write into the folder \"%1\": %2")
            .arg(folder, systemReason(errno));
    if (!S_ISDIR(st.st_mode))
        return QCoreApplication::translate("Render", "\"%1\" is not a folder").arg(folder);
    return {};
}

// Each skin of the batch into its own picture in the folder -o names, drawn by one
// renderer over the background decoded once. A skin that cannot be drawn or written is
// said and the others still are: they do not depend on each other.
int renderSkinsInto(const CommandLine &command, const FactorySkin &factory)
{
    if (const QString problem = notAFolder(command.output); !problem.isEmpty())
        return failedCommand(problem);
    StillPicture picture;
    if (const QString problem = loadBackground(command.background, picture); !problem.isEmpty())
        return failedCommand(problem);
    SceneRenderer renderer;
    int status = 0;
    for (const QString &path : command.skins) {
        CommandLine one = command;
        one.skin = path;
        one.output = QDir(command.output).filePath(pictureNameOf(path));
        CheckedSkin skin;
        StillPicture none;
        QString problem = overwritesInput(one.output, one);
        if (problem.isEmpty())
            problem = readForDrawing(path, {}, factory, skin, none);
        QByteArray bytes;
        if (problem.isEmpty()) {
            try {
                bytes = encodePicture(drawnScene(renderer, skin, picture, one), PictureFormat::Png);
            } catch (const Error &e) {
                problem = aboutFile(skinName(path), e.description());
            }
        }
        if (problem.isEmpty()) {
            try {
                writeOutput(one.output, bytes);
            } catch (const Error &e) {
                problem = e.description();
            }
        }
        if (!problem.isEmpty())
            status = failedCommand(problem);
    }
    return status;
}

} // namespace

int renderSkin(const CommandLine &command, const FactorySkin &factory)
{
    if (!command.skins.isEmpty())
        return renderSkinsInto(command, factory);
    const QString &output = command.output;
    if (const QString problem = overwritesInput(output, command); !problem.isEmpty())
        return failedCommand(problem);

    const std::optional<PictureFormat> format = formatFor(output);
    if (!format)
        return failedCommand(unknownSuffix(output));

    CheckedSkin skin;
    StillPicture picture;
    if (const QString problem =
            readForDrawing(command.skin, command.background, factory, skin, picture);
        !problem.isEmpty())
        return failedCommand(problem);
    QByteArray bytes;
    try {
        SceneRenderer renderer;
        bytes = encodePicture(drawnScene(renderer, skin, picture, command), *format);
    } catch (const Error &e) {
        return failedCommand(aboutFile(skinName(command.skin), e.description()));
    }
    try {
        writeOutput(output, bytes);
    } catch (const Error &e) {
        return failedCommand(e.description());
    }
    return 0;
}
