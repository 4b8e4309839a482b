#include "preview/SceneAccessibility.h"

#include "preview/DrawingArea.h"
#include "preview/PreviewWindow.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// The picture scene lies over the colour scene, which is then out of sight.
bool covered(const DrawingArea *area)
{
    const QList<DrawingArea *> over =
        area ? area->findChildren<DrawingArea *>(Qt::FindDirectChildrenOnly)
             : QList<DrawingArea *>();
    return std::any_of(over.begin(), over.end(),
                       [](const DrawingArea *a) { return a->isVisible(); });
}

// One text of a scene: the scene's texts change with every drawing, so it is known by its
// place in the order they are read, and is gone when the scene shows fewer.
class SceneTextAccessible final : public QAccessibleInterface
{
public:
    SceneTextAccessible(DrawingArea *area, qsizetype place) : m_area(area), m_place(place) {}

    bool isValid() const override { return m_area && m_place < m_area->texts().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_area ? m_area->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_area);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const TextReading &r = m_area->texts().at(m_place);
        switch (t) {
        case QAccessible::Name:
            return m_area->nameOf(r);
        case QAccessible::Description:
            return m_area->toldOf(r);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect box = m_area->texts().at(m_place).box;
        return QRect(m_area->mapToGlobal(box.topLeft()), box.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid() || !m_area->isVisible() || covered(m_area)) {
            s.invisible = true;
            return s;
        }
        s.readOnly = true;
        s.focusable = true;
        s.focused = m_area->hasFocus() && m_area->cursorPlace() == m_place;
        return s;
    }

private:
    QPointer<DrawingArea> m_area;
    qsizetype m_place;
};

// A scene and its texts, which are all its children: the scene that lies over it, a child
// widget of it, is for a screen reader a child of the window, beside it. Each text's
// interface is made once it is first asked for and lives as long as the scene.
class SceneAccessible final : public QAccessibleWidget
{
public:
    explicit SceneAccessible(DrawingArea *area) : QAccessibleWidget(area, QAccessible::Graphic) {}
    ~SceneAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_texts))
            QAccessible::deleteAccessibleInterface(id);
    }

    DrawingArea *area() const { return static_cast<DrawingArea *>(widget()); }

    int textCount() const { return int(area()->texts().size()); }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        // It hands its focus on to the scene over it, which has it then, not this one.
        if (covered(area())) {
            s.invisible = true;
            s.focused = false;
        }
        return s;
    }
    int childCount() const override { return textCount(); }
    QAccessibleInterface *parent() const override
    {
        return qobject_cast<DrawingArea *>(area()->parentWidget())
                   ? QAccessible::queryAccessibleInterface(area()->window())
                   : QAccessibleWidget::parent();
    }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= textCount())
            return nullptr;
        while (m_texts.size() <= index)
            m_texts << QAccessible::registerAccessibleInterface(
                new SceneTextAccessible(area(), m_texts.size()));
        return QAccessible::accessibleInterface(m_texts[index]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const qsizetype at =
            m_texts.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child)));
        return at >= 0 && at < textCount() ? int(at) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = childCount() - 1; i >= 0; --i)
            if (QAccessibleInterface *c = child(i);
                c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        const qsizetype at = area()->cursorPlace();
        return area()->hasFocus() && !covered(area()) && at >= 0 ? child(int(at)) : nullptr;
    }

private:
    mutable QList<QAccessible::Id> m_texts;
};

// The preview window: its controls, and after them the scenes that lie over others.
class PreviewAccessible final : public QAccessibleWidget
{
public:
    explicit PreviewAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override
    {
        return QAccessibleWidget::childCount() + int(overlying().size());
    }
    QAccessibleInterface *child(int index) const override
    {
        const int own = QAccessibleWidget::childCount();
        if (index < own)
            return QAccessibleWidget::child(index);
        const QList<DrawingArea *> over = overlying();
        return index - own < over.size() ? QAccessible::queryAccessibleInterface(over[index - own])
                                         : nullptr;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        // What lies over the others is what the point shows.
        for (DrawingArea *scene : overlying())
            if (scene->isVisible() && scene->rect().contains(scene->mapFromGlobal(QPoint(x, y))))
                return QAccessible::queryAccessibleInterface(scene);
        return QAccessibleWidget::childAt(x, y);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const qsizetype at = overlying().indexOf(qobject_cast<DrawingArea *>(child->object()));
        return at >= 0 ? QAccessibleWidget::childCount() + int(at)
                       : QAccessibleWidget::indexOfChild(child);
    }

private:
    QList<DrawingArea *> overlying() const
    {
        QList<DrawingArea *> over;
        for (DrawingArea *scene : widget()->findChildren<DrawingArea *>())
            if (qobject_cast<DrawingArea *>(scene->parentWidget()))
                over << scene;
        return over;
    }
};

QAccessibleInterface *previewAccessible(const QString &className, QObject *object)
{
    if (className == "DrawingArea"_L1)
        return new SceneAccessible(static_cast<DrawingArea *>(object));
    // A window of its own with a caption: a frame, named by its caption.
    if (className == "PreviewWindow"_L1)
        return new PreviewAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installPreviewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(previewAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessibleInterface *accessibleCursorText(DrawingArea *area)
{
    QAccessibleInterface *scene = QAccessible::queryAccessibleInterface(area);
    const qsizetype at = area->cursorPlace();
    return scene && at >= 0 ? scene->child(int(at)) : nullptr;
}

void tellTextsChanged(DrawingArea *area)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *scene = QAccessible::queryAccessibleInterface(area);
    if (!scene)
        return;
    for (qsizetype i = 0; i < area->texts().size(); ++i) {
        if (QAccessibleInterface *text = scene->child(int(i))) {
            QAccessibleEvent changed(text, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&changed);
        }
    }
}
