#include "scene/Scene.h"

#include "scene/Blend.h"

#include "platform/Fonts.h"
#include "platform/Numeric.h"
#include "platform/QtColour.h"

#include <QPainter>

#include <algorithm>

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
    image();
    if (within.empty() || m_basePicture.size() != m_image.size() ||
        m_basePicture.format() != m_image.format()) {
        copyInto(m_basePicture, m_image);
        return;
    }
    QRegion area;
    area.setRects(within.data(), int(within.size()));
    copyWithin(m_basePicture, m_image, area);
}

void Scene::setText(Role role, const QString &text, QRectF box)
{
    Element &e = m_elements[size_t(role)];
    if (e.text == text && e.box == box)
        return;
    e.text = text;
    e.box = box;
    m_inks[size_t(role)].reset();
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
            paintOutline(painter, *it, toQColor(element(*it).outlineColour));
    }
}

std::vector<Scene::Drawn> Scene::drawnOver(QRect box) const
{
    std::vector<Drawn> drawn;
    const auto topmostFirst = stacking(m_kind);
    for (auto it = topmostFirst.rbegin(); it != topmostFirst.rend(); ++it) {
        const Element &e = element(*it);
        if (inkOf(*it).intersects(box))
            drawn.push_back(
                {*it, layoutOf(*it).isText() ? toQColor(e.textColour) : toQColor(e.outlineColour)});
    }
    return drawn;
}

QByteArray Scene::keyOf(QRect box, std::span<const Drawn> drawn) const
{
    QByteArray key;
    key.reserve(1024);
    const auto add = [&key](const auto &value) {
        key.append(reinterpret_cast<const char *>(&value), sizeof value);
    };
    add(box);
    for (const Drawn &d : drawn) {
        const Element &e = element(d.role);
        add(d.role);
        add(d.colour.rgba64());
        add(e.box);
        key.append(reinterpret_cast<const char *>(e.text.constData()),
                   e.text.size() * qsizetype(sizeof(QChar)));
        add(e.text.size());
    }
    return key;
}

QImage Scene::drawnWithin(QRect box, std::span<const Drawn> drawn) const
{
    QImage part = image().copy(box);
    // All it is drawn from: the pixels beneath, and each element over them as it is drawn.
    const QByteArray key =
        QByteArray(reinterpret_cast<const char *>(part.constBits()), part.sizeInBytes()) +
        keyOf(box, drawn);
    if (const QImage *kept = m_shownWithin.find(key))
        return *kept;
    {
        QPainter painter(&part);
        // A whole-pixel shift draws every glyph and outline as at its place in the scene.
        painter.translate(-box.topLeft());
        for (const Drawn &d : drawn) {
            if (layoutOf(d.role).isText())
                paintText(painter, d.role, d.colour);
            else
                paintOutline(painter, d.role, d.colour);
        }
    }
    m_shownWithin.keep(key, part);
    return part;
}

QImage Scene::shownWithin(QRect box, Role recoloured, const QColor &colour) const
{
    box &= image().rect();
    std::vector<Drawn> drawn = drawnOver(box);
    for (Drawn &d : drawn) {
        if (d.role == recoloured)
            d.colour = colour;
    }
    return drawnWithin(box, drawn);
}

QImage Scene::shownWithout(QRect box, Role left) const
{
    box &= image().rect();
    std::vector<Drawn> drawn = drawnOver(box);
    std::erase_if(drawn, [left](const Drawn &d) { return d.role == left; });
    return drawn.empty() ? image().copy(box) : drawnWithin(box, drawn);
}

