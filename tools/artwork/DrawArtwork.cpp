// Draws Foliant's bitmaps and icons into app/artwork. All artwork of the
// program comes from here; run it again after changing a drawing:
//   g++ -std=c++20 -fPIC tools/artwork/DrawArtwork.cpp -o /tmp/draw-artwork \
//       $(pkg-config --cflags --libs Qt6Gui) && QT_QPA_PLATFORM=offscreen /tmp/draw-artwork app/artwork
//
// One style throughout: deep blue with a warm orange accent, white pages,
// soft vertical gradients, no outlines heavier than one pixel at 32 px.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

const QColor kBlueDark(22, 58, 110);
const QColor kBlue(36, 96, 168);
const QColor kBlueLight(92, 154, 222);
const QColor kOrange(240, 138, 36);
const QColor kGreen(46, 160, 90);
const QColor kPageLine(170, 190, 215);

QImage Canvas(int w, int h, bool transparent)
{
    QImage image(w, h, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(transparent ? Qt::transparent : Qt::white);
    return image;
}

void Save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!image.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A page with a folded top-right corner and a bookmark ribbon: the motif of
// the application icon, the header and the about picture. (x, y, w) in any
// units; the page is w wide and 1.3 w tall.
void DrawPage(QPainter& p, qreal x, qreal y, qreal w, bool lines = true)
{
    const qreal h = w * 1.3;
    const qreal fold = w * 0.28;
    QPainterPath page;
    page.moveTo(x, y);
    page.lineTo(x + w - fold, y);
    page.lineTo(x + w, y + fold);
    page.lineTo(x + w, y + h);
    page.lineTo(x, y + h);
    page.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40)); // soft shadow
    p.drawPath(page.translated(w * 0.04, w * 0.05));
    QLinearGradient paper(x, y, x, y + h);
    paper.setColorAt(0, Qt::white);
    paper.setColorAt(1, QColor(232, 238, 247));
    p.setBrush(paper);
    p.drawPath(page);

    QPainterPath corner;
    corner.moveTo(x + w - fold, y);
    corner.lineTo(x + w - fold, y + fold);
    corner.lineTo(x + w, y + fold);
    corner.closeSubpath();
    p.setBrush(QColor(200, 214, 232));
    p.drawPath(corner);

    if (lines) {
        p.setBrush(kPageLine);
        const qreal lineH = qMax<qreal>(1.0, w * 0.06);
        for (int i = 0; i < 4; ++i) {
            const qreal ly = y + h * 0.42 + i * h * 0.13;
            const qreal lw = (i == 3 ? 0.45 : 0.7) * w;
            p.drawRect(QRectF(x + w * 0.14, ly, lw, lineH));
        }
    }

    // The ribbon hangs from the top edge, left of the fold.
    QPainterPath ribbon;
    const qreal rx = x + w * 0.16, rw = w * 0.18, rh = h * 0.30;
    ribbon.moveTo(rx, y);
    ribbon.lineTo(rx + rw, y);
    ribbon.lineTo(rx + rw, y + rh);
    ribbon.lineTo(rx + rw / 2, y + rh - rw * 0.5);
    ribbon.lineTo(rx, y + rh);
    ribbon.closeSubpath();
    p.setBrush(kOrange);
    p.drawPath(ribbon);
}

QImage ApplicationIcon(int size)
{
    QImage image = Canvas(size, size, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient back(0, 0, 0, s);
    back.setColorAt(0, kBlueLight);
    back.setColorAt(1, kBlueDark);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.2, s * 0.2);
    DrawPage(p, s * 0.25, s * 0.12, s * 0.5, size >= 32);
    return image;
}

// The header buttons' icons: a blue disc with a white sign.
enum class Sign { Info, Question, Globe };

