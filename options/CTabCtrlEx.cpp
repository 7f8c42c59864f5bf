#include "options/CTabCtrlEx.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

CTabCtrlEx::CTabCtrlEx(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this))
{
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    connect(m_bar, &QTabBar::currentChanged, this, &CTabCtrlEx::SelChange);
}

void CTabCtrlEx::InsertItem(int index, const QString& text)
{
    m_bar->insertTab(index, text);
    m_bar->resize(width(), m_bar->sizeHint().height());
}

int CTabCtrlEx::GetItemCount() const
{
    return m_bar->count();
}

int CTabCtrlEx::GetCurSel() const
{
    return m_bar->currentIndex();
}

void CTabCtrlEx::SetCurSel(int index)
{
    m_bar->setCurrentIndex(index);
}

int CTabCtrlEx::HitTest(const QPoint& point) const
{
    return m_bar->tabAt(m_bar->mapFrom(this, point));
}

QRect CTabCtrlEx::PageRect() const
{
    return rect().adjusted(1, 30, -4, -4);
}

void CTabCtrlEx::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_bar->resize(width(), m_bar->sizeHint().height());
}

void CTabCtrlEx::paintEvent(QPaintEvent*)
{
    // The whole control is white, under the headers too; the frame of the
    // page area is drawn below the headers.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_bar->height() - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarRect = m_bar->geometry();
    frame.selectedTabRect = m_bar->tabRect(m_bar->currentIndex()).translated(m_bar->pos());
    frame.palette.setColor(QPalette::Window, Qt::white);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
