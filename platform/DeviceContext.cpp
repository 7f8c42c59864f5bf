#include "platform/DeviceContext.h"

#include "platform/MemoryDeviceContext.h"

DeviceContext::~DeviceContext() = default;

int DeviceContext::StartDoc(const DOCINFO&)
{
    return SP_ERROR;
}

int DeviceContext::StartPage()
{
    return SP_ERROR;
}

int DeviceContext::EndPage()
{
    return SP_ERROR;
}

int DeviceContext::EndDoc()
{
    return SP_ERROR;
}

int DeviceContext::AbortDoc()
{
    return SP_ERROR;
}

std::unique_ptr<DeviceContext> DeviceContext::CreateCompatible() const
{
    return std::make_unique<MemoryDeviceContext>(GetDeviceCaps(LOGPIXELSX));
}

CBitmap* DeviceContext::SelectBitmap(CBitmap*)
{
    return nullptr;
}

QImage DeviceContext::SelectedPixels() const
{
    return {};
}

bool DeviceContext::StretchJpeg(const QRect&, const QByteArray&)
{
    return false;
}

bool DeviceContext::StretchBlt(const QRect&, const QImage&, const QRect&, std::uint32_t)
{
    return false;
}
