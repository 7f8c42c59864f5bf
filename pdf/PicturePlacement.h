#pragma once

#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <optional>

// Where a picture stands on a PDF page: the largest image the page's content
// draws, found by following the content's transformations. The image's unit
// square is mapped onto the page by matrix; its samples are width by height.
struct PicturePlacement
{
    QPDFMatrix matrix;
    int width = 0;
    int height = 0;

    // The page's picture; none when the page draws no image.
    static std::optional<PicturePlacement> Find(QPDFPageObjectHelper& page);

    // The picture's width on the page, in points.
    double WidthPoints() const;
};
