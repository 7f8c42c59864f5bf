#include "platform/MemoryDeviceContext.h"

#include "platform/CBitmap.h"

MemoryDeviceContext::MemoryDeviceContext(int pixelsPerInch)
    : m_pixelsPerInch(pixelsPerInch), m_selected(&StockBitmap()), m_pixels(StockBitmap().Pixels())
{
}

int MemoryDeviceContext::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return m_pixelsPerInch;
    case HORZRES:
        return m_pixels.width();
    case VERTRES:
        return m_pixels.height();
    default:
        return 0;
    }
}

CBitmap* MemoryDeviceContext::SelectBitmap(CBitmap* bitmap)
{
    if (!bitmap || bitmap->IsNull())
        return nullptr;
    CBitmap* previous = m_selected;
    m_selected = bitmap;
    m_pixels = bitmap->Pixels();
    return previous;
}

QImage MemoryDeviceContext::SelectedPixels() const
{
    return m_pixels;
}

CBitmap& MemoryDeviceContext::StockBitmap()
{
    static CBitmap stock = [] {
        QImage pixel(1, 1, QImage::Format_Grayscale8);
        pixel.fill(0);
        CBitmap bitmap;
        bitmap.Attach(pixel);
        return bitmap;
    }();
    return stock;
}
