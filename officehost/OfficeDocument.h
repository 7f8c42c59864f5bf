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
    // The import filter LibreOffice used.
    QString FilterName() const;
    // Every page (every sheet, every slide) into a PDF file. Without
    // transparency, what is see-through is flattened object by object, so
    // text stays text. A tagged job is written as the final PDF instead (see
    // TaggedExportOptions), with nothing flattened.
    bool ExportPdf(const QString& pdfPath, bool withoutTransparency, QString* why,
                   const TaggedExportJob& tagged = {});
    void Close();

private:
    std::unique_ptr<Impl> m_impl;
};
