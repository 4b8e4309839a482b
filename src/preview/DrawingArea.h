#pragma once

#include "readability/Readability.h"
#include "scene/SceneLayout.h"

#include "colour/Vision.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class Scene;

// Shows a scene of the preview: its image with its elements over it, repainted when
// the scene changes, as a viewer of `vision` sees it. Marks (dashed frames that are not
// part of the scene) show over it until the scene is redrawn or clicked. A keyboard cursor
// (a dotted frame around one text) shows while the area has the focus and the keyboard
// was used last; the mouse hides it again.
class DrawingArea : public QWidget
{
    Q_OBJECT

public:
    DrawingArea(const char *name, const Scene &scene, QWidget *parent);

    const Scene &scene() const { return m_scene; }
    const QImage &image() const;
    // What the area shows of the scene, marks left out: for saving and copying.
    QImage shownImage() const;

    Vision vision() const { return m_vision; }
    void setVision(Vision vision);
    const QList<QRect> &marks() const { return m_marks; }
    void setMarks(const QList<QRect> &marks);
    // The text under the keyboard cursor, if any, as it was measured when the cursor came
    // to it; its box is where the cursor shows.
    const std::optional<TextReading> &cursorText() const { return m_cursorText; }
    void setCursorText(const std::optional<TextReading> &text);
    // The texts the area shows, in the order they are read, as `measure` gives them: measured
    // once for each drawing of the scene, however often the keyboard or a screen reader asks.
    void setTextsMeasuredBy(std::function<QList<TextReading>()> measure);
    const QList<TextReading> &texts() const;
    // What a screen reader calls each text, the item's name as the list shows it, and
    // what it tells of it, as the tooltip does.
    void setTextsToldBy(std::function<QString(const TextReading &)> name,
                        std::function<QString(const TextReading &)> told);
    QString nameOf(const TextReading &text) const { return m_nameOf(text); }
    QString toldOf(const TextReading &text) const { return m_toldOf(text); }
    // Where among texts() the keyboard cursor stands; -1 when on none of them.
    qsizetype cursorPlace() const;

    // Whether the keyboard's focus and cursor are shown: the area has the focus, reached
    // or last used by the keyboard.
    bool showsKeyboard() const { return hasFocus() && m_keyboardUsed; }
    void setKeyboardUsed(bool used);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    const Scene &m_scene;
    Vision m_vision = Vision::Normal;
    QList<QRect> m_marks;
    std::optional<TextReading> m_cursorText;
    std::function<QList<TextReading>()> m_measure;
    mutable std::optional<QList<TextReading>> m_texts;
    std::function<QString(const TextReading &)> m_nameOf, m_toldOf;
    bool m_keyboardUsed = false;
};
