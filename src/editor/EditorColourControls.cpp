// The colour controls: a row chosen shows its colour in them, and the sliders, the code
// box and the colour box follow one another as the user sets a colour.

#include "editor/EditorWindow.h"

#include "editor/ColourBox.h"
#include "editor/EditorLayout.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"

#include "platform/Error.h"
#include "platform/Numeric.h"
#include "platform/Slider.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

constexpr DisplayColour White = 0xFFFFFF;
using EditorControls::OpacityMaximum;

} // namespace

void EditorWindow::selectRow(int row)
{
    itemList->setCurrentIndex(row);
    onItemChosen();
}

void EditorWindow::clearColourControls()
{
    codeEdit->clear();
    colourBox->setColour(White, {});
    redSlider->setValue(0);
    greenSlider->setValue(0);
    blueSlider->setValue(0);
    opacitySlider->setValue(OpacityMaximum);
}

void EditorWindow::showSliderColour()
{
    const QString code = codeFromColour(static_cast<std::int16_t>(opacitySlider->value()),
                                        static_cast<std::uint8_t>(redSlider->value()),
                                        static_cast<std::uint8_t>(greenSlider->value()),
                                        static_cast<std::uint8_t>(blueSlider->value()));
    colourBox->setColour(
        displayColour({redSlider->value(), greenSlider->value(), blueSlider->value()}),
        opacitySlider->isEnabled() ? tr("%1, opacity %2 %").arg(code).arg(opacitySlider->value())
                                   : code);
}

void EditorWindow::showComposedCode()
{
    codeEdit->setText(codeFromColour(static_cast<std::int16_t>(opacitySlider->value()),
                                     static_cast<std::uint8_t>(redSlider->value()),
                                     static_cast<std::uint8_t>(greenSlider->value()),
                                     static_cast<std::uint8_t>(blueSlider->value())));
}

void EditorWindow::onItemChosen()
{
    const int row = itemList->currentIndex();
    if (row < 0 || row >= ItemCount)
        return;
    const SkinItem &item = SkinItems[static_cast<size_t>(row)];
    if (!item.isColour())
        clearColourControls();
    if (!item.isTranslucent())
        opacitySlider->setValue(OpacityMaximum);
    opacitySlider->setEnabled(item.isTranslucent());

    const QString &code = m_document.colours().at(row);
    if (code.isEmpty())
        return;
    std::optional<Components> parts;
    try {
        parts = colourFromCode(code);
    } catch (const Error &) {
        // A code that is not a colour shows as a row without one; it stays in the table.
        clearColourControls();
        return;
    }
    opacitySlider->setValue(parts->opacity);
    redSlider->setValue(parts->red);
    greenSlider->setValue(parts->green);
    blueSlider->setValue(parts->blue);
    showSliderColour();
    showComposedCode();
}

void EditorWindow::onCodeEdited()
{
    // Lenient on purpose: whatever the box holds, half-typed or not a code at all, moves
    // the sliders as far as it can be read.
    const QString text = codeEdit->text();
    if (opacitySlider->isEnabled())
        opacitySlider->setValue(opacityPercent(mid1(text, 3, 2)));
    redSlider->setValue(lenientHex(mid1(text, 5, 2)));
    greenSlider->setValue(lenientHex(mid1(text, 7, 2)));
    blueSlider->setValue(lenientHex(mid1(text, 9, 2)));
    showSliderColour();
}

void EditorWindow::onColourSliderMoved()
{
    showSliderColour();
    showComposedCode();
}

void EditorWindow::onOpacitySliderMoved()
{
    showSliderColour();
    showComposedCode();
}

void EditorWindow::onColourBoxActivated()
{
    const int row = itemList->currentIndex();
    if (row < 0 || row >= ItemCount || !SkinItems[static_cast<size_t>(row)].isColour())
        return;
    const bool translucent = SkinItems[static_cast<size_t>(row)].isTranslucent();
    const QColor initial(
        redSlider->value(), greenSlider->value(), blueSlider->value(),
        static_cast<int>(opacityByte(static_cast<std::int16_t>(opacitySlider->value()))));
    Dialogs::ColourRequest request{
        tr("Colour of %1").arg(shownLabel(SkinItems[static_cast<size_t>(row)]))};
    if (translucent) {
        request.percentOf = [](int alpha) {
            return opacityPercent(QString::number(alpha, 16).rightJustified(2, u'0'));
        };
        request.alphaOf = [](int percent) {
            return int(opacityByte(static_cast<std::int16_t>(percent)));
        };
    }
    const std::optional<QColor> chosen = m_dialogs.colour(initial, request);
    if (!chosen)
        return;
    // An opaque item keeps the opacity digits it shows.
    const int opacity = translucent ? chosen->alpha() : initial.alpha();
    codeEdit->setText(codeFromBytes(
        static_cast<std::uint8_t>(opacity), static_cast<std::uint8_t>(chosen->red()),
        static_cast<std::uint8_t>(chosen->green()), static_cast<std::uint8_t>(chosen->blue())));
}
