#include "scene/Scene.h"

#include "platform/Fonts.h"
#include "platform/Numeric.h"
#include "platform/QtColour.h"

#include <QPainter>

#include <cstring>

namespace {

constexpr double CornerRadius = 4.0;

int whole(double v)
{
    return static_cast<int>(roundHalfEven(v));
}

} // namespace

QFont fontOf(const ElementLayout &layout)
{
    return layoutFont(layout.pixelSize,
                      layout.weight == Weight::Bold ? QFont::Bold : QFont::Normal);
}

QRect pixelRect(const QRectF &box)
{
    return {whole(box.left()), whole(box.top()), whole(box.width()), whole(box.height())};
}

Scene::Scene(SceneKind kind) : m_kind(kind)
{
    for (const ElementLayout &layout : sceneLayout())
        m_elements[size_t(layout.role)].box = layout.geometry;
}

const QImage &Scene::image() const
{
    if (m_image.isNull()) {
        m_image = QImage(SceneSize, QImage::Format_RGB32);
        m_image.fill(Qt::white);
    }
    return m_image;
}

void Scene::draw(const std::function<void(QImage &)> &drawing)
{
    image();
    drawing(m_image);
    emit changed();
}

void Scene::snapshot(std::span<const QRect> within)
{
    // Into the picture kept from the last snapshot where it fits: a redraw then costs
    // no memory of its own.
    image();
    if (m_basePicture.size() != m_image.size() || m_basePicture.format() != m_image.format() ||
        !m_basePicture.isDetached() || !m_image.isDetached())
        m_basePicture = m_image.copy();
    else if (within.empty())
        std::memcpy(m_basePicture.bits(), m_image.constBits(), size_t(m_image.sizeInBytes()));
    const int bytes = m_image.depth() / 8;
    for (QRect area : within) {
        area &= m_image.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memcpy(m_basePicture.scanLine(y) + area.left() * bytes,
                        m_image.constScanLine(y) + area.left() * bytes,
                        size_t(area.width() * bytes));
    }
}

void Scene::setText(Role role, const QString &text, QRectF box)
{
    Element &e = m_elements[size_t(role)];
    if (e.text == text && e.box == box)
        return;
    e.text = text;
    e.box = box;
    emit changed();
}

void Scene::setTextColour(Role role, DisplayColour colour)
{
    Element &e = m_elements[size_t(role)];
    if (std::exchange(e.textColour, colour) != colour)
        emit changed();
}

void Scene::setFillColour(Role role, DisplayColour colour)
{
    m_elements[size_t(role)].fillColour = colour;
}

void Scene::setOutlineColour(Role role, DisplayColour colour)
{
    Element &e = m_elements[size_t(role)];
    if (std::exchange(e.outlineColour, colour) != colour)
        emit changed();
}

void Scene::paint(QPainter &painter) const
{
    painter.drawImage(0, 0, image());
    paintElements(painter);
}

QImage Scene::takeShownImage()
{
    image();
    QImage shown = std::exchange(m_image, QImage());
    QPainter painter(&shown);
    paintElements(painter);
    return shown;
}

void Scene::paintElements(QPainter &painter) const
{
    const auto topmostFirst = stacking(m_kind);
    for (auto it = topmostFirst.rbegin(); it != topmostFirst.rend(); ++it) {
        if (layoutOf(*it).isText())
            paintText(painter, *it, toQColor(element(*it).textColour));
        else
            paintOutline(painter, *it);
    }
}

QImage Scene::shownWithin(QRect box, Role recoloured, const QColor &colour) const
{
    box &= image().rect();
    QImage part = image().copy(box);
    // All it is drawn from: the pixels beneath, and each element over them as it is drawn.
    QByteArray key;
    key.reserve(part.sizeInBytes() + 1024);
    key.append(reinterpret_cast<const char *>(part.constBits()), part.sizeInBytes());
    const auto add = [&key](const auto &value) {
        key.append(reinterpret_cast<const char *>(&value), sizeof value);
    };
    add(box);
    const auto topmostFirst = stacking(m_kind);
    std::vector<std::pair<Role, QColor>> over;
    for (auto it = topmostFirst.rbegin(); it != topmostFirst.rend(); ++it) {
        const Element &e = element(*it);
        if (!pixelRect(e.box).intersects(box))
            continue;
        const bool text = layoutOf(*it).isText();
        over.emplace_back(*it, !text               ? toQColor(e.outlineColour)
                               : *it == recoloured ? colour
                                                   : toQColor(e.textColour));
        add(*it);
        add(over.back().second.rgba64());
        add(e.box);
        key.append(reinterpret_cast<const char *>(e.text.constData()),
                   e.text.size() * qsizetype(sizeof(QChar)));
        add(e.text.size());
    }
    if (const auto kept = m_shownWithin.constFind(key); kept != m_shownWithin.cend())
        return *kept;
    {
        QPainter painter(&part);
        // A whole-pixel shift draws every glyph and outline as at its place in the scene.
        painter.translate(-box.topLeft());
        for (const auto &[role, shade] : over) {
            if (layoutOf(role).isText())
                paintText(painter, role, shade);
            else
                paintOutline(painter, role);
        }
    }
    constexpr size_t Kept = 64;
    if (m_shownOrder.size() < Kept) {
        m_shownOrder.push_back(key);
    } else {
        m_shownWithin.remove(std::exchange(m_shownOrder[m_shownNext], key));
        m_shownNext = (m_shownNext + 1) % Kept;
    }
    m_shownWithin.insert(key, part);
    return part;
}

QImage Scene::shownImage() const
{
    QImage shown(SceneSize, QImage::Format_RGB32);
    QPainter painter(&shown);
    paint(painter);
    return shown;
}

void Scene::paintText(QPainter &painter, Role role, const QColor &colour) const
{
    const ElementLayout &layout = layoutOf(role);
    const Element &e = element(role);
    const QRect box = pixelRect(e.box);
    painter.save();
    painter.setClipRect(box);
    painter.setFont(fontOf(layout));
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, e.text);
    painter.restore();
}

void Scene::paintOutline(QPainter &painter, Role role) const
{
    // The outline covers exactly the element's pixels: its last column and row included.
    const QRect r = pixelRect(element(role).box).adjusted(0, 0, -1, -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(toQColor(element(role).outlineColour), 1));
    painter.setBrush(Qt::NoBrush);
    if (layoutOf(role).kind == ElementKind::RoundedRectangle)
        painter.drawRoundedRect(r, CornerRadius, CornerRadius);
    else
        painter.drawRect(r);
    painter.restore();
}
