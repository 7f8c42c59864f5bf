#include "controls/CTransParentButton.h"

#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

namespace {

// Frame colours of the flat style.
const QColor kFramePen(248, 248, 248);
const QColor kHotFill(252, 252, 252);
const QColor kPressedFill(240, 240, 240);

// The caption is laid out as if every character were this wide.
constexpr int kCaptionCharWidth = 4;
// The caption font's character height in pixels.
constexpr int kCaptionHeight = 10;

// Top and left edges in one colour, bottom and right in the other, one pixel
// wide, as a 3-D rectangle is drawn on Windows.
void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    const int x = r.x(), y = r.y(), cx = r.width(), cy = r.height();
    painter.fillRect(x, y, cx - 1, 1, topLeft);
    painter.fillRect(x, y, 1, cy - 1, topLeft);
    painter.fillRect(x + cx - 1, y, 1, cy, bottomRight);
    painter.fillRect(x, y + cy - 1, cx, 1, bottomRight);
}

// A dotted rectangle that inverts every other pixel of its outline.
void DrawFocusRect(QPainter& painter, const QRect& r)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(Qt::black);
    for (int x = r.left(); x <= r.right(); x += 2) {
        painter.drawPoint(x, r.top());
        painter.drawPoint(x, r.bottom());
    }
    for (int y = r.top() + 2; y < r.bottom(); y += 2) {
        painter.drawPoint(r.left(), y);
        painter.drawPoint(r.right(), y);
    }
    painter.restore();
}

// Arial at 10 pixels, about 4 pixels a character, as thin as the face comes.
QFont CaptionFont(const QFont& current)
{
    QFont font = current;
    font.setFamily(QStringLiteral("Arial"));
    font.setPixelSize(kCaptionHeight);
    font.setWeight(QFont::Thin);
    const int average = QFontMetrics(font).averageCharWidth();
    if (average > 0)
        font.setStretch(std::clamp(100 * kCaptionCharWidth / average, 1, 4000));
    return font;
}

} // namespace

CTransParentButton::CTransParentButton(QWidget* parent) : QPushButton(parent)
{
    Initialise();
}

CTransParentButton::CTransParentButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    Initialise();
}

void CTransParentButton::Initialise()
{
    // The text colours are read once, here.
    m_hotTextColor = palette().color(QPalette::Active, QPalette::Highlight);
    m_normalTextColor = palette().color(QPalette::Active, QPalette::WindowText);
    m_currentTextColor = m_normalTextColor;
    // The button draws every pixel itself, from its copy of the background.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    // Moves are seen without a button held, as a window sees them.
    setMouseTracking(true);
}

void CTransParentButton::SetIcons(const QIcon& hotIcon, const QIcon& normalIcon, int spacing)
{
    m_hotIcon = hotIcon;
    m_normalIcon = normalIcon;
    m_hasIcon = true;
    m_spacing = spacing;
    RedrawButton();
}

void CTransParentButton::SetLayout(int layout)
{
    m_layout = layout;
    RedrawButton();
}

void CTransParentButton::ApplyHeaderSettings(const QIcon& icon)
{
    SetIcons(icon, icon, 10);
    SetLayout(1);
}

void CTransParentButton::SetFlat(bool flat)
{
    m_flat = flat;
    RedrawButton();
}

void CTransParentButton::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    RedrawButton();
}

void CTransParentButton::SetTimer(int id, int milliseconds)
{
    KillTimer(id);
    m_timers.insert(id, startTimer(milliseconds));
}

void CTransParentButton::KillTimer(int id)
{
    const auto it = m_timers.constFind(id);
    if (it == m_timers.cend())
        return;
    killTimer(it.value());
    m_timers.erase(it);
}

QRect CTransParentButton::WindowRect() const
{
    return QRect(mapToGlobal(QPoint(0, 0)), size());
}

void CTransParentButton::RedrawButton()
{
    update();
}

void CTransParentButton::OnEraseBkgnd()
{
    if (m_backgroundCaptured)
        return;
    const qreal ratio = devicePixelRatioF();
    m_backgroundCopy = QPixmap(size() * ratio);
    m_backgroundCopy.setDevicePixelRatio(ratio);
    m_backgroundCopy.fill(Qt::transparent);
    // What the parent paints under the button (its background and its own
    // painting, none of its children).
    if (QWidget* parent = parentWidget())
        parent->render(&m_backgroundCopy, QPoint(0, 0), QRegion(geometry()), QWidget::DrawWindowBackground);
    m_backgroundCaptured = true;
}

void CTransParentButton::DrawItem(bool disabled, bool focus)
{
    if (disabled) {
        m_enabled = false;
        m_state = 1;
    } else {
        m_enabled = true;
    }
    m_focus = focus;
}

void CTransParentButton::paintEvent(QPaintEvent*)
{
    OnEraseBkgnd();
    DrawItem(!isEnabled(), hasFocus());
    QPainter painter(this);
    DrawBackground(painter);
    DrawFrame(painter);
    DrawIcon(painter);
    DrawCaption(painter);
}

void CTransParentButton::DrawBackground(QPainter& painter)
{
    if (m_transparent) {
        if (m_backgroundCaptured)
            painter.drawPixmap(0, 0, m_backgroundCopy);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Button));
}

