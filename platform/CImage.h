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

    // Opens the file and counts its pages without decoding any. False when
    // it is no picture that can be read; ErrorText() then says why. A
    // multi-page TIFF has its pages; every other format has one page (an
    // animation shows its first frame).
    bool Open(const QString& path);
    // Decodes a page (counting from 0) of the file Open opened, from the
    // file as it was opened: a document of many pages is opened and
    // scanned once, and its pages are read one after another. Pages come
    // in order; the file is let go once its last page is read. False when
    // the page cannot be decoded; ErrorText() then says why.
    bool LoadPage(int page);
    // Open, then the first page.
    bool Load(const QString& path);
    // The pages of the file last opened.
    int PageCount() const { return m_pageCount; }

    bool IsNull() const { return m_pixels.isNull(); }
    int GetWidth() const { return m_pixels.width(); }
    int GetHeight() const { return m_pixels.height(); }
    const QString& ErrorText() const { return m_error; }

    // Hands the pixels over (to a CBitmap); the image holds none afterwards.
    QImage Detach();

    // The file's own data when it is a JPEG, for a printer that takes JPEG
    // data as they are; empty for every other picture.
    const QByteArray& JpegData() const { return m_jpeg; }

private:
    std::unique_ptr<QImageReader> m_reader; // kept while pages are left
    QString m_name;
    QByteArray m_format;
    QImage m_pixels;
    QByteArray m_jpeg;
    QString m_error;
    int m_pageCount = 0;
    int m_nextPage = 0;
};
