#pragma once

#include "platform/Gdi.h"

#include <QImage>
#include <QRect>

#include <memory>

class CBitmap;

// A device context (the stand-in for an HDC): what a printer, the screen or
// a bitmap in memory can do. CDC owns one and gives it the GDI member names;
// tests put a recording fake in place of the printer behind this interface.
// The defaults are those of a device that cannot do the call.
class DeviceContext
{
public:
    virtual ~DeviceContext();

    // Print jobs: a positive value on success, SP_ERROR on failure.
    virtual int StartDoc(const DOCINFO& info);
    virtual int StartPage();
    virtual int EndPage();
    virtual int EndDoc();
    virtual int AbortDoc();

    virtual int GetDeviceCaps(int index) const = 0;

    // A memory device context that matches this one; null when none can be made.
    virtual std::unique_ptr<DeviceContext> CreateCompatible() const;

    // Memory device contexts hold one bitmap at a time. Selecting gives back
    // the one selected before; null means the device holds no bitmaps.
    virtual CBitmap* SelectBitmap(CBitmap* bitmap);
    // The pixels of the selected bitmap, null when there are none to copy from.
    virtual QImage SelectedPixels() const;

    // Copies source (the rectangle from of its pixels) stretched onto the
    // rectangle to of this device. Only SRCCOPY is known.
    virtual bool StretchBlt(const QRect& to, const QImage& source, const QRect& from, std::uint32_t rop);

    // Draws a JPEG file's data as they are (a printer's JPEG pass-through),
    // upright as its orientation says, onto the rectangle to. False when the
    // device takes no JPEG data or not this one: the caller then copies the
    // decoded pixels.
    virtual bool StretchJpeg(const QRect& to, const QByteArray& jpeg);
};
