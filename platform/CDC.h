#pragma once

#include "platform/DeviceContext.h"

#include <memory>

class CBitmap;

// A device context object (MFC's CDC): owns one DeviceContext and frees it
// in DeleteDC or at its end, so no path leaves a device open. Calls on an
// object that holds none fail as GDI's do on a null handle.
class CDC
{
public:
    CDC() = default;
    ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    bool Attach(std::unique_ptr<DeviceContext> device);
    std::unique_ptr<DeviceContext> Detach();
    // Frees the device; a print job still open is aborted first.
    bool DeleteDC();
    DeviceContext* GetSafeHdc() const { return m_device.get(); }

    // A memory device context compatible with other (with the screen when null).
    bool CreateCompatibleDC(CDC* other);

    int StartDoc(const DOCINFO* info);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();
    int GetDeviceCaps(int index) const;

    // Selects bitmap into a memory device context; returns the one selected
    // before, or null when it cannot be selected.
    CBitmap* SelectObject(CBitmap* bitmap);

    bool StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                    int sourceWidth, int sourceHeight, std::uint32_t rop);
    // A JPEG file's data drawn as they are; false when the device cannot take them.
    bool StretchJpeg(int x, int y, int width, int height, const QByteArray& jpeg);

private:
    std::unique_ptr<DeviceContext> m_device;
    bool m_inDoc = false;
};
