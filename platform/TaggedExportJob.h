#pragma once

#include <QtGlobal>

// How the printer "Foliant" writes a tagged job: LibreOffice's own PDF is then
// the final PDF (structure tree, PDF/UA-1, form fields, bookmarks), made with
// the image and version choices the PDF step would otherwise apply.
struct TaggedExportJob
{
    bool tagged = false;
    // LibreOffice's SelectPdfVersion: 0 its default version, 2 PDF/A-2b.
    qint32 pdfVersion = 0;
    // JPEG quality (1 to 100) of pictures that are not kept losslessly.
    qint32 imageQuality = 90;
    bool losslessImages = true;

    bool operator==(const TaggedExportJob&) const = default;
};