std::vector<char> Scene::glyphsWithin(QRect box, Role role) const
{
    box &= image().rect();
    std::vector<Drawn> drawn = drawnOver(box);
    const auto own =
        std::find_if(drawn.begin(), drawn.end(), [role](const Drawn &d) { return d.role == role; });
    // Qt blends a glyph's coverage into the pixels beneath in proportion, so the pixels
    // a text shows in are the same over any pixels, and in any colour of its own: they
    // are kept by what is drawn alone. Another text's glyphs over its own blend a second
    // time, and where they nearly cover them, whether it still shows turns on the pixels
    // beneath.
    QByteArray key;
    if (own != drawn.end()) {
        own->colour = QColor();
        key = keyOf(box, drawn);
        if (const std::vector<char> *kept = m_glyphsWithin.find(key))
            return *kept;
        bool shared = false;
        if (const bool *kept = m_inkShared.find(key)) {
            shared = *kept;
        } else {
            const QRegion ink = inkOf(role) & box;
            shared = std::any_of(std::next(own), drawn.end(), [&](const Drawn &d) {
                return layoutOf(d.role).isText() && ink.intersects(inkOf(d.role));
            });
            m_inkShared.keep(key, shared);
        }
        if (shared)
            key.clear();
    }
    const QImage black = shownWithin(box, role, Qt::black);
    const QImage white = shownWithin(box, role, Qt::white);
    std::vector<char> glyphs(size_t(box.width()) * size_t(box.height()));
    for (int y = 0; y < box.height(); ++y) {
        const auto *b = reinterpret_cast<const QRgb *>(black.constScanLine(y));
        const auto *w = reinterpret_cast<const QRgb *>(white.constScanLine(y));
        for (int x = 0; x < box.width(); ++x)
            glyphs[size_t(y) * size_t(box.width()) + size_t(x)] = (b[x] ^ w[x]) & 0xFFFFFF ? 1 : 0;
    }
    if (!key.isEmpty())
        m_glyphsWithin.keep(key, glyphs);
    return glyphs;
}

std::vector<char> Scene::inkWithin(QRect box, Role role) const
{
    std::vector<char> ink(size_t(std::max(box.width(), 0)) * size_t(std::max(box.height(), 0)));
    for (const QRect &rect : inkOf(role) & box) {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            std::fill_n(ink.begin() + std::ptrdiff_t(y - box.top()) * box.width() +
                            (rect.left() - box.left()),
                        rect.width(), char(1));
    }
    return ink;
}

QImage Scene::shownImage() const
{
    QImage shown(SceneSize, QImage::Format_RGB32);
    QPainter painter(&shown);
    paint(painter);
    return shown;
}

const QRegion &Scene::inkOf(Role role) const
{
    std::optional<QRegion> &ink = m_inks[size_t(role)];
    if (ink)
        return *ink;
    // Drawn alone in black over white, in the scene image's format (Qt may draw glyphs
    // otherwise into another): each pixel its drawing touches in any colour over any
    // pixels is one it changes here. It draws within its box.
    const QRect box = pixelRect(element(role).box) & QRect(QPoint(0, 0), SceneSize);
    ink.emplace();
    if (box.isEmpty())
        return *ink;
    QImage alone(box.size(), QImage::Format_RGB32);
    alone.fill(Qt::white);
    {
        QPainter painter(&alone);
        painter.translate(-box.topLeft());
        if (layoutOf(role).isText())
            paintText(painter, role, Qt::black);
        else
            paintOutline(painter, role, Qt::black);
    }
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < box.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(alone.constScanLine(y));
        for (int x = 0; x < box.width();) {
            int run = 0;
            while (x + run < box.width() && line[x + run] != white)
                ++run;
            if (run)
                *ink += QRect(box.left() + x, box.top() + y, run, 1);
            x += std::max(run, 1);
        }
    }
    return *ink;
}

const QFont &Scene::font(Role role) const
{
    std::optional<QFont> &font = m_fonts[size_t(role)];
    if (!font)
        font = fontOf(layoutOf(role));
    return *font;
}

void Scene::paintText(QPainter &painter, Role role, const QColor &colour) const
{
    const Element &e = element(role);
    const QRect box = pixelRect(e.box);
    painter.save();
    painter.setClipRect(box);
    painter.setFont(font(role));
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, e.text);
    painter.restore();
}

void Scene::paintOutline(QPainter &painter, Role role, const QColor &colour) const
{
    // The outline covers exactly the element's pixels: its last column and row included.
    const QRect r = pixelRect(element(role).box).adjusted(0, 0, -1, -1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    if (layoutOf(role).kind == ElementKind::RoundedRectangle)
        painter.drawRoundedRect(r, CornerRadius, CornerRadius);
    else
        painter.drawRect(r);
    painter.restore();
}
