#pragma once

#include "platform/DeviceContext.h"

// A device context over a bitmap in memory (CreateCompatibleDC). It starts
// out holding the stock one-pixel bitmap, as GDI's do, and is the source of
// a StretchBlt onto the printer.
class MemoryDeviceContext : public DeviceContext
{
public:
    explicit MemoryDeviceContext(int pixelsPerInch);

    int GetDeviceCaps(int index) const override;
    CBitmap* SelectBitmap(CBitmap* bitmap) override;
    QImage SelectedPixels() const override;

    // The one-pixel bitmap every memory device context holds at first.
    static CBitmap& StockBitmap();

private:
    int m_pixelsPerInch;
    CBitmap* m_selected;
    QImage m_pixels; // shares the selected bitmap's pixels, so they outlive a careless delete
};
