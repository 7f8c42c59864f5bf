#include "convert/CBmpProgCtrl.h"

#include "app/Resource.h"
#include "controls/Artwork.h"

#include <QPainter>
#include <algorithm>

CBmpProgCtrl::CBmpProgCtrl(QWidget* parent)
    : QWidget(parent), m_bmpBack(LoadBitmapResource(IDB_PROGRESS_BACK)),
      m_bmpFore(LoadBitmapResource(IDB_PROGRESS_FORE))
{
    // Every paint covers the whole control.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

float CBmpProgCtrl::Ratio(int pos, int range)
{
    if (range <= 0)
        return 0.0f;
    const float ratio = static_cast<float>(static_cast<double>(pos) / static_cast<double>(range));
    return std::clamp(ratio, 0.0f, 1.0f);
}

void CBmpProgCtrl::paintEvent(QPaintEvent*)
{
    m_fRatio = Ratio(m_nPos, m_nRange);
    m_rcClient = rect();
    const int w = m_rcClient.width();
    const int h = m_rcClient.height();

    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, w, h), m_bmpBack, m_bmpBack.rect());
    if (m_bDrawn == 1) {
        // Both products in single precision, truncated toward zero.
        const int width = static_cast<int>(static_cast<float>(w) * m_fRatio);
        const int sourceWidth = static_cast<int>(static_cast<float>(m_bmpFore.width()) * m_fRatio);
        if (width > 0 && sourceWidth > 0)
            painter.drawPixmap(QRect(0, 0, width, h), m_bmpFore,
                               QRect(0, 0, sourceWidth, m_bmpFore.height()));
    }
}
