#pragma once

#include <QPoint>

// A check box or radio button that answers a click anywhere in its
// rectangle, as dialog buttons do, not only on its box and text.
template <class Button> class WholeRectButton : public Button
{
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