void CTransParentButton::DrawFrame(QPainter& painter)
{
    const QRect client = rect();
    if (m_flat) {
        if (!m_enabled || m_state == 1)
            return;
        painter.save();
        painter.setPen(QPen(kFramePen, 1));
        painter.setBrush(m_state == 3 ? kPressedFill : kHotFill);
        // The outline runs along the outermost pixels, its corners rounded
        // by a 5 x 5 ellipse.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawRoundedRect(client.adjusted(0, 0, -1, -1), 2.5, 2.5);
        painter.restore();
        return;
    }

    const QColor hi = palette().color(QPalette::Light);
    const QColor sh = palette().color(QPalette::Dark);
    if (m_state == 3) {
        Draw3dRect(painter, client, Qt::black, hi);
        Draw3dRect(painter, client.adjusted(1, 1, -1, -1), sh, hi);
    } else {
        Draw3dRect(painter, client, hi, Qt::black);
        Draw3dRect(painter, client.adjusted(1, 1, -1, -1), hi, sh);
    }
    if (m_focus) {
        painter.save();
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(client.adjusted(0, 0, -1, -1));
        const int w = client.width(), h = client.height();
        painter.drawLine(w - 2, 0, w - 2, h - 3);
        painter.drawLine(w - 2, h - 2, 1, h - 2);
        painter.restore();
        DrawFocusRect(painter, client.adjusted(4, 4, -5, -5));
    }
}

QPoint CTransParentButton::IconPosition() const
{
    const int wc = width(), hc = height();
    QPoint at;
    if (text().isEmpty())
        at = QPoint((wc - kIconSize) / 2, (hc - kIconSize) / 2);
    else if (m_layout == 1)
        at = QPoint((wc - kIconSize) / 2, m_spacing);
    else
        at = QPoint(m_margin, (hc - kIconSize) / 2);
    if (m_state == 3)
        at += QPoint(1, 1);
    return at;
}

void CTransParentButton::DrawIcon(QPainter& painter)
{
    const QIcon& icon = (!m_enabled || m_state == 1) ? m_normalIcon : m_hotIcon;
    if (icon.isNull())
        return;
    const QPoint at = IconPosition();
    const QSize size(kIconSize, kIconSize);
    const QPixmap pixmap =
        icon.pixmap(size, devicePixelRatioF(), m_enabled ? QIcon::Normal : QIcon::Disabled);
    painter.drawPixmap(QRect(at, size), pixmap);
}

QPoint CTransParentButton::CaptionPosition(int h) const
{
    const int n = static_cast<int>(text().size());
    const int ww = width(), hw = height();
    const int textWidth = kCaptionCharWidth * n;
    if (m_layout == 0 && m_hasIcon)
        return QPoint((ww - m_margin - textWidth - kIconSize) / 2 + m_margin + kIconSize, (hw - h) / 2);
    if (m_layout == 1 && m_hasIcon)
        return QPoint((ww - textWidth) / 2 - 3, (hw - m_spacing - h - kIconSize) / 2 + m_spacing + kIconSize);
    return QPoint((ww - textWidth) / 2 - 3, (hw - h) / 2);
}

void CTransParentButton::DrawCaption(QPainter& painter)
{
    const QString caption = text();
    const int h = QFontMetrics(font()).height();
    QPoint at = CaptionPosition(h);

    if (!m_enabled) {
        // Embossed in the button's own font: a light copy one pixel down and
        // right under the shadow-coloured text.
        const QRect box(at, QSize(width() * 4, height() * 4));
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(box.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(box, flags, caption);
        return;
    }

    m_currentTextColor = (m_state == 1 || m_state == 3) ? m_normalTextColor : m_hotTextColor;
    if (m_state == 3)
        at += QPoint(1, 1);
    if (caption.size() % 2 == 1)
        at.rx() -= 1;
    painter.save();
    painter.setPen(m_currentTextColor);
    painter.setFont(CaptionFont(font()));
    painter.drawText(QRect(at, QSize(width() * 4, height() * 4)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, caption);
    painter.restore();
}

void CTransParentButton::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with the left button held starts no hover and is not passed on.
    if (event->buttons() & Qt::LeftButton)
        return;
    if (!m_tracking && m_enabled) {
        m_tracking = true;
        m_state = 0;
        RedrawButton();
        SetTimer(kHoverTimer, kHoverInterval);
    }
    QPushButton::mouseMoveEvent(event);
}

void CTransParentButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_state = 3;
        RedrawButton();
    }
    QPushButton::mousePressEvent(event);
}

void CTransParentButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_state = WindowRect().contains(QCursor::pos()) ? 2 : 1;
        RedrawButton();
    }
    QPushButton::mouseReleaseEvent(event);
}

void CTransParentButton::timerEvent(QTimerEvent* event)
{
    for (auto it = m_timers.cbegin(); it != m_timers.cend(); ++it) {
        if (it.value() == event->timerId()) {
            OnTimer(it.key());
            return;
        }
    }
    // The button class's own timers (click animation, auto-repeat).
    QPushButton::timerEvent(event);
}

void CTransParentButton::OnTimer(int id)
{
    if (id != kHoverTimer)
        return;
    if (!WindowRect().contains(QCursor::pos()) && m_tracking && m_enabled) {
        KillTimer(kHoverTimer);
        m_state = 1;
        m_tracking = false;
        RedrawButton();
    }
}

void CTransParentButton::changeEvent(QEvent* event)
{
    // A change of enabled state reaches the drawing as the next paint's report.
    if (event->type() == QEvent::EnabledChange)
        RedrawButton();
    QPushButton::changeEvent(event);
}
