#pragma once

#include "platform/DeviceContext.h"

#include <functional>
#include <memory>

class QWindow;

// The screen's device context as a window sees it. Nothing is ever drawn on
// it here: the printing code only needs it to make a compatible memory DC.
class ScreenDeviceContext : public DeviceContext
{
public:
    explicit ScreenDeviceContext(const QWindow* window);

    int GetDeviceCaps(int index) const override;

private:
    int m_width = 1920;
    int m_height = 1080;
    int m_pixelsPerInch = 96;
};

using ScreenDCFactory = std::function<std::unique_ptr<DeviceContext>(const QWindow* window)>;

// The screen DC of a window (of the whole screen when null); the caller owns
// it, and releases it by letting it go.
std::unique_ptr<DeviceContext> GetDC(const QWindow* window);
// Puts a fake screen in place for tests; an empty factory restores the real one.
void SetScreenDCFactory(ScreenDCFactory factory);
