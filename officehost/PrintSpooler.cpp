#include "officehost/PrintSpooler.h"

#include "officehost/OfficeDocument.h"
#include "platform/PdfDrawingFacts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

using Transparency = OfficeDocument::Transparency;

// The job exported into path as asked, and what that draws; unread when
// the export failed.
PdfDrawingFacts Exported(OfficeDocument& document, const QString& path, Transparency transparency,
                         const QString& pageRange = {})
{
    QString ignored;
    return document.ExportPdf(path, transparency, &ignored, {}, pageRange) ? PdfDrawingFacts::Read(path)
                                                                           : PdfDrawingFacts{};
}

// What one slide of a presentation, sketched on its own, says of the deck.
enum class SlideAnswer { None, KeepsText, LosesText };

// Sketches into sketchPath the first slide that shows text and transparency,
// and compares its text with the slide's plain page. A deck that loses its
// words flattened often loses them on every slide (a coloured background
// joins each slide's see-through shapes and text into one picture): that
// slide answers for the deck before all of it is flattened. A slide that
// keeps its words says the deck is worth flattening whole at once; the
// full flattening is held against every word of the deck anyway.
SlideAnswer SketchedSlide(OfficeDocument& document, const PdfDrawingFacts& plain, const QString& sketchPath)
{
    const auto& pages = plain.pages;
    const auto first = std::find_if(pages.begin(), pages.end(), [](const PdfDrawingFacts::Page& page) {
        return page.transparency && page.shownTextBytes > 0;
    });
    if (pages.size() < 2 || first == pages.end() || !document.PagesAreSlides(qsizetype(pages.size())))
        return SlideAnswer::None;
    const PdfDrawingFacts sketched =
        Exported(document, sketchPath, Transparency::Sketched, QString::number(first - pages.begin() + 1));
    // Anything else than one page of that slide, flattened, answers nothing.
    if (!sketched.read || sketched.transparency || sketched.pages.size() != 1)
        return SlideAnswer::None;
    return sketched.shownTextBytes < first->shownTextBytes ? SlideAnswer::LosesText : SlideAnswer::KeepsText;
}

} // namespace

PrintSpooler::PrintSpooler(QObject* parent) : QObject(parent) {}

PrintSpooler::~PrintSpooler()
{
    // A job's thread must not outlive the spooler, nor the office it uses.
    for (QThread* job : findChildren<QThread*>())
        job->wait();
}

bool PrintSpooler::JobsWithoutTransparency() const
{
    // Versions "1.0" to "1.3"; later ones draw transparency themselves.
    return m_pdfLevel.size() == 3 && m_pdfLevel.startsWith(QLatin1String("1.")) &&
           m_pdfLevel.back() < QLatin1Char('4');
}

bool PrintSpooler::Export(OfficeDocument& document, const QString& partPath, bool withoutTransparency,
                          QString* why, const TaggedExportJob& tagged)
{
    if (!document.ExportPdf(partPath, Transparency::Kept, why, tagged))
        return false;
    if (!withoutTransparency || tagged.tagged)
        return true;
    if (!PdfDrawingFacts::Read(partPath, false).transparency)
        return true;
    const PdfDrawingFacts plain = PdfDrawingFacts::Read(partPath);
    // Flattened, a see-through object takes in what it overlaps, text too.
    // The flattened job is kept only when it shows every byte of text the
    // plain one shows; otherwise the job keeps its transparency and the PDF
    // step writes it at the least version that holds it. A sketch answers
    // first, often at a fraction of the cost of flattening at full
    // resolution, unless a slide's sketch already answered; a job that shows
    // no text has none to lose.
    const QFileInfo part(partPath);
    QTemporaryFile flat(part.absoluteDir().filePath(QStringLiteral("%1-flat-XXXXXX").arg(part.fileName())));
    if (!flat.open())
        return true;
    flat.close();
    auto keepsText = [&](Transparency transparency) {
        const PdfDrawingFacts flattened = Exported(document, flat.fileName(), transparency);
        return flattened.read && !flattened.transparency && flattened.shownTextBytes >= plain.shownTextBytes;
    };
    const SlideAnswer slide = plain.read && plain.shownTextBytes > 0
                                  ? SketchedSlide(document, plain, flat.fileName())
                                  : SlideAnswer::None;
    if (slide == SlideAnswer::LosesText)
        return true;
    const bool sketchAnswers = plain.shownTextBytes > 0 && slide == SlideAnswer::None;
    if (plain.read && (!sketchAnswers || keepsText(Transparency::Sketched)) &&
        keepsText(Transparency::Flattened) &&
        std::rename(QFile::encodeName(flat.fileName()).constData(),
                    QFile::encodeName(partPath).constData()) == 0)
        flat.setAutoRemove(false);
    return true;
}

bool PrintSpooler::Finish(bool exported, const QString& partPath, const QString& printFile, QString* why)
{
    const QByteArray part = QFile::encodeName(partPath);
    // rename() puts the complete job in place of whatever stands at the
    // name, a link included, and never writes through it.
    if (exported && std::rename(part.constData(), QFile::encodeName(printFile).constData()) == 0)
        return true;
    if (exported)
        *why = QStringLiteral("The print file %1 could not be written.").arg(printFile);
    QFile::remove(partPath);
    return false;
}

bool PrintSpooler::Print(const std::shared_ptr<OfficeDocument>& document, const QString& printFile,
                         bool background, QString* why)
{
    const QFileInfo target(printFile);
    const QString targetPath = target.absoluteFilePath();
    // The job is written under a name of its own beside the print file,
    // made new and exclusively (never a name someone left there). An
    // unwritable folder fails the print request itself, as a printer's would.
    QTemporaryFile part(target.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX").arg(target.fileName())));
    if (!part.open()) {
        *why = QStringLiteral("The print file %1 could not be written.").arg(printFile);
        return false;
    }
    part.setAutoRemove(false);
    const QString partPath = part.fileName();
    part.close();
    // Whatever an earlier job left there goes now: a job that fails leaves no
    // print file at all, never the previous document's.
    QFile::remove(targetPath);

    const bool flatten = JobsWithoutTransparency();
    const TaggedExportJob tagged = m_taggedExport;
    if (!background)
        return Finish(Export(*document, partPath, flatten, why, tagged), partPath, targetPath, why);

    // The thread only uses the document; the job holds it, and lets go of it
    // on this thread once the file is in place.
    auto job = std::make_shared<QString>();
    OfficeDocument* rendered = document.get();
    QThread* thread = QThread::create([rendered, partPath, flatten, tagged, job] {
        if (Export(*rendered, partPath, flatten, job.get(), tagged))
            job->clear();
        else if (job->isEmpty())
            *job = QStringLiteral("LibreOffice could not render the document.");
    });
    thread->setParent(this);
    ++m_running;
    connect(thread, &QThread::finished, this, [this, thread, document, job, partPath, targetPath]() {
        QString failure = *job;
        if (!Finish(failure.isEmpty(), partPath, targetPath, &failure))
            qWarning("Background print failed: %s", qPrintable(failure));
        --m_running;
        thread->deleteLater();
    });
    thread->start();
    return true;
}

bool PrintSpooler::WaitForAll(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (m_running > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    return m_running == 0;
}
