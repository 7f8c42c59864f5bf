#include "pdf/PdfCombiner.h"

#include "pdf/CompletedPdf.h"
#include "pdf/TaggedPdfMerger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>
#include <vector>

namespace {

using Handle = QPDFObjectHandle;

// An object of a part, copied into the joined PDF; qpdf copies indirect
// objects only, so a direct one is made indirect in the part first.
Handle CopyFromPart(QPDF& result, QPDF& part, Handle object)
{
    return result.copyForeignObject(object.isIndirect() ? object : part.makeIndirectObject(object));
}

// The part's top-level bookmarks, copied into the joined PDF (their pages
// were copied before, so their destinations open the copied pages).
std::vector<Handle> CopyTopBookmarks(QPDF& result, QPDF& part)
{
    std::vector<Handle> items;
    Handle outlines = part.getRoot().getKey("/Outlines");
    if (!outlines.isDictionary())
        return items;
    for (Handle item = outlines.getKey("/First"); item.isDictionary(); item = item.getKey("/Next")) {
        items.push_back(result.copyForeignObject(item));
        if (items.size() > 100000)
            break; // a chain that loops
    }
    return items;
}

// Links items as the children of parent, closed.
void SetChildren(Handle parent, const std::vector<Handle>& items, bool open)
{
    if (items.empty())
        return;
    for (size_t i = 0; i < items.size(); ++i) {
        Handle item = items[i];
        item.replaceKey("/Parent", parent);
        if (i > 0)
            item.replaceKey("/Prev", items[i - 1]);
        else
            item.removeKey("/Prev");
        if (i + 1 < items.size())
            item.replaceKey("/Next", items[i + 1]);
        else
            item.removeKey("/Next");
    }
    parent.replaceKey("/First", items.front());
    parent.replaceKey("/Last", items.back());
    const auto count = static_cast<long long>(items.size());
    parent.replaceKey("/Count", Handle::newInteger(open ? count : -count));
}

} // namespace

bool PdfCombiner::Combine(const QList<Part>& parts, const QString& output, QString* why)
{
    if (parts.isEmpty()) {
        *why = QStringLiteral("There is no PDF to combine.");
        return false;
    }
    try {
        // The parts stay open until the result is written and gone: it reads
        // their streams.
        std::vector<std::unique_ptr<QPDF>> sources;
        QPDF result;
        result.emptyPDF();
        TaggedPdfMerger structure(result);
        std::vector<Handle> fileItems;
        std::string version = "1.3";
        int extension = 0;
        for (const Part& part : parts) {
            auto source = std::make_unique<QPDF>();
            source->setSuppressWarnings(true);
            source->processFile(QFile::encodeName(part.pdfPath).constData());
            if (source->getPDFVersion() > version ||
                (source->getPDFVersion() == version && source->getExtensionLevel() > extension)) {
                version = source->getPDFVersion();
                extension = source->getExtensionLevel();
            }
            if (sources.empty()) {
                // The first part's archival marks and information stand for the whole.
                Handle root = source->getRoot();
                for (const char* key : {"/OutputIntents", "/Metadata", "/Lang"}) {
                    if (root.hasKey(key))
                        result.getRoot().replaceKey(key, CopyFromPart(result, *source, root.getKey(key)));
                }
                Handle info = source->getTrailer().getKey("/Info");
                if (info.isDictionary())
                    result.getTrailer().replaceKey("/Info", CopyFromPart(result, *source, info));
            }
            Handle firstPage;
            const int pagesBefore = static_cast<int>(result.getAllPages().size());
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*source).getAllPages()) {
                result.addPage(page.getObjectHandle(), false);
                if (!firstPage.isInitialized())
                    firstPage = result.getAllPages().back();
            }
            structure.AddPart(*source, part.title, pagesBefore,
                              static_cast<int>(result.getAllPages().size()) - pagesBefore);
            Handle item = result.makeIndirectObject(Handle::newDictionary());
            item.replaceKey("/Title", Handle::newUnicodeString(part.title.toStdString()));
            if (firstPage.isInitialized())
                item.replaceKey("/Dest", Handle::newArray({firstPage, Handle::newName("/Fit")}));
            SetChildren(item, CopyTopBookmarks(result, *source), false);
            fileItems.push_back(item);
            sources.push_back(std::move(source));
        }
        Handle outlines = result.makeIndirectObject(Handle::newDictionary());
        outlines.replaceKey("/Type", Handle::newName("/Outlines"));
        SetChildren(outlines, fileItems, true);
        result.getRoot().replaceKey("/Outlines", outlines);
        result.getRoot().replaceKey("/PageMode", Handle::newName("/UseOutlines"));
        // A tagged whole is titled by its own name, not its first part's.
        if (structure.Tagged() && result.getTrailer().getKey("/Info").isDictionary())
            result.getTrailer().getKey("/Info").removeKey("/Title");

        // The writer keeps the name's pointer until it has written: the bytes must outlive it.
        const QByteArray outputName = QFile::encodeName(output);
        QPDFWriter writer(result, outputName.constData());
        writer.setMinimumPDFVersion(version, extension);
        writer.write();
        return true;
    } catch (const std::exception& e) {
        *why = QString::fromLocal8Bit(e.what());
    }
    return false;
}

bool PdfCombiner::MakeCombinedPdf(const QList<Part>& parts, const QString& finalPath,
                                  const ConversionSettings& settings, QString* why)
{
    QTemporaryFile joined;
    if (!MakeTemporaryPdfBeside(joined, finalPath, why))
        return false;
    bool folderFault = false;
    return Combine(parts, joined.fileName(), why) &&
           CompletePdf(joined, finalPath, settings, FinalSteps::Combined, why, &folderFault,
                       QFileInfo(finalPath).fileName());
}

std::unique_ptr<QTemporaryDir> PdfCombiner::PartsFolder(const QString& finalPath)
{
    return std::make_unique<QTemporaryDir>(
        QFileInfo(finalPath).dir().filePath(QStringLiteral(".foliant-parts-XXXXXX")));
}

QString PdfCombiner::PartPath(const QTemporaryDir& folder, qsizetype index)
{
    return folder.filePath(QStringLiteral("%1.pdf").arg(index));
}
