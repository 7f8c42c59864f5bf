#pragma once

#include <QWidget>

class QTabBar;

// The options tab control: a row of text-only tab headers over a white area
// in which the owner places the pages. It does not switch pages itself; the
// owner does, on a press over a header (HitTest) or on SelChange.
class CTabCtrlEx : public QWidget
{
    Q_OBJECT
public:
    explicit CTabCtrlEx(QWidget* parent = nullptr);

    void InsertItem(int index, const QString& text);
    int GetItemCount() const;
    int GetCurSel() const;
    void SetCurSel(int index);
    // The header under a point in this control's coordinates, or -1.
    int HitTest(const QPoint& point) const;
    // Where a page goes: the client rectangle less 1 on the left, 30 at the
    // top, 4 on the right and 4 at the bottom.
    QRect PageRect() const;

    QTabBar* TabBar() const { return m_bar; }

signals:
    void SelChange(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* m_bar;
};
