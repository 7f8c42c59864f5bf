#include "pdf/TaggedPdf.h"

#include "pdf/ArchiveFormat.h"
#include "pdf/GhostscriptCommandLine.h"

#include <QFile>

#include <cmath>

namespace taggedpdf {

int ImageQuality(JpegQuality jpegQuality)
{
    // Ghostscript's QFactor scales the standard tables as the JPEG library's
    // quality q does: by 50 / q below 50, by (200 - 2q) / 100 above.
    const double factor = QualityFactor(jpegQuality);
    const double quality = factor > 1.0 ? 50.0 / factor : 100.0 - 50.0 * factor;
    return qBound(1, static_cast<int>(std::lround(quality)), 100);
}

TaggedExportJob ExportJobFor(const ConversionSettings& settings)
{
    TaggedExportJob job;
    job.tagged = settings.tagged;
    job.pdfVersion = IsArchive(settings) ? 2 : 0;
    job.losslessImages = settings.imageCompression == ImageCompression::Flate;
    job.imageQuality = ImageQuality(settings.jpegQuality);
    return job;
}

bool IsPdfFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace taggedpdf
