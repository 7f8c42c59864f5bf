#pragma once

#include <QFont>
#include <QRect>
#include <QStringView>

class QPaintDevice;

// Converts dialog units to pixels with the base units of a dialog font:
// horizontal = average character width / 4, vertical = font height / 8,
// rounded as Windows' MulDiv rounds.
class DialogUnits
{
public:
    DialogUnits(int baseX, int baseY);
    // Base units of font as drawn on device (the screen when device is null).
    explicit DialogUnits(const QFont& font, const QPaintDevice* device = nullptr);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int X(int dialogUnits) const;
    int Y(int dialogUnits) const;
    QRect Map(int x, int y, int w, int h) const;

    // The font a template's face and size give here. The Windows dialog faces
    // ("MS Shell Dlg", "Microsoft Sans Serif") stand for the desktop's own
    // interface font, so that face is used at the template's point size.
    static QFont DialogFont(QStringView face, int pointSize);

private:
    int m_baseX;
    int m_baseY;
};
