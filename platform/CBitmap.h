#pragma once

#include "platform/Gdi.h"

#include <QImage>

// A bitmap object (MFC's CBitmap): owns the pixels of one picture from
// Attach until DeleteObject or its end.
class CBitmap
{
public:
    CBitmap() = default;
    CBitmap(CBitmap&&) = default;
    CBitmap& operator=(CBitmap&&) = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Takes the pixels; false when there are none or it already holds some.
    bool Attach(QImage pixels);
    QImage Detach();
    bool DeleteObject();

    bool IsNull() const { return m_pixels.isNull(); }
    // The header of the bitmap (GetObject); 0 when it holds none.
    int GetBitmap(BITMAP* header) const;

    const QImage& Pixels() const { return m_pixels; }

private:
    QImage m_pixels;
};
