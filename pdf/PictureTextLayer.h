#pragma once

#include "pdf/PicturePlacement.h"

#include <QString>

#include <qpdf/QPDF.hh>

#include <memory>
#include <vector>

// Lays the words of text-only PDFs (one page each, the size of the picture
// they were read from) over the pictures of a PDF's pages: their text is
// drawn after the page's own content, stretched onto the picture's place,
// so every word lies over the word it was read from, and their fonts join
// the page's resources. The page's own content is left as it is. Keep the
// layer until the PDF is written: the fonts are read from the text PDFs
// then. Failures are qpdf's exceptions.
class PictureTextLayer
{
public:
    explicit PictureTextLayer(QPDF& pdf) : m_pdf(pdf) {}

    void Lay(QPDFPageObjectHelper& page, const PicturePlacement& picture, const QString& textPdf);

private:
    QPDF& m_pdf;
    std::vector<std::unique_ptr<QPDF>> m_texts;
};
