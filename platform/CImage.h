#pragma once

#include <QImage>
#include <QString>

#include <memory>

class QImageReader;

// A picture loaded from a file (ATL's CImage), decoded by Qt's image reader:
// BMP, JPEG, PNG, GIF (its first frame) and whatever else the reader knows.
// The picture is measured from its header before anything is decoded, and
// one too large to decode safely is refused with a reason to show the user.
// What is see-through (an alpha channel, a transparent colour) is laid over
// white, the paper's colour, as viewers show it; opaque pixels keep their
// colour exactly.
class CImage
{
public:
    // The largest picture decoded: 100 megapixels, 400 MB at four bytes a pixel.
    static constexpr qint64 kMaxPixels = 100'000'000;

    CImage();
    ~CImage();
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Loads the page (from 0) of the file. False when the file cannot be
    // decoded; ErrorText() then says why. A multi-page TIFF has pages; every
    // other format has one page (an animation shows its first frame).
    bool Load(const QString& path, int page = 0);
    // Loads the page after the one loaded last, from the file as it was
    // opened by Load: a file of many pages is opened and scanned once.
    bool LoadNextPage();
    // The pages of the file last loaded.
    int PageCount() const { return m_pageCount; }

    bool IsNull() const { return m_pixels.isNull(); }
    int GetWidth() const { return m_pixels.width(); }
    int GetHeight() const { return m_pixels.height(); }
    const QString& ErrorText() const { return m_error; }

    // Hands the pixels over (to a CBitmap); the image holds none afterwards.
    QImage Detach();

private:
    // Decodes the reader's current page.
    bool Decode();

    std::unique_ptr<QImageReader> m_reader; // kept while pages are left
    QString m_name;
    QImage m_pixels;
    QString m_error;
    int m_pageCount = 0;
    int m_page = 0;
};
