#include "pdf/TaggedOfficePdf.h"

#include "pdf/CompletedPdf.h"
#include "pdf/TaggedPdfStructure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

PdfOutcome Failed(PdfOutcome::Failure kind, const QString& pdfPath, const QString& reason)
{
    PdfOutcome outcome;
    outcome.failure = kind;
    outcome.pdfPath = pdfPath;
    outcome.reason = reason;
    return outcome;
}

} // namespace

PdfOutcome MakeTaggedOfficePdf(const QString& spoolPath, const QString& finalPath,
                               const ConversionSettings& settings, bool part, const QString& name)
{
    if (!TaggedPdfStructure::HasStructure(spoolPath))
        return Failed(PdfOutcome::Failure::ToolFailed, finalPath,
                      QStringLiteral("LibreOffice wrote no tagged PDF."));
    const QFileInfo target(finalPath);
    if (!target.dir().exists())
        return Failed(PdfOutcome::Failure::OutputFolder, finalPath,
                      QStringLiteral("The output folder %1 does not exist.").arg(target.absolutePath()));
    QString why;
    QTemporaryFile written;
    if (!MakeTemporaryPdfBeside(written, finalPath, &why))
        return Failed(PdfOutcome::Failure::OutputFolder, finalPath, why);
    QFile spool(spoolPath);
    QFile copy(written.fileName());
    if (!spool.open(QIODevice::ReadOnly) || !copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failed(PdfOutcome::Failure::ScratchFiles, finalPath,
                      QStringLiteral("The print job could not be read: %1").arg(spool.errorString()));
    while (!spool.atEnd()) {
        const QByteArray block = spool.read(1 << 20);
        if (block.isEmpty() || copy.write(block) != block.size())
            return Failed(PdfOutcome::Failure::OutputFolder, finalPath,
                          QStringLiteral("Cannot write into the folder %1: %2")
                              .arg(target.absolutePath(), copy.errorString()));
    }
    copy.close();
    bool folderFault = false;
    PdfOutcome outcome = Failed(PdfOutcome::Failure::ToolFailed, finalPath, QString());
    if (!CompletePdf(written, finalPath, settings, part ? FinalSteps::Part : FinalSteps::OneFile,
                     &outcome.reason, &folderFault, name)) {
        if (folderFault)
            outcome.failure = PdfOutcome::Failure::OutputFolder;
        return outcome;
    }
    outcome.failure = PdfOutcome::Failure::None;
    outcome.made = true;
    return outcome;
}
