#include "TestScans.h"

#include "TestTools.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace testscans {

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 1000;
constexpr int kMark = 14;     // the corner squares
constexpr double kSkew = 0.7; // degrees
constexpr int kGrain = 28;    // grey levels either way, never as dark as ink

const char* const kSentences[3][3] = {
    {"Dear customer, thank you for your order of twelve blue folders.",
     "The invoice number is 4711 and payment is due within thirty days.",
     "Please keep this letter with your records for future reference."},
    {"Meeting notes from the quarterly review of the northern office.",
     "Sales rose by nine percent while travel costs fell slightly.",
     "The next review takes place on the first Monday of March."},
    {"Chapter three describes how the old mill was rebuilt after the flood.",
     "Stones were carried from the quarry by horses and wooden carts.",
     "Villagers still gather there every summer to celebrate the harvest."}};
const char* const kFonts[3] = {"Liberation Serif", "Liberation Sans", "DejaVu Sans"};

QString Letters(const QString& text)
{
    static const QRegularExpression other(QStringLiteral("[^A-Za-z0-9]"));
    return QString(text).remove(other);
}

// Grain, then a 3 x 3 blur, on grey levels.
QImage Worn(const QImage& clean, quint32 seed)
{
    QImage grey = clean.convertToFormat(QImage::Format_Grayscale8);
    QRandomGenerator random(seed);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* line = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            line[x] = uchar(std::clamp(int(line[x]) + random.bounded(-kGrain, kGrain + 1), 0, 255));
    }
    QImage blurred = grey;
    for (int y = 1; y + 1 < grey.height(); ++y) {
        uchar* out = blurred.scanLine(y);
        for (int x = 1; x + 1 < grey.width(); ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += grey.constScanLine(y + dy)[x + dx];
            out[x] = uchar(sum / 9);
        }
    }
    return blurred;
}

} // namespace

Scan Make(int variant)
{
    QImage page(kWidth, kHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    Scan scan;
    {
        QPainter painter(&page);
        QFont font(QString::fromLatin1(kFonts[variant % 3]));
        font.setPixelSize(34); // 8 points at 300 dots to the inch
        painter.setFont(font);
        painter.setPen(Qt::black);
        QTransform skew;
        skew.translate(kWidth / 2.0, kHeight / 2.0).rotate(kSkew).translate(-kWidth / 2.0, -kHeight / 2.0);
        painter.setTransform(skew);
        const QFontMetricsF metrics(font);
        for (int line = 0; line < 3; ++line) {
            double x = 100;
            const double baseline = 280 + line * 200;
            for (const QString& word : QString::fromLatin1(kSentences[variant % 3][line]).split(u' ')) {
                painter.drawText(QPointF(x, baseline), word);
                const QRectF ink = metrics.tightBoundingRect(word).translated(x, baseline);
                scan.words.append({Letters(word), skew.map(ink.center()), QRectF()});
                x += metrics.horizontalAdvance(word + u' ');
            }
        }
    }
    scan.image = Worn(page, quint32(variant + 1));
    QPainter marks(&scan.image);
    for (const QPoint corner : {QPoint(0, 0), QPoint(kWidth - kMark, 0), QPoint(0, kHeight - kMark),
                                QPoint(kWidth - kMark, kHeight - kMark)})
        marks.fillRect(QRect(corner, QSize(kMark, kMark)), Qt::black);
    return scan;
}

Scan Turned(const Scan& scan, int degrees)
{
    const QTransform turn =
        QImage::trueMatrix(QTransform().rotate(degrees), scan.image.width(), scan.image.height());
    Scan turned;
    turned.image = scan.image.transformed(turn);
    for (const Word& word : scan.words)
        // A pixel's centre, turned, is the centre of the pixel it lands on.
        turned.words.append(
            {word.text, turn.map(word.center + QPointF(0.5, 0.5)) - QPointF(0.5, 0.5), QRectF()});
    return turned;
}

QImage WithAlpha(const Scan& scan)
{
    QImage image(scan.image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* grey = scan.image.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            out[x] = qRgba(0, 0, 0, 255 - grey[x]);
    }
    return image;
}

QList<Word> PdfWords(const QString& pdf, int page)
{
    const testtools::ToolResult result =
        testtools::RunTool(QStringLiteral("pdftotext"),
                           {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    for (auto match = word.globalMatch(QString::fromUtf8(result.out)); match.hasNext();) {
        const auto m = match.next();
        const QString text = Letters(m.captured(5));
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        if (!text.isEmpty())
            words.append({text, box.center(), box});
    }
    return words;
}

QRectF PicturePlace(const QString& pdf, int page)
{
    // Drawn at 144 dots to the inch: two pixels a point.
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    testtools::RunTool(QStringLiteral("pdftoppm"),
                       {"-r", "144", "-gray", "-singlefile", "-f", QString::number(page), "-l",
                        QString::number(page), pdf, prefix});
    const QImage drawn = QImage(prefix + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
    int left = drawn.width(), top = drawn.height(), right = -1, bottom = -1;
    for (int y = 0; y < drawn.height(); ++y) {
        const uchar* line = drawn.constScanLine(y);
        for (int x = 0; x < drawn.width(); ++x) {
            if (line[x] < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRectF(left / 2.0, top / 2.0, (right + 1 - left) / 2.0, (bottom + 1 - top) / 2.0);
}

QList<Word> OnPage(const Scan& scan, const QRectF& place)
{
    const double sx = place.width() / scan.image.width();
    const double sy = place.height() / scan.image.height();
    QList<Word> words;
    for (const Word& word : scan.words)
        words.append(
            {word.text,
             QPointF(place.left() + (word.center.x() + 0.5) * sx, place.top() + (word.center.y() + 0.5) * sy),
             QRectF()});
    return words;
}

Match Compare(const QList<Word>& known, const QList<Word>& found, double tolerancePoints)
{
    Match match;
    match.total = int(known.size());
    for (const Word& word : known) {
        const Word* nearest = nullptr;
        double distance = 0;
        for (const Word& candidate : found) {
            if (candidate.text != word.text)
                continue;
            const double d =
                std::hypot(candidate.center.x() - word.center.x(), candidate.center.y() - word.center.y());
            if (!nearest || d < distance) {
                nearest = &candidate;
                distance = d;
            }
        }
        if (!nearest)
            continue;
        ++match.found;
        const QRectF grown =
            nearest->box.adjusted(-tolerancePoints, -tolerancePoints, tolerancePoints, tolerancePoints);
        if (!grown.contains(word.center))
            match.misplaced << QStringLiteral("%1 drawn at (%2, %3), found at (%4, %5)-(%6, %7)")
                                   .arg(word.text)
                                   .arg(word.center.x(), 0, 'f', 1)
                                   .arg(word.center.y(), 0, 'f', 1)
                                   .arg(nearest->box.left(), 0, 'f', 1)
                                   .arg(nearest->box.top(), 0, 'f', 1)
                                   .arg(nearest->box.right(), 0, 'f', 1)
                                   .arg(nearest->box.bottom(), 0, 'f', 1);
    }
    return match;
}

} // namespace testscans
