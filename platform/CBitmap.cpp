#include "platform/CBitmap.h"

#include <utility>

bool CBitmap::Attach(QImage pixels)
{
    if (pixels.isNull() || !m_pixels.isNull())
        return false;
    m_pixels = std::move(pixels);
    return true;
}

QImage CBitmap::Detach()
{
    return std::exchange(m_pixels, QImage());
}

bool CBitmap::DeleteObject()
{
    if (m_pixels.isNull())
        return false;
    m_pixels = QImage();
    return true;
}

int CBitmap::GetBitmap(BITMAP* header) const
{
    if (m_pixels.isNull() || !header)
        return 0;
    header->bmType = 0;
    header->bmWidth = m_pixels.width();
    header->bmHeight = m_pixels.height();
    header->bmWidthBytes = static_cast<int>(m_pixels.bytesPerLine());
    header->bmPlanes = 1;
    header->bmBitsPixel = m_pixels.depth();
    return static_cast<int>(sizeof(BITMAP));
}
