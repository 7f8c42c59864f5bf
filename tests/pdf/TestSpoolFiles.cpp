#include "TestSpoolFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace spool {

QByteArray TextPage()
{
    return "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n"
           "/Helvetica findfont 24 scalefont setfont\n"
           "72 720 moveto (Quarterly report) show\n"
           "/Helvetica findfont 12 scalefont setfont\n"
           "72 690 moveto (The figures for the third quarter are in.) show\n"
           "showpage\n%%EOF\n";
}

QByteArray PhotoPage()
{
    const int width = 320;
    const int height = 240;
    QByteArray ps =
        "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n"
        "/Helvetica findfont 18 scalefont setfont 72 740 moveto (Holiday picture) show\n"
        "gsave 72 400 translate 320 240 scale\n"
        "/line 960 string def\n"
        "320 240 8 [320 0 0 -240 0 240] {currentfile line readhexstring pop} false 3 colorimage\n";
    unsigned seed = 12345;
    char hex[8];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 25) - 12;
            const double fx = x / double(width);
            const double fy = y / double(height);
            const int r = static_cast<int>(128 + 100 * std::sin(6.0 * fx + 2.0 * fy)) + grain;
            const int g = static_cast<int>(128 + 90 * std::cos(4.0 * fy - 3.0 * fx)) + grain;
            const int b = static_cast<int>(110 + 80 * std::sin(9.0 * fx * fy + 1.0)) + grain;
            std::snprintf(hex, sizeof hex, "%02x%02x%02x", std::clamp(r, 0, 255), std::clamp(g, 0, 255),
                          std::clamp(b, 0, 255));
            ps += hex;
        }
        ps += '\n';
    }
    ps += "grestore showpage\n%%EOF\n";
    return ps;
}

QByteArray SlowPage(int iterations)
{
    return "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%Page: 1 1\n"
           "0 1 " +
           QByteArray::number(iterations) +
           " { 1 add pop } for\n"
           "/Helvetica findfont 12 scalefont setfont 72 720 moveto (Slow) show showpage\n%%EOF\n";
}

} // namespace spool
