#include "scene/BackgroundPicture.h"

const QImage &StillPicture::stretchedTo(QSize size)
{
    if (m_stretched.size() != size)
        m_stretched = m_picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    return m_stretched;
}
