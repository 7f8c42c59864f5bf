#include "pdf/CompletedPdf.h"

#include "pdf/KeptJpegs.h"
#include "pdf/PdfFinalStep.h"
#include "pdf/SpoolTextMaps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>

namespace {

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

bool MakeTemporaryPdfBeside(QTemporaryFile& file, const QString& finalPath, QString* why)
{
    const QFileInfo target(finalPath);
    file.setFileTemplate(target.dir().filePath(QStringLiteral(".foliant-XXXXXX.pdf")));
    if (!file.open()) {
        *why = QStringLiteral("Cannot write into the folder %1: %2")
                   .arg(target.absolutePath(), file.errorString());
        return false;
    }
    file.close();
    return true;
}

bool CompletePdf(QTemporaryFile& written, const QString& finalPath, const ConversionSettings& settings,
                 FinalSteps steps, QString* why, bool* folderFault, const QString& documentName,
                 const SpoolTextMaps* textMaps)
{
    *folderFault = true;
    QTemporaryFile finished;
    QTemporaryFile* complete = &written;
    if (NeedsFinalStep(settings, steps) || (textMaps && !textMaps->IsEmpty()) ||
        (keptjpegs::Kept(settings) && keptjpegs::HasDoubledEnds(written.fileName()))) {
        if (!MakeTemporaryPdfBeside(finished, finalPath, why))
            return false;
        if (!RunFinalStep(written.fileName(), finished.fileName(), settings, steps, why, documentName,
                          textMaps)) {
            *folderFault = false;
            *why = QStringLiteral("The PDF could not be finished: %1").arg(*why);
            return false;
        }
        complete = &finished;
    }
    const QByteArray name = QFile::encodeName(complete->fileName());
    ::chmod(name.constData(), 0666 & ~CurrentUmask());
    if (std::rename(name.constData(), QFile::encodeName(finalPath).constData()) != 0) {
        *why = QStringLiteral("Cannot rename the finished PDF to %1.").arg(finalPath);
        return false;
    }
    complete->setAutoRemove(false);
    return true;
}
