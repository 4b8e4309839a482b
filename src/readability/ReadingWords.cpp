#include "readability/Readability.h"

#include "skin/SkinItems.h"

#include "platform/Translations.h"

#include <QCoreApplication>

#include <cmath>

// What the figures of texts are told in: the words of --check, Check Readability and the
// hover.

QString leverWords(Role text, SceneKind scene)
{
    const int panel = panelBeneath(text);
    if (panel >= 0)
        return QCoreApplication::translate("Readability", "raise \"%1\"'s opacity")
            .arg(shownLabel(SkinItems[size_t(panel)]));
    return scene == SceneKind::Colour
               ? QCoreApplication::translate("Readability", "change the gradient")
               : QCoreApplication::translate("Readability", "the text lies on the bare picture");
}

QString busyWords(const TextReading &reading)
{
    const QString lever =
        panelBeneath(reading.role) >= 0 ? leverWords(reading.role, reading.scene)
        : reading.role == Role::TitleText && !reading.shadowAcross
            ? QCoreApplication::translate("Readability",
                                          "give \"%1\" the tone opposite the title's")
                  .arg(shownLabel(SkinItems[size_t(Row::Shadow)]))
            : QCoreApplication::translate("Readability", "only the picture itself calms it");
    return QCoreApplication::translate("Readability",
                                       "busy background %1 (RMS contrast %2; %3 slows reading): %4")
        .arg(sceneWords(reading.scene), Translations::decimal(reading.busy, 2),
             Translations::decimal(BusyBackground, 2), lever);
}

QString hexColour(QRgb colour)
{
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QString contrastText(double contrast)
{
    return Translations::decimal(std::floor(contrast * 10) / 10, 1) + QStringLiteral(":1");
}

QString sceneWords(SceneKind scene)
{
    return scene == SceneKind::Colour
               ? QCoreApplication::translate("Readability", "on the gradient")
               : QCoreApplication::translate("Readability", "on the picture");
}
