#include "preview/DrawingArea.h"

#include "scene/Scene.h"

#include <QFocusEvent>
#include <QPainter>

#include <algorithm>

DrawingArea::DrawingArea(const char *name, const Scene &scene, QWidget *parent)
    : QWidget(parent), m_scene(scene)
{
    setObjectName(QLatin1String(name));
    setFixedSize(SceneSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Reached by Tab only: a click leaves the focus where the user had it.
    setFocusPolicy(Qt::TabFocus);
    // A redraw shows the scene anew, without the marks made for the last one.
    connect(&scene, &Scene::changed, this, [this] {
        m_texts.reset();
        setMarks({});
    });
}

const QImage &DrawingArea::image() const
{
    return m_scene.image();
}

QImage DrawingArea::shownImage() const
{
    QImage shown = m_scene.shownImage();
    simulateVision(shown, m_vision);
    return shown;
}

void DrawingArea::setVision(Vision vision)
{
    m_vision = vision;
    update();
}

void DrawingArea::setMarks(const QList<QRect> &marks)
{
    m_marks = marks;
    update();
}

void DrawingArea::setCursorText(const std::optional<TextReading> &text)
{
    m_cursorText = text;
    update();
}

void DrawingArea::setTextsMeasuredBy(std::function<QList<TextReading>()> measure)
{
    m_measure = std::move(measure);
    m_texts.reset();
}

const QList<TextReading> &DrawingArea::texts() const
{
    if (!m_texts)
        m_texts = m_measure ? m_measure() : QList<TextReading>();
    return *m_texts;
}

void DrawingArea::setTextsToldBy(std::function<QString(const TextReading &)> name,
                                 std::function<QString(const TextReading &)> told)
{
    m_nameOf = std::move(name);
    m_toldOf = std::move(told);
}

qsizetype DrawingArea::cursorPlace() const
{
    // An element's groups of words are texts of their own: the two section labels are one
    // element, and the cursor stands on one of them.
    if (!m_cursorText)
        return -1;
    const QList<TextReading> &all = texts();
    const auto at = std::find_if(all.begin(), all.end(), [this](const TextReading &r) {
        return r.role == m_cursorText->role && r.part == m_cursorText->part;
    });
    return at == all.end() ? -1 : at - all.begin();
}

void DrawingArea::setKeyboardUsed(bool used)
{
    m_keyboardUsed = used;
    update();
}

void DrawingArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_vision == Vision::Normal)
        m_scene.paint(painter);
    else
        painter.drawImage(0, 0, shownImage());
    // Dashed in black over white, so that a mark shows on any colour.
    for (const QRect &mark : std::as_const(m_marks)) {
        const QRect frame = mark.adjusted(-2, -2, 1, 1);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(frame);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(frame);
    }
    if (showsKeyboard() && m_cursorText && !m_cursorText->box.isEmpty()) {
        const QRect frame = m_cursorText->box.adjusted(-3, -3, 2, 2);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(frame);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(frame);
    }
}

void DrawingArea::mousePressEvent(QMouseEvent *event)
{
    m_keyboardUsed = false;
    setMarks({});
    QWidget::mousePressEvent(event);
}

// Reached by Tab, the area shows where the keyboard is; clicked, it shows nothing more. A
// window or menu giving the focus back leaves it as it was.
void DrawingArea::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
        event->reason() == Qt::ShortcutFocusReason)
        m_keyboardUsed = true;
    else if (event->reason() == Qt::MouseFocusReason)
        m_keyboardUsed = false;
    QWidget::focusInEvent(event);
}
