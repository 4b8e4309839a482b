// The preview's scenes as texts to read: what each text reads like where it stands, the
// keyboard's cursor over them, and the readability tools of the scenes' menu.
#include "preview/PreviewWindow.h"

#include "preview/DrawingArea.h"
#include "preview/SceneAccessibility.h"
#include "scene/SkinDocument.h"

#include "readability/SkinSuggestion.h"
#include "readability/TellingApart.h"

#include "skin/Conversions.h"
#include "skin/SkinItems.h"
#include "skin/SkinLint.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// The figure of a text as the tooltip shows it and a screen reader speaks it.
QString PreviewWindow::figureText(const TextReading &r)
{
    const QString verdict =
        r.readsWell() ? PreviewWindow::tr("reads well") : PreviewWindow::tr("hard to read");
    // A busy background slows reading whatever the figure: said beside it.
    if (r.overBusy())
        return PreviewWindow::tr("%1: %2 %3 \u2014 %4 (%5 reads well); %6")
            .arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene), verdict,
                 contrastText(ReadsWell), busyWords(r));
    return PreviewWindow::tr("%1: %2 %3 \u2014 %4 (%5 reads well)")
        .arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene), verdict,
             contrastText(ReadsWell));
}

namespace {

// Around the scenes, between them and the controls.
constexpr int FocusRingWidth = 2;

} // namespace

Readability PreviewWindow::readability() const
{
    return Readability(m_renderer, scenesMeasured());
}

Readability::Scenes PreviewWindow::scenesMeasured() const
{
    return m_document.picture().present() ? Readability::Scenes::Both
                                          : Readability::Scenes::ColourOnly;
}

std::optional<TextReading> PreviewWindow::readingAt(const DrawingArea *scene, QPoint at) const
{
    // Where boxes overlap, the smaller box is the text under the pointer.
    std::optional<TextReading> found;
    for (const TextReading &r : scene->texts()) {
        if (r.box.contains(at) &&
            (!found || r.box.width() * r.box.height() < found->box.width() * found->box.height()))
            found = r;
    }
    return found;
}

QList<TextReading> PreviewWindow::measureTexts(const DrawingArea *scene) const
{
    QList<TextReading> texts = readability().readings();
    texts.removeIf([scene](const TextReading &r) { return r.scene != scene->scene().kind(); });
    // As they are read: line by line from the top, each line from the left. A line is where
    // the layout puts a text, not where its glyphs start: "AR" and "text color" on one line
    // start at different heights.
    std::stable_sort(texts.begin(), texts.end(), [](const TextReading &a, const TextReading &b) {
        const auto line = [](const TextReading &r) { return layoutOf(r.role).geometry.top(); };
        return std::pair(line(a), a.box.left()) < std::pair(line(b), b.box.left());
    });
    return texts;
}

bool PreviewWindow::moveTextCursor(DrawingArea *scene, int key)
{
    const QList<TextReading> &texts = scene->texts();
    const qsizetype last = texts.size() - 1, now = scene->cursorPlace();
    qsizetype next = 0;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        next = now < 0 ? 0 : qMax(now - 1, 0);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        next = now < 0 ? 0 : qMin(now + 1, last);
        break;
    case Qt::Key_Home:
        break;
    case Qt::Key_End:
        next = last;
        break;
    default:
        return false;
    }
    // At either end the cursor stays, and a screen reader is not told the same text again.
    if (next == now)
        return true;
    // Copied: placing the cursor may measure the texts anew.
    const std::optional<TextReading> text =
        texts.isEmpty() ? std::nullopt : std::optional(texts[next]);
    placeTextCursor(scene, text);
    return true;
}

// A screen reader follows the cursor: the text it comes to has the accessible focus.
void PreviewWindow::placeTextCursor(DrawingArea *scene, const std::optional<TextReading> &text)
{
    scene->setCursorText(text);
    tellCursor(scene);
}

void PreviewWindow::tellCursor(DrawingArea *scene)
{
    if (!scene->hasFocus())
        return;
    if (m_coloursToTell[scene == pictureScene]->isActive())
        tellNewColours(scene);
    if (QAccessibleInterface *text = accessibleCursorText(scene)) {
        QAccessibleEvent focused(text, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

bool PreviewWindow::onSceneKey(DrawingArea *scene, const QKeyEvent *key)
{
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
        showCursorMenu(scene);
        return true;
    }
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier ||
        !moveTextCursor(scene, key->key()))
        return false;
    scene->setKeyboardUsed(true);
    update(focusRing());
    return true;
}

// The menu of the text under the keyboard cursor, at that text.
void PreviewWindow::showCursorMenu(DrawingArea *scene)
{
    scene->setKeyboardUsed(true);
    update(focusRing());
    const QList<TextReading> texts = scene->texts();
    const qsizetype at = scene->cursorPlace();
    if (at < 0)
        showSceneMenu(scene, scene->rect().center(), std::nullopt, MenuOpenedBy::Keyboard);
    else
        showSceneMenu(scene, texts[at].box.bottomLeft(), texts[at], MenuOpenedBy::Keyboard);
}

QRegion PreviewWindow::focusRing() const
{
    const QRect scenes = colourScene->geometry();
    return QRegion(
               scenes.adjusted(-FocusRingWidth, -FocusRingWidth, FocusRingWidth, FocusRingWidth))
        .subtracted(scenes);
}

void PreviewWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    const auto *focused = qobject_cast<const DrawingArea *>(focusWidget());
    if (!focused || !focused->showsKeyboard())
        return;
    QPainter painter(this);
    for (const QRect &part : focusRing())
        painter.fillRect(part, palette().color(QPalette::Highlight));
}

