#pragma once

#include <QImage>

// The picture behind the picture scene, read at the moment the scene is drawn.
class BackgroundPicture
{
public:
    virtual ~BackgroundPicture() = default;
    // Whether there is a picture to draw.
    virtual bool present() const = 0;
    // The picture stretched to `size`. Throws Error when it cannot be read.
    virtual const QImage &stretchedTo(QSize size) = 0;
};

// A picture held in memory, or none.
class StillPicture final : public BackgroundPicture
{
public:
    StillPicture() = default;
    explicit StillPicture(QImage picture) : m_picture(std::move(picture)) {}
    bool present() const override { return !m_picture.isNull(); }
    const QImage &stretchedTo(QSize size) override;

private:
    QImage m_picture;
    QImage m_stretched;
};
