#include "pdf/PictureTextStep.h"

#include "pdf/PicturePlacement.h"
#include "pdf/PictureTextLayer.h"
#include "platform/CImage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>
#include <exception>

struct PictureTextStep::PageText
{
    TextRecognizer::Result::Status status = TextRecognizer::Result::Status::Failed;
    QString textPdf; // the words found, when any
    QString reason;  // why there are none
};

namespace {

// The pages a notice names: "2", "2 and 3", "2, 3 and 5".
QString PageList(const QList<int>& pages)
{
    QStringList numbers;
    for (int page : pages)
        numbers << QString::number(page + 1);
    if (numbers.size() < 2)
        return numbers.value(0);
    const QString last = numbers.takeLast();
    return numbers.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// Why pages gave no text: one reason when they share it, else one line a page.
QString Reasons(const QList<int>& pages, const QStringList& reasons, bool manyPages)
{
    QStringList distinct;
    for (const QString& reason : reasons)
        if (!distinct.contains(reason))
            distinct << reason;
    if (distinct.size() == 1 || !manyPages)
        return distinct.join(u' ');
    QStringList lines;
    for (qsizetype i = 0; i < pages.size(); ++i)
        lines << QStringLiteral("Page %1: %2").arg(pages[i] + 1).arg(reasons[i]);
    return lines.join(u'\n');
}

} // namespace

PictureTextStep::PictureTextStep(const TextRecognizer& recognizer, const QString& workFolder)
    : m_recognizer(recognizer), m_workFolder(workFolder)
{
}

PictureTextStep::PageText PictureTextStep::ReadPage(CImage& image, int index,
                                                    const PicturePlacement& picture) const
{
    PageText page;
    // The picture as the printer drew it: decoded the same way, and only
    // the part that reached the page (a picture taller than the page is cut
    // off at its foot).
    if (!image.LoadPage(index)) {
        page.reason = image.ErrorText();
        return page;
    }
    QImage pixels = image.Detach();
    if (picture.width > pixels.width() || picture.height > pixels.height()) {
        page.reason = QStringLiteral("The page does not show the picture of the file.");
        return page;
    }
    if (picture.width < pixels.width() || picture.height < pixels.height())
        pixels = pixels.copy(0, 0, picture.width, picture.height);
    // Tesseract reads grey levels; an uncompressed file is the quickest to
    // write and to read.
    pixels.convertTo(QImage::Format_Grayscale8);
    const QDir work(m_workFolder);
    const QString pagePicture = work.filePath(QStringLiteral("page-%1.pgm").arg(index + 1));
    if (!pixels.save(pagePicture, "PGM")) {
        page.reason = QStringLiteral("The page's picture could not be written for Tesseract into %1.")
                          .arg(m_workFolder);
        return page;
    }
    pixels = QImage();
    const double widthPoints = picture.WidthPoints();
    const int dpi = widthPoints > 0 ? int(std::lround(picture.width * 72.0 / widthPoints)) : 300;
    const TextRecognizer::Result result = m_recognizer.Recognize(
        pagePicture, dpi, work.filePath(QStringLiteral("page-%1").arg(index + 1)), m_workFolder);
    QFile::remove(pagePicture);
    page.status = result.status;
    page.reason = result.reason;
    if (result.status == TextRecognizer::Result::Status::Recognized) {
        if (result.words)
            page.textPdf = result.textPdf;
        else
            page.reason = QStringLiteral("Tesseract found no words in the picture.");
    }
    return page;
}

PictureTextStep::Outcome PictureTextStep::Run(const QString& pdfPath, const QString& picturePath,
                                              const QString& outputPath)
{
    Outcome outcome;
    const QString name = QFileInfo(picturePath).fileName();
    QList<int> failedPages; // read with an error: no text, and the user told why
    QStringList failures;
    QList<int> emptyPages; // read, and no word found
    QStringList emptyReasons;
    int laid = 0;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(pdfPath).constData());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        PictureTextLayer layer(pdf);
        // The picture file is opened once and its pages read one after
        // another, as the printer read them.
        CImage image;
        const bool opened = image.Open(picturePath);
        const QString openFailure = image.ErrorText();
        for (int index = 0; index < int(pages.size()); ++index) {
            const std::optional<PicturePlacement> picture = PicturePlacement::Find(pages[index]);
            if (!picture) {
                failedPages << index;
                failures << QStringLiteral("The page shows no picture.");
                continue;
            }
            PageText page;
            if (opened)
                page = ReadPage(image, index, *picture);
            else
                page.reason = openFailure;
            if (page.status == TextRecognizer::Result::Status::Stopped) {
                outcome.status = Outcome::Status::Stopped;
                return outcome;
            }
            if (!page.textPdf.isEmpty()) {
                layer.Lay(pages[index], *picture, page.textPdf);
                ++laid;
            } else if (page.status == TextRecognizer::Result::Status::Recognized) {
                emptyPages << index;
                emptyReasons << page.reason;
            } else {
                failedPages << index;
                failures << page.reason;
            }
        }
        const bool manyPages = pages.size() > 1;
        if (laid == 0) {
            // Nothing found anywhere: why, from the pages that failed, else
            // because there were no words.
            const bool failed = !failedPages.isEmpty();
            outcome.notice = QStringLiteral("No text could be recognised in %1.\n%2")
                                 .arg(name, Reasons(failed ? failedPages : emptyPages,
                                                    failed ? failures : emptyReasons, manyPages));
            return outcome;
        }
        if (!failedPages.isEmpty())
            outcome.notice = QStringLiteral("No text could be recognised on page%1 %2 of %3.\n%4")
                                 .arg(failedPages.size() > 1 ? QStringLiteral("s") : QString(),
                                      PageList(failedPages), name, Reasons(failedPages, failures, true));
        const QByteArray output = QFile::encodeName(outputPath);
        QPDFWriter writer(pdf, output.constData());
        writer.setObjectStreamMode(qpdf_o_preserve);
        writer.write();
        outcome.status = Outcome::Status::Written;
    } catch (const std::exception& e) {
        outcome.status = Outcome::Status::Unchanged;
        outcome.notice =
            QStringLiteral("No text could be recognised in %1.\nThe words could not be laid over "
                           "the picture: %2")
                .arg(name, QString::fromLocal8Bit(e.what()));
    }
    return outcome;
}
