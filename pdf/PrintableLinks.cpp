#include "pdf/PrintableLinks.h"

#include "platform/LinkSafeFiles.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace {

constexpr int kPrintFlag = 4;

bool IsPdf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

} // namespace

bool MakeLinksPrintable(const QString& jobPath, QString* why)
{
    if (!IsPdf(jobPath))
        return true;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(jobPath).constData());
        bool changed = false;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
            for (QPDFAnnotationObjectHelper& annotation : page.getAnnotations("/Link")) {
                QPDFObjectHandle object = annotation.getObjectHandle();
                const int flags = annotation.getFlags();
                if (flags & kPrintFlag)
                    continue;
                object.replaceKey("/F", QPDFObjectHandle::newInteger(flags | kPrintFlag));
                changed = true;
            }
        }
        if (!changed)
            return true;
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.write();
        std::unique_ptr<Buffer> buffer(writer.getBuffer());
        const QByteArray bytes(reinterpret_cast<const char*>(buffer->getBuffer()),
                               static_cast<qsizetype>(buffer->getSize()));
        return LinkSafeFiles::Replace(jobPath, bytes, why);
    } catch (const std::exception& e) {
        *why = QString::fromLocal8Bit(e.what());
    }
    return false;
}
