#pragma once

#include "pdf/ConversionSettings.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Joins the PDFs of a run into one, in the order given: every page of each,
// and one bookmark per part, titled with the part's title, that opens its
// first page and holds the part's own bookmarks beneath it. The first part's
// output intent, XMP metadata and document information carry over, so
// archival parts give an archival whole.
class PdfCombiner
{
public:
    struct Part
    {
        QString pdfPath;
        QString title; // the source file's name
    };

    // Asked between parts and while the result is written: true ends the
    // joining at once (the run was stopped).
    using StopCheck = std::function<bool()>;

    // Writes the joined PDF to output; false, with *why, when a part cannot
    // be read, the result cannot be written, or stopped says so.
    static bool Combine(const QList<Part>& parts, const QString& output, QString* why,
                        const StopCheck& stopped = {});

    // The combined PDF at finalPath, finished as the settings ask (document
    // information, encryption at any level); it appears under its name only
    // when complete, and an older PDF there is replaced only then. Stopped,
    // it leaves nothing: no PDF and no partial file.
    static bool MakeCombinedPdf(const QList<Part>& parts, const QString& finalPath,
                                const ConversionSettings& settings, QString* why,
                                const StopCheck& stopped = {});

    // The folder of a run's parts, beside the combined PDF at finalPath so
    // they are on its disk; it goes with everything in it when destroyed.
    // Its isValid() says whether it could be made.
    static std::unique_ptr<QTemporaryDir> PartsFolder(const QString& finalPath);
    // Where the part of the run's file at index is written in folder.
    static QString PartPath(const QTemporaryDir& folder, qsizetype index);
};
