#pragma once

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

class QPainter;

// A push button that draws an icon and a caption over a copy of what lay
// behind it when it was first painted, so it looks transparent on a painted
// background. Four states: 0 hot (pointer over it), 1 normal, 2 released
// over the button, 3 pressed. The pointer leaving is noticed by a 10 ms
// hover timer (window timer 1), not by a leave event.
//
// Every repaint runs four steps in a fixed order: background, frame, icon,
// caption.
class CTransParentButton : public QPushButton
{
    Q_OBJECT

public:
    // The window timer that ends the hot state, and its interval.
    static constexpr int kHoverTimer = 1;
    static constexpr int kHoverInterval = 10;
    // Icon sizes (the system icon metrics) and the size a greyed icon is drawn at.
    static constexpr int kIconSize = 32;

    explicit CTransParentButton(QWidget* parent = nullptr);
    CTransParentButton(const QString& text, QWidget* parent);

    // The hot icon (states 0, 2, 3) and the normal one (state 1, and greyed
    // when disabled); spacing is the icon's top offset in layout 1.
    void SetIcons(const QIcon& hotIcon, const QIcon& normalIcon, int spacing);
    // 0: icon left of the caption; 1: icon above it.
    void SetLayout(int layout);
    // The settings of the main window's header buttons: one icon as hot and
    // normal icon, spacing 10, icon above the caption.
    void ApplyHeaderSettings(const QIcon& icon);

    void SetFlat(bool flat);
    void SetTransparent(bool transparent);

    // Window timers of the button by their own numbers, as the hover timer
    // is numbered.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool HasTimer(int id) const { return m_timers.contains(id); }

    // The timer handler; timers other than the hover timer are swallowed.
    void OnTimer(int id);

    int State() const { return m_state; }
    int Layout() const { return m_layout; }
    int Spacing() const { return m_spacing; }
    int Margin() const { return m_margin; }
    bool IsTracking() const { return m_tracking; }
    bool HasIcon() const { return m_hasIcon; }
    bool HasBackgroundCopy() const { return m_backgroundCaptured; }
    const QPixmap& BackgroundCopy() const { return m_backgroundCopy; }
    QColor HotTextColor() const { return m_hotTextColor; }
    QColor NormalTextColor() const { return m_normalTextColor; }

    // The caption's top-left corner for the current layout, state and text
    // (before the pressed and odd-length shifts of the drawing step).
    QPoint CaptionPosition(int captionHeight) const;
    // The icon's top-left corner, with the pressed shift.
    QPoint IconPosition() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The first paint copies what lies behind the button; never again.
    void OnEraseBkgnd();
    void DrawItem(bool disabled, bool focus);
    void RedrawButton();
    void DrawBackground(QPainter& painter);
    void DrawFrame(QPainter& painter);
    void DrawIcon(QPainter& painter);
    void DrawCaption(QPainter& painter);
    QRect WindowRect() const;
    void Initialise();

    QPixmap m_backgroundCopy;
    bool m_backgroundCaptured = false;
    bool m_tracking = false;
    bool m_enabled = true;
    bool m_focus = false;
    bool m_flat = true;
    bool m_transparent = true;
    QColor m_currentTextColor;
    QColor m_hotTextColor;
    QColor m_normalTextColor;
    bool m_hasIcon = false;
    int m_spacing = 5;
    int m_margin = 5;
    int m_state = 1;
    int m_layout = 0;
    QIcon m_hotIcon;
    QIcon m_normalIcon;

    QHash<int, int> m_timers; // our timer number -> Qt's timer id
};
