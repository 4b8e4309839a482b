#include "cli/Gallery.h"

#include "cli/CommandLine.h"
#include "cli/DrawingInput.h"
#include "cli/OutputFiles.h"
#include "cli/Render.h"
#include "cli/Telling.h"

#include "scene/BackgroundPicture.h"
#include "scene/SceneRenderer.h"

#include "platform/CommandOutput.h"
#include "platform/Error.h"
#include "platform/Fonts.h"

#include <QCoreApplication>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

namespace {

// Around and between the scenes, and the strip below each for its name.
constexpr int Margin = 8, CaptionHeight = 24;

} // namespace

QRect galleryScene(int index)
{
    return {Margin + index % GalleryColumns * (SceneSize.width() + Margin),
            Margin + index / GalleryColumns * (SceneSize.height() + CaptionHeight + Margin),
            SceneSize.width(), SceneSize.height()};
}

int drawGallery(const CommandLine &command, const FactorySkin &factory)
{
    const QString &output = command.output;
    for (const QString &skin : command.skins) {
        CommandLine one = command;
        one.skin = skin;
        if (const QString problem = overwritesInput(output, one); !problem.isEmpty())
            return failedCommand(problem);
    }
    const std::optional<PictureFormat> format = formatFor(output);
    if (!format)
        return failedCommand(unknownSuffix(output));
    StillPicture picture;
    if (const QString problem = loadBackground(command.background, picture); !problem.isEmpty())
        return failedCommand(problem);

    const auto count = int(command.skins.size());
    const QRect last = galleryScene(count - 1);
    const int columns = std::min(count, GalleryColumns);
    QImage sheet(galleryScene(columns - 1).right() + 1 + Margin,
                 last.bottom() + 1 + CaptionHeight + Margin, QImage::Format_RGB32);
    if (sheet.isNull())
        return failedCommand(QCoreApplication::translate("Gallery",
                                                         "%1: %2 scenes make too large a picture; "
                                                         "nothing was written")
                                 .arg(output)
                                 .arg(count));
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(layoutFont(12));
    painter.setPen(Qt::black);
    SceneRenderer renderer;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        const QString &path = command.skins[i];
        CheckedSkin skin;
        StillPicture none;
        QString problem = readForDrawing(path, {}, factory, skin, none);
        if (problem.isEmpty()) {
            try {
                painter.drawImage(galleryScene(i).topLeft(),
                                  drawnScene(renderer, skin, picture, command));
            } catch (const Error &e) {
                problem = aboutFile(skinName(path), e.description());
            }
        }
        if (!problem.isEmpty()) {
            failedCommand(problem);
            ++failed;
            continue;
        }
        const QRect caption(galleryScene(i).bottomLeft() + QPoint(4, 1),
                            QSize(SceneSize.width() - 8, CaptionHeight - 1));
        // Named as the command line names it, folders included, so that two skins of one
        // name in different folders are told apart.
        painter.drawText(
            caption, Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(skinName(path), Qt::ElideMiddle, caption.width()));
    }
    painter.end();
    if (failed > 0)
        return failedCommand(
            QCoreApplication::translate("Gallery", "%1: %2 of %3 skins cannot be drawn; nothing "
                                                   "was written")
                .arg(output)
                .arg(failed)
                .arg(count));
    try {
        writeOutput(output, encodePicture(sheet, *format));
    } catch (const Error &e) {
        return failedCommand(e.description());
    }
    return 0;
}
