#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>

// The conversion page's progress bar, painted from two bitmaps: the empty bar
// (137) stretched over the whole control and, while m_bDrawn is 1, the left
// part of the filled bar (138) in proportion to m_nPos / m_nRange. It has no
// operations of its own: owners set the fields and repaint it (update()).
class CBmpProgCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CBmpProgCtrl(QWidget* parent = nullptr);

    int m_nPos = 1;     // files done
    int m_nRange = 1;   // files of the run
    float m_fRatio = 0; // m_nPos / m_nRange, taken at each paint
    QRect m_rcClient;   // client rectangle, taken at each paint
    QPixmap m_bmpBack;  // the empty bar
    QPixmap m_bmpFore;  // the filled bar
    int m_bDrawn = 0;   // 1: the filled part is drawn

    // The filled bar's share of the control for a position and range: the
    // quotient in single precision, kept within 0..1 so that a range of 0 or
    // a position past the range can never paint outside the control.
    static float Ratio(int pos, int range);

protected:
    void paintEvent(QPaintEvent* event) override;
};
