#pragma once

#include "platform/TaggedExportJob.h"

#include <QString>

#include <memory>

// One document LibreOffice has open. Closed (without saving) when destroyed.
class OfficeDocument
{
public:
    enum class Kind { Text, Spreadsheet, Presentation, Other };

    struct Impl;
    explicit OfficeDocument(std::unique_ptr<Impl> impl);
    ~OfficeDocument();

    Kind DocumentKind() const;
    // The kind of the documents a filter's document service makes
    // ("com.sun.star.text.TextDocument", ...).
    static Kind KindOfService(const QString& documentService);
    // The import filter LibreOffice used.
    QString FilterName() const;
    // Kept: what is see-through stays so. Flattened: it is flattened object
    // by object, so text stays text. Sketched: flattened the same way, with
    // pictures and flattened areas at a low resolution: which text stays
    // text is decided by the shapes alone, so a sketch tells quickly whether
    // flattening keeps every word.
    enum class Transparency { Kept, Flattened, Sketched };
    // Every page (every sheet, every slide) into a PDF file. A tagged job is
    // written as the final PDF instead (see TaggedExportOptions), with
    // nothing flattened.
    // pageRange: only those pages ("3"), as LibreOffice numbers them.
    bool ExportPdf(const QString& pdfPath, Transparency transparency, QString* why,
                   const TaggedExportJob& tagged = {}, const QString& pageRange = {});
    // True for a presentation whose every slide is exported and has
    // pageCount slides: its PDF's page n is slide n, and a page range names
    // the same page in both.
    bool PagesAreSlides(qsizetype pageCount) const;
    void Close();

private:
    std::unique_ptr<Impl> m_impl;
};