QString PreviewWindow::toolTipOf(const std::optional<TextReading> &text) const
{
    // Below the text's figure, what made the colours when it has a name.
    QStringList lines{text ? figureText(*text) : QString(), m_document.origin()};
    lines.removeAll(QString());
    return lines.join(u'\n');
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != colourScene && watched != pictureScene)
        return QWidget::eventFilter(watched, event);
    auto *scene = static_cast<DrawingArea *>(watched);
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *help = static_cast<QHelpEvent *>(event);
        const std::optional<TextReading> r = readingAt(scene, help->pos());
        const QString told = toolTipOf(r);
        if (told.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), told, scene, r ? r->box : scene->rect());
        }
        return true;
    }
    case QEvent::KeyPress:
        return onSceneKey(scene, static_cast<QKeyEvent *>(event));
    case QEvent::ContextMenu:
        // The Menu key, as the system reports it.
        if (static_cast<QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Keyboard)
            return false;
        showCursorMenu(scene);
        return true;
    case QEvent::FocusIn:
        if (!scene->cursorText())
            moveTextCursor(scene, Qt::Key_Home);
        // Qt tells of the area's focus after this event; the text's focus is told after.
        QTimer::singleShot(0, scene, [this, scene] { tellCursor(scene); });
        [[fallthrough]];
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
        update(focusRing());
        return false;
    default:
        return false;
    }
}

void PreviewWindow::checkReadability()
{
    // What is shown is measured: under a simulated vision, the texts as that viewer sees
    // them, and the parts told apart by that viewer alone.
    const Readability measured(m_renderer, scenesMeasured(), m_vision);
    const QList<TextReading> hard = measured.hardToRead();
    for (DrawingArea *scene : {colourScene, pictureScene}) {
        QList<QRect> marks;
        for (const TextReading &r : hard) {
            if ((r.scene == SceneKind::Picture) == (scene == pictureScene))
                marks << r.box;
        }
        scene->setMarks(marks);
    }
    // Parts that look alike go below the texts, one line for each vision and pair.
    QStringList alike;
    const Vision shown[] = {m_vision};
    for (const PartsCompared &parts :
         compareParts(m_renderer, scenesMeasured(),
                      m_vision == Vision::Normal ? std::span<const Vision>(Visions) : shown)) {
        if (parts.looksAlike())
            alike << lookAlikeText(parts);
    }
    // Busy backgrounds before them: a text may read well by its figure and still be slow
    // to read there.
    QStringList busy;
    for (const TextReading &r : busiestOfEach(measured.readings()))
        busy << tr("%1: %2").arg(itemName(r.row), busyWords(r));
    alike = busy + alike;
    const QString parts = alike.isEmpty() ? QString() : "\r\n\r\n"_L1 + alike.join("\r\n"_L1);
    if (hard.isEmpty()) {
        // The parts that look alike, if any, follow on lines of their own.
        m_dialogs.message(tr("All texts read well: each has a contrast of %1 or more with what "
                             "lies beneath it.%2")
                              .arg(contrastText(ReadsWell), parts));
        return;
    }
    // An item whose texts stand in several places is listed once a scene, at its worst.
    QStringList lines;
    for (const TextReading &r : hardestOfEach(hard, ItemsRead::PerScene))
        lines
            << tr("%1: %2 %3").arg(itemName(r.row), contrastText(r.contrast), sceneWords(r.scene));
    m_dialogs.message(tr("These texts are hard to read (%1 reads well):\r\n%2")
                          .arg(contrastText(ReadsWell), lines.join("\r\n"_L1) + parts));
}

void PreviewWindow::offerReadableColour(const TextReading &reading)
{
    const Readability measured = readability();
    const std::optional<QRgb> colour = measured.readableColour(reading.row, reading.colour);
    if (!colour) {
        m_dialogs.message(tr("%1: %2.").arg(itemName(reading.row),
                                            measured.whatIsLeft(reading.row, reading.colour)));
        return;
    }
    const QString code = m_document.colours().at(reading.row);
    emit readableColourFound(reading.row, code.left(4) + hexColour(*colour));
}

void PreviewWindow::offerOpacity(int panel)
{
    // Where the picture beneath its texts is busy, enough is as much as calms it.
    const std::optional<int> percent =
        opaqueEnough(m_document.colours(), m_document.picture(), m_renderer.textMode(), panel,
                     scenesMeasured(), false, 0, PanelAim::ReadingCalmly);
    if (!percent) {
        m_dialogs.message(
            tr("Not every text on %1 reads well, even at 100 % opacity.").arg(itemName(panel)));
        return;
    }
    const std::optional<Components> c = colourFromCode(m_document.colours().at(panel));
    emit readableColourFound(panel, codeFromColour(std::int16_t(*percent), std::uint8_t(c->red),
                                                   std::uint8_t(c->green), std::uint8_t(c->blue)));
}

void PreviewWindow::suggestColours()
{
    ColourTable suggestion;
    try {
        suggestion = suggestSkin(m_document.picture(), m_nextSuggestion);
    } catch (const Error &e) {
        m_dialogs.message(e.description());
        return;
    }
    // The look is named where the user finds it without looking for it: in the step
    // undone, the picture scene's tooltip and what a screen reader is told of the scene.
    static const char *const looks[SuggestionCount] = {QT_TR_NOOP("light"), QT_TR_NOOP("dark"),
                                                       QT_TR_NOOP("vivid"), QT_TR_NOOP("muted")};
    const QString look = tr(looks[m_nextSuggestion - 1]);
    m_nextSuggestion = m_nextSuggestion % SuggestionCount + 1;
    emit coloursSuggested(suggestion, tr("Colours from Picture, %1 look").arg(look));
}

void PreviewWindow::setVision(Vision vision)
{
    m_vision = vision;
    colourScene->setVision(vision);
    pictureScene->setVision(vision);
}
