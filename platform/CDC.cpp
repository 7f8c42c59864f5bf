#include "platform/CDC.h"

#include "platform/ScreenDeviceContext.h"

#include <utility>

CDC::~CDC()
{
    DeleteDC();
}

bool CDC::Attach(std::unique_ptr<DeviceContext> device)
{
    if (!device || m_device)
        return false;
    m_device = std::move(device);
    m_inDoc = false;
    return true;
}

std::unique_ptr<DeviceContext> CDC::Detach()
{
    m_inDoc = false;
    return std::move(m_device);
}

bool CDC::DeleteDC()
{
    if (!m_device)
        return false;
    if (m_inDoc)
        m_device->AbortDoc();
    m_inDoc = false;
    m_device.reset();
    return true;
}

bool CDC::CreateCompatibleDC(CDC* other)
{
    if (m_device)
        return false;
    std::unique_ptr<DeviceContext> memory;
    if (other && other->m_device)
        memory = other->m_device->CreateCompatible();
    else if (const std::unique_ptr<DeviceContext> screen = GetDC(nullptr))
        memory = screen->CreateCompatible();
    return Attach(std::move(memory));
}

int CDC::StartDoc(const DOCINFO* info)
{
    if (!m_device || !info)
        return SP_ERROR;
    const int result = m_device->StartDoc(*info);
    m_inDoc = result > 0;
    return result;
}

int CDC::StartPage()
{
    return m_device ? m_device->StartPage() : SP_ERROR;
}

int CDC::EndPage()
{
    return m_device ? m_device->EndPage() : SP_ERROR;
}

int CDC::EndDoc()
{
    if (!m_device)
        return SP_ERROR;
    m_inDoc = false;
    return m_device->EndDoc();
}

int CDC::AbortDoc()
{
    if (!m_device)
        return SP_ERROR;
    m_inDoc = false;
    return m_device->AbortDoc();
}

int CDC::GetDeviceCaps(int index) const
{
    return m_device ? m_device->GetDeviceCaps(index) : 0;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return m_device ? m_device->SelectBitmap(bitmap) : nullptr;
}

bool CDC::StretchJpeg(int x, int y, int width, int height, const QByteArray& jpeg)
{
    return m_device && !jpeg.isEmpty() && m_device->StretchJpeg(QRect(x, y, width, height), jpeg);
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                     int sourceWidth, int sourceHeight, std::uint32_t rop)
{
    if (!m_device || !source || !source->m_device)
        return false;
    const QImage pixels = source->m_device->SelectedPixels();
    if (pixels.isNull())
        return false;
    return m_device->StretchBlt(QRect(x, y, width, height), pixels,
                                QRect(xSource, ySource, sourceWidth, sourceHeight), rop);
}
