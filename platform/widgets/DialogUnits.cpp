#include "platform/widgets/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace {

// MulDiv(a, b, c): a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

DialogUnits::DialogUnits(int baseX, int baseY)
    : m_baseX(baseX > 0 ? baseX : 1), m_baseY(baseY > 0 ? baseY : 1)
{
}

DialogUnits::DialogUnits(const QFont& font, const QPaintDevice* device) : DialogUnits(1, 1)
{
    const QFontMetrics metrics = device ? QFontMetrics(font, device) : QFontMetrics(font);
    // The average width is taken over the 52 Latin letters, halved with
    // rounding, exactly as Windows derives it from the dialog font.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = std::max(1, (letters / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

int DialogUnits::X(int dialogUnits) const
{
    return MulDiv(dialogUnits, m_baseX, 4);
}

int DialogUnits::Y(int dialogUnits) const
{
    return MulDiv(dialogUnits, m_baseY, 8);
}

QRect DialogUnits::Map(int x, int y, int w, int h) const
{
    return QRect(X(x), Y(y), X(w), Y(h));
}

QFont DialogUnits::DialogFont(QStringView /*face*/, int pointSize)
{
    QFont font = QApplication::font();
    font.setPointSize(pointSize > 0 ? pointSize : 8);
    return font;
}
