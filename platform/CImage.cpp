#include "platform/CImage.h"

#include <QFileInfo>
#include <QImageReader>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

namespace {

// The reader's own ceiling, a second guard for files whose header gives no
// size: the largest picture at four bytes a pixel, and room for the decoder.
constexpr int kAllocationLimitMegabytes = 512;

// One colour channel of a pixel of the given alpha laid over white paper.
uchar OverWhite(int channel, int alpha)
{
    return uchar((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

QRgb OverWhite(QRgb colour)
{
    const int alpha = qAlpha(colour);
    return qRgb(OverWhite(qRed(colour), alpha), OverWhite(qGreen(colour), alpha),
                OverWhite(qBlue(colour), alpha));
}

// A picture with see-through pixels (an alpha channel, or a transparent
// colour in its table) as every viewer shows it: laid over the white paper.
// Done in place, and for a colour table only on the table.
QImage OnWhitePaper(QImage image)
{
    if (!image.hasAlphaChannel())
        return image;
    if (image.format() == QImage::Format_Indexed8) {
        QList<QRgb> colours = image.colorTable();
        for (QRgb& colour : colours)
            colour = OverWhite(colour);
        image.setColorTable(colours);
        return image;
    }
    image.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = OverWhite(line[x]);
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

// Keeps the formats the printer writes directly; anything else becomes
// 24-bit colour. What is see-through is laid over white first.
QImage PrintableFormat(QImage image)
{
    image = OnWhitePaper(std::move(image));
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB888:
    case QImage::Format_RGB32: // what had alpha is RGB32 now
    case QImage::Format_Indexed8:
        return image;
    default:
        return image.convertToFormat(QImage::Format_RGB888);
    }
}

bool TooLarge(QSize size)
{
    return qint64(size.width()) * size.height() > CImage::kMaxPixels;
}

QString TooLargeText(const QString& name, QSize size)
{
    return QStringLiteral("%1 is too large to convert: %2 x %3 pixels (at most %4 million pixels).")
        .arg(name)
        .arg(size.width())
        .arg(size.height())
        .arg(CImage::kMaxPixels / 1'000'000);
}

} // namespace

CImage::CImage() = default;
CImage::~CImage() = default;

bool CImage::Open(const QString& path)
{
    m_reader.reset();
    m_pixels = QImage();
    m_jpeg.clear();
    m_error.clear();
    m_pageCount = 0;
    m_nextPage = 0;
    m_name = QFileInfo(path).fileName();
    auto reader = std::make_unique<QImageReader>(path);
    reader->setDecideFormatFromContent(true);
    // A photograph's EXIF orientation turns it upright, as viewers show it.
    reader->setAutoTransform(true);
    reader->setAllocationLimit(kAllocationLimitMegabytes);
    if (!reader->canRead()) {
        m_error = QStringLiteral("%1 is not a picture that can be read.").arg(m_name);
        return false;
    }
    // A TIFF's frames are the pages of one document; those of a GIF or
    // WebP are an animation.
    // The format is known only until the picture has been read.
    m_format = reader->format();
    m_pageCount = m_format == "tiff" ? std::max(reader->imageCount(), 1) : 1;
    m_reader = std::move(reader);
    return true;
}

bool CImage::LoadPage(int page)
{
    m_pixels = QImage();
    m_jpeg.clear();
    m_error.clear();
    if (!m_reader || page < m_nextPage || page >= m_pageCount || (page > 0 && !m_reader->jumpToImage(page))) {
        m_error = QStringLiteral("%1 has no page %2.").arg(m_name).arg(page + 1);
        return false;
    }
    m_nextPage = page + 1;
    // A page that cannot be decoded leaves the reader on the next one.
    const auto letGoAfterLastPage = qScopeGuard([this] {
        if (m_nextPage >= m_pageCount)
            m_reader.reset();
    });
    const QSize size = m_reader->size();
    if (size.isValid() && TooLarge(size)) {
        m_error = TooLargeText(m_name, size);
        return false;
    }
    QImage image;
    if (!m_reader->read(&image) || image.isNull()) {
        m_error = QStringLiteral("%1 could not be decoded: %2.").arg(m_name, m_reader->errorString());
        return false;
    }
    if (TooLarge(image.size())) {
        m_error = TooLargeText(m_name, image.size());
        return false;
    }
    m_pixels = PrintableFormat(std::move(image));
    // A JPEG's own data, from the file as it was opened.
    if (m_format == "jpeg" && m_reader->device() && m_reader->device()->seek(0))
        m_jpeg = m_reader->device()->readAll();
    return true;
}

bool CImage::Load(const QString& path)
{
    return Open(path) && LoadPage(0);
}

QImage CImage::Detach()
{
    return std::exchange(m_pixels, QImage());
}
