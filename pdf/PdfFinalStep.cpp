#include "pdf/PdfFinalStep.h"

#include "pdf/ArchiveDocumentInfo.h"
#include "pdf/ArchiveFormat.h"
#include "pdf/EffectivePdfVersion.h"
#include "pdf/KeptJpegs.h"
#include "pdf/PdfEncryption.h"
#include "pdf/SpoolTextMaps.h"
#include "pdf/StandardFontEmbedder.h"
#include "pdf/TaggedPdfRepairs.h"
#include "pdf/TaggedPdfStructure.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace {

bool Encrypts(const ConversionSettings& settings, FinalSteps steps)
{
    if (steps == FinalSteps::Part)
        return false;
    return steps == FinalSteps::Combined || steps == FinalSteps::WithText || settings.tagged
               ? UsesEncryption(settings)
               : UsesAes(settings);
}

// The structure work of a tagged PDF: a PDF without structure is a
// picture's (an office document's comes tagged, a combined one from tagged
// parts).
void FinishTagged(QPDF& pdf, FinalSteps steps, const QString& name)
{
    const QString language = TaggedPdfStructure::UserLanguage();
    if (steps != FinalSteps::Combined && !pdf.getRoot().getKey("/StructTreeRoot").isDictionary())
        TaggedPdfStructure::TagPictures(pdf, name, language);
    TaggedPdfRepairs::DropDanglingContent(pdf);
    TaggedPdfRepairs::NestWidgets(pdf);
    TaggedPdfRepairs::TagArtifactPictures(pdf);
    TaggedPdfRepairs::TagLooseText(pdf);
    StandardFontEmbedder::EmbedStandardFonts(pdf);
    TaggedPdfStructure::Finish(pdf, name, language);
}

} // namespace

bool NeedsFinalStep(const ConversionSettings& settings, FinalSteps steps)
{
    if (settings.tagged)
        return true;
    if (steps == FinalSteps::Part)
        return false;
    return Encrypts(settings, steps) || IsArchive(settings);
}

bool RunFinalStep(const QString& input, const QString& output, const ConversionSettings& settings,
                  FinalSteps steps, QString* why, const QString& name, const SpoolTextMaps* textMaps)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(input).constData());
        if (settings.tagged)
            FinishTagged(pdf, steps, name);
        if (steps != FinalSteps::Part && (IsArchive(settings) || settings.tagged))
            WriteArchiveDocumentInfo(pdf, settings);
        if (keptjpegs::Kept(settings))
            keptjpegs::TrimDoubledEnds(pdf);
        if (textMaps)
            textMaps->Mend(pdf);
        // The writer keeps the name's pointer until it has written: the bytes must outlive it.
        const QByteArray outputName = QFile::encodeName(output);
        QPDFWriter writer(pdf, outputName.constData());
        writer.setObjectStreamMode(qpdf_o_preserve);
        if (settings.tagged)
            writer.setMinimumPDFVersion(EffectiveCompatibilityLevel(settings).toStdString());
        if (Encrypts(settings, steps) && !SetEncryption(writer, settings, why))
            return false;
        writer.write();
        return true;
    } catch (const std::exception& e) {
        *why = QString::fromLocal8Bit(e.what());
    }
    return false;
}