QImage ButtonIcon(int size, Sign sign)
{
    QImage image = Canvas(size, size, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF disc(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    QRadialGradient shade(s * 0.4, s * 0.3, s * 0.7);
    shade.setColorAt(0, kBlueLight);
    shade.setColorAt(1, kBlueDark);
    p.setPen(QPen(QColor(255, 255, 255, 200), qMax<qreal>(1.0, s / 32.0)));
    p.setBrush(shade);
    p.drawEllipse(disc);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    switch (sign) {
    case Sign::Info:
        p.drawEllipse(QPointF(s * 0.5, s * 0.29), s * 0.07, s * 0.07);
        p.drawRoundedRect(QRectF(s * 0.43, s * 0.42, s * 0.14, s * 0.34), s * 0.03, s * 0.03);
        break;
    case Sign::Question: {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(qRound(s * 0.62));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Sign::Globe: {
        const QRectF globe(s * 0.22, s * 0.22, s * 0.56, s * 0.56);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, qMax<qreal>(1.2, s / 20.0)));
        p.drawEllipse(globe);
        p.drawEllipse(globe.adjusted(s * 0.15, 0, -s * 0.15, 0));
        p.drawLine(QPointF(s * 0.5, s * 0.22), QPointF(s * 0.5, s * 0.78));
        p.drawLine(QPointF(s * 0.22, s * 0.5), QPointF(s * 0.78, s * 0.5));
        p.drawLine(QPointF(s * 0.27, s * 0.36), QPointF(s * 0.73, s * 0.36));
        p.drawLine(QPointF(s * 0.27, s * 0.64), QPointF(s * 0.73, s * 0.64));
        break;
    }
    }
    return image;
}

QFont Wordmark(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

// A banner: blue gradient, a row of pages on the right, the wordmark on
// the left. The header (bitmap 2) and the about picture (bitmap 140) share it.
// The header has a light shelf where the main window's buttons write their
// captions in the window text colour, so the captions can be read.
QImage Banner(int w, int h, int pageCount, qreal textScale, bool captionShelf = false)
{
    QImage image = Canvas(w, h, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient back(0, 0, w, h);
    back.setColorAt(0, kBlueDark);
    back.setColorAt(0.6, kBlue);
    back.setColorAt(1, kBlueLight);
    p.fillRect(image.rect(), back);

    // Soft light arcs give the blue some depth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(QPointF(w * 0.85, -h * 0.6), h * 1.6, h * 1.6);
    p.drawEllipse(QPointF(w * 0.2, h * 1.9), h * 1.5, h * 1.2);

    if (captionShelf) {
        // Under the buttons (40 % to 84 % of the width), below their icons.
        QLinearGradient shelf(0, h * 0.66, 0, h * 0.95);
        shelf.setColorAt(0, QColor(255, 255, 255, 150));
        shelf.setColorAt(1, QColor(255, 255, 255, 225));
        p.setPen(Qt::NoPen);
        p.setBrush(shelf);
        p.drawRoundedRect(QRectF(w * 0.425, h * 0.66, w * 0.405, h * 0.29), h * 0.08, h * 0.08);
    }

    const qreal pageW = h * 0.42;
    for (int i = 0; i < pageCount; ++i)
        DrawPage(p, w - (pageCount - i) * pageW * 1.05 - h * 0.25, h * 0.16 + (i % 2) * h * 0.06, pageW);

    const qreal mark = h * 0.62;
    DrawPage(p, h * 0.22, h * 0.14, mark / 1.3 * 0.95, true);
    p.setFont(Wordmark(qRound(h * textScale)));
    p.setPen(Qt::white);
    p.drawText(QRectF(h * 0.22 + mark * 0.9, 0, w, h), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Foliant 3.0"));
    p.setPen(QPen(kOrange, qMax<qreal>(2.0, h * 0.04)));
    p.drawLine(QPointF(0, h - 1), QPointF(w, h - 1));
    return image;
}

// The empty bar (137): a recessed light track.
QImage EmptyBar(int w, int h)
{
    QImage image = Canvas(w, h, false);
    QPainter p(&image);
    QLinearGradient track(0, 0, 0, h);
    track.setColorAt(0, QColor(214, 222, 232));
    track.setColorAt(0.35, QColor(236, 240, 246));
    track.setColorAt(1, QColor(248, 250, 252));
    p.fillRect(image.rect(), track);
    p.setPen(QColor(160, 174, 192));
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}

// The filled bar (138): blue with a gloss band and slanted stripes, uniform
// along its width so any left part of it reads as progress.
QImage FilledBar(int w, int h)
{
    QImage image = Canvas(w, h, false);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, kBlueLight);
    fill.setColorAt(0.5, kBlue);
    fill.setColorAt(1, kBlueDark);
    p.fillRect(image.rect(), fill);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    for (int x = -h; x < w + h; x += h) {
        QPolygonF stripe;
        stripe << QPointF(x, h) << QPointF(x + h / 2.0, h) << QPointF(x + h, 0) << QPointF(x + h / 2.0, 0);
        p.drawPolygon(stripe);
    }
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRect(QRectF(0, 1, w, h * 0.35));
    p.setPen(kBlueDark);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return image;
}

// The completion picture (139): a page with a green tick badge.
QImage CompletionPicture(int size)
{
    QImage image = Canvas(size, size, true);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    DrawPage(p, s * 0.12, s * 0.04, s * 0.6);
    const QPointF centre(s * 0.7, s * 0.7);
    p.setPen(QPen(Qt::white, s * 0.04));
    p.setBrush(kGreen);
    p.drawEllipse(centre, s * 0.25, s * 0.25);
    p.setPen(QPen(Qt::white, s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPolygonF tick;
    tick << QPointF(s * 0.58, s * 0.71) << QPointF(s * 0.67, s * 0.8) << QPointF(s * 0.83, s * 0.61);
    p.drawPolyline(tick);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <artwork folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    Save(Banner(640, 66, 3, 0.36, true), folder, QStringLiteral("bitmap2.png"));
    Save(Banner(360, 100, 1, 0.26), folder, QStringLiteral("bitmap140.png"));
    Save(EmptyBar(466, 24), folder, QStringLiteral("bitmap137.png"));
    Save(FilledBar(466, 24), folder, QStringLiteral("bitmap138.png"));
    Save(CompletionPicture(32), folder, QStringLiteral("bitmap139.png"));
    for (int size : {16, 32, 48, 128, 256})
        Save(ApplicationIcon(size), folder, QStringLiteral("icon128-%1.png").arg(size));
    const struct
    {
        int id;
        Sign sign;
    } buttons[] = {{131, Sign::Info}, {133, Sign::Question}, {146, Sign::Globe}};
    for (const auto& button : buttons)
        for (int size : {32, 64})
            Save(ButtonIcon(size, button.sign), folder,
                 QStringLiteral("icon%1-%2.png").arg(button.id).arg(size));
    return 0;
}
