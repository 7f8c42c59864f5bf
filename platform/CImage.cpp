#include "platform/CImage.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <utility>

namespace {

// The reader's own ceiling, a second guard for files whose header gives no
// size: the largest picture at four bytes a pixel, and room for the decoder.
constexpr int kAllocationLimitMegabytes = 512;

// Keeps the formats the printer writes directly (with ARGB32 its alpha is
// simply not read); anything else becomes 24-bit colour, stored colours kept.
QImage PrintableFormat(QImage image)
{
    switch (image.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB888:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
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

bool CImage::Load(const QString& path, int page)
{
    m_pixels = QImage();
    m_error.clear();
    m_pageCount = 0;
    const QString name = QFileInfo(path).fileName();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    if (!reader.canRead()) {
        m_error = QStringLiteral("%1 is not a picture that can be read.").arg(name);
        return false;
    }
    // A TIFF's frames are the pages of one document; those of a GIF or
    // WebP are an animation.
    m_pageCount = reader.format() == "tiff" ? std::max(reader.imageCount(), 1) : 1;
    if (page > 0 && (page >= m_pageCount || !reader.jumpToImage(page))) {
        m_error = QStringLiteral("%1 has no page %2.").arg(name).arg(page + 1);
        return false;
    }
    const QSize size = reader.size();
    if (size.isValid() && TooLarge(size)) {
        m_error = TooLargeText(name, size);
        return false;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        m_error = QStringLiteral("%1 could not be decoded: %2.").arg(name, reader.errorString());
        return false;
    }
    if (TooLarge(image.size())) {
        m_error = TooLargeText(name, image.size());
        return false;
    }
    m_pixels = PrintableFormat(std::move(image));
    return true;
}

QImage CImage::Detach()
{
    return std::exchange(m_pixels, QImage());
}
