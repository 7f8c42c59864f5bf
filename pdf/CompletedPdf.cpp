#include "pdf/CompletedPdf.h"

#include "pdf/PdfFinalStep.h"

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

bool CompletePdf(QTemporaryFile& written, const QString& finalPath, const ConversionSettings& settings,
                 FinalSteps steps, QString* why, bool* folderFault)
{
    *folderFault = true;
    QTemporaryFile finished(
        QFileInfo(written.fileName()).dir().filePath(QStringLiteral(".foliant-XXXXXX.pdf")));
    QTemporaryFile* complete = &written;
    if (NeedsFinalStep(settings, steps)) {
        if (!finished.open()) {
            *why = QStringLiteral("Cannot write into the folder %1: %2")
                       .arg(QFileInfo(finalPath).absolutePath(), finished.errorString());
            return false;
        }
        finished.close();
        if (!RunFinalStep(written.fileName(), finished.fileName(), settings, steps, why)) {
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
