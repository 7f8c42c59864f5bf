#include "pdf/PdfFinalStep.h"

#include "pdf/ArchiveDocumentInfo.h"
#include "pdf/ArchiveFormat.h"
#include "pdf/KeptJpegs.h"
#include "pdf/PdfEncryption.h"
#include "pdf/SpoolTextMaps.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace {

bool Encrypts(const ConversionSettings& settings, FinalSteps steps)
{
    return steps == FinalSteps::Combined || steps == FinalSteps::WithText ? UsesEncryption(settings)
                                                                          : UsesAes(settings);
}

} // namespace

bool NeedsFinalStep(const ConversionSettings& settings, FinalSteps steps)
{
    if (steps == FinalSteps::Part)
        return false;
    return Encrypts(settings, steps) || IsArchive(settings);
}

bool RunFinalStep(const QString& input, const QString& output, const ConversionSettings& settings,
                  FinalSteps steps, QString* why, const SpoolTextMaps* textMaps)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(input).constData());
        if (IsArchive(settings))
            WriteArchiveDocumentInfo(pdf, settings);
        if (keptjpegs::Kept(settings))
            keptjpegs::TrimDoubledEnds(pdf);
        if (textMaps)
            textMaps->Mend(pdf);
        // The writer keeps the name's pointer until it has written: the bytes must outlive it.
        const QByteArray outputName = QFile::encodeName(output);
        QPDFWriter writer(pdf, outputName.constData());
        writer.setObjectStreamMode(qpdf_o_preserve);
        if (Encrypts(settings, steps) && !SetEncryption(writer, settings, why))
            return false;
        writer.write();
        return true;
    } catch (const std::exception& e) {
        *why = QString::fromLocal8Bit(e.what());
    }
    return false;
}
