#include "cli/BatchRun.h"

#include "cli/CliPage.h"
#include "cli/ConversionReport.h"
#include "cli/ProgressLine.h"
#include "cli/SourceFiles.h"
#include "cli/StopSignals.h"
#include "converters/FileKinds.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmGhostscriptConnection.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A job of the run: its page, with the file's time limit.
class CliJob : public ConversionRun::Job
{
public:
    CliJob(const CliOptions& options, const std::atomic<bool>& stopped)
        : m_page(options.settings, options.openPassword, stopped), m_timeoutSeconds(options.timeoutSeconds)
    {
    }

    CliPage& Page() override { return m_page; }
    void BeginFile(const FileResult& file, const QString& partPath) override
    {
        m_page.BeginFile(file.outputFolder, m_timeoutSeconds, partPath);
    }
    void SetPrintTurn(std::function<bool()> take, std::function<void()> printed) override
    {
        m_page.SetPrintTurn(std::move(take), std::move(printed));
    }
    bool EndFile(bool converted, FileResult* file) override
    {
        const bool made = converted && m_page.PdfMade();
        file->seconds = m_page.Seconds();
        m_page.EndFile();
        if (made) {
            file->reason = m_page.Notice(); // what the user is told about the PDF made
            file->pdfVersion = m_page.PdfVersion();
        } else {
            file->reason = m_page.Reason();
            if (file->reason.isEmpty())
                file->reason = QStringLiteral("It was not converted.");
        }
        return made;
    }

private:
    CliPage m_page;
    const int m_timeoutSeconds;
};

} // namespace

BatchRun::BatchRun(const CliOptions& options, ConverterSet converters)
    : m_options(options), m_converters(std::move(converters))
{
    m_files =
        SourceFiles(options.inputs, options.recursive, options.outputFolder, !options.combinedPath.isEmpty());
    if (!options.combinedPath.isEmpty())
        for (FileResult& file : m_files)
            file.pdf = options.combinedPath;
}

bool BatchRun::PrepareCombined()
{
    const QString& combined = m_options.combinedPath;
    if (!QFileInfo::exists(combined) || m_options.existing == CliOptions::Existing::Overwrite)
        return true;
    const bool skip = m_options.existing == CliOptions::Existing::Skip;
    const QString reason =
        skip ? QStringLiteral("The combined PDF exists already.")
             : QStringLiteral("The combined PDF %1 exists already (give --overwrite or --skip-existing).")
                   .arg(combined);
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending) {
            file.status = skip ? FileResult::Status::Skipped : FileResult::Status::Failed;
            file.reason = reason;
        }
    return false;
}

QString BatchRun::Refusal(const FileResult& file)
{
    const QFileInfo source(file.source);
    if (!source.exists())
        return QStringLiteral("It does not exist.");
    if (!source.isFile())
        return QStringLiteral("It is not a file.");
    if (!filekinds::Find(file.source))
        return QStringLiteral("It is not of a kind this program converts.");
    // A combined run writes only parts and the one PDF: no folder of its own per source folder.
    if (m_options.combinedPath.isEmpty() && !QDir().mkpath(file.outputFolder))
        return QStringLiteral("The folder %1 cannot be made.").arg(file.outputFolder);
    return {};
}

bool BatchRun::Stopped()
{
    // A signal is seen at once, also while the parts are being joined.
    return m_stopped || StopSignals::Received() != 0;
}

ConversionRun::Existing BatchRun::AlreadyExists(const FileResult& file, QString* reason)
{
    switch (m_options.existing) {
    case CliOptions::Existing::Skip:
        *reason = QStringLiteral("Its PDF exists already.");
        return ConversionRun::Existing::Skip;
    case CliOptions::Existing::Fail:
        *reason =
            QStringLiteral("Its PDF %1 exists already (give --overwrite or --skip-existing).").arg(file.pdf);
        return ConversionRun::Existing::Fail;
    case CliOptions::Existing::Overwrite:
        break;
    }
    return ConversionRun::Existing::Replace;
}

void BatchRun::Done(qsizetype index, const FileResult&)
{
    QMutexLocker lock(&m_finishedMutex);
    m_finished << index;
}

void BatchRun::CombinedNotMade(const QString& path, const QString& why)
{
    std::fprintf(stderr, "foliant-convert: %s: %s\n", qPrintable(path), qPrintable(why));
}

void BatchRun::Print(const FileResult& file)
{
    switch (file.status) {
    case FileResult::Status::Made: {
        // What the user is told about a PDF made follows on its line.
        const QString notice =
            file.reason.isEmpty() ? QString() : QStringLiteral(": ") + file.reason.simplified();
        std::fprintf(stdout, "made %s -> %s (PDF %s, %.1f s)%s\n", qPrintable(file.source),
                     qPrintable(file.pdf), qPrintable(file.pdfVersion), file.seconds, qPrintable(notice));
        break;
    }
    case FileResult::Status::Skipped:
        std::fprintf(stdout, "skipped %s: %s\n", qPrintable(file.source), qPrintable(file.reason));
        break;
    default:
        std::fprintf(stderr, "foliant-convert: %s: %s\n", qPrintable(file.source), qPrintable(file.reason));
        break;
    }
    std::fflush(stdout);
}

int BatchRun::Run()
{
    const StopSignals stopSignals;
    ProgressLine progress;
    const int total = static_cast<int>(m_files.size());
    const int jobCount = qMax(1, qMin(m_options.jobs, total));
    // One job leaves a core idle while Ghostscript runs: a second page makes
    // the PDF of the file printed while the first prints the next, and no
    // more than one file prints at once. Several jobs already keep the
    // office and Ghostscript busy side by side; more pages would only crowd
    // the cores (measured: no gain with two).
    const int pageCount = jobCount == 1 ? qMin(2, total) : jobCount;

    const bool combining = !m_options.combinedPath.isEmpty();
    const bool prepared = !combining || PrepareCombined();
    ConversionRun run(m_converters, m_files, m_options.combinedPath, *this);
    std::vector<std::unique_ptr<CliJob>> jobs;
    std::vector<ConversionRun::Job*> pages;
    for (int i = 0; i < (prepared ? pageCount : 0); ++i) {
        jobs.push_back(std::make_unique<CliJob>(m_options, m_stopped));
        pages.push_back(jobs.back().get());
    }

    // A line per file as it finishes: with one job in list order (the next
    // file may be done before the one in Ghostscript), with more in the
    // order files finish.
    const bool inListOrder = m_options.jobs <= 1;
    std::vector<bool> finishedAhead(m_files.size(), false);
    qsizetype nextInOrder = 0;
    std::vector<bool> printed(m_files.size(), false);
    int signal = 0;
    int done = 0;
    auto printLine = [&](qsizetype i) {
        progress.Clear();
        Print(run.Files()[i]);
        printed[i] = true;
        ++done;
    };
    auto flush = [&] {
        QList<qsizetype> finished;
        {
            QMutexLocker lock(&m_finishedMutex);
            finished.swap(m_finished);
        }
        for (qsizetype i : finished) {
            if (inListOrder)
                finishedAhead[i] = true;
            else
                printLine(i);
        }
        for (; inListOrder && nextInOrder < m_files.size() && finishedAhead[nextInOrder]; ++nextInOrder)
            printLine(nextInOrder);
        progress.Show(done, total);
    };
    if (prepared)
        run.Run(
            pages,
            [&] {
                if (!signal && StopSignals::Received()) {
                    signal = StopSignals::Received();
                    m_stopped = true;
                    for (const auto& job : jobs)
                        job->Page().EndCurrentProgram();
                }
                for (const auto& job : jobs)
                    job->Page().EndIfOverdue();
                flush();
            },
            jobCount);
    jobs.clear(); // each page removes its scratch files
    // A run leaves nothing running: its warm Ghostscripts end with it.
    WarmGhostscriptConnection::Instance().End();
    // An office host ended by a stop or a time limit could not remove its own.
    ScratchFolder::RemoveLeftovers(ScratchFolder::kOfficeHostPrefix);
    flush();
    m_files = run.Files();
    for (qsizetype i = 0; i < m_files.size(); ++i)
        if (!printed[i]) {
            progress.Clear();
            Print(m_files[i]);
        }
    progress.Clear();

    // A combined PDF that cannot be made fails every file in it.
    if (combining && prepared) {
        run.Combine();
        m_files = run.Files();
    }
    // The jobs see a signal at once and may all end before the watch looks
    // again; a stop while joining leaves no combined PDF either.
    if (!signal)
        signal = StopSignals::Received();

    int failed = 0;
    for (const FileResult& file : m_files)
        failed += file.status == FileResult::Status::Failed || file.status == FileResult::Status::Stopped;
    if (!m_options.reportPath.isEmpty()) {
        QString error;
        if (!WriteConversionReport(m_options.reportPath, m_files, &error)) {
            std::fprintf(stderr, "foliant-convert: the report %s cannot be written: %s\n",
                         qPrintable(m_options.reportPath), qPrintable(error));
            ++failed;
        }
    }
    if (signal)
        return 128 + signal;
    if (failed)
        std::fprintf(stderr, "foliant-convert: %d of %d files not converted.\n", failed, total);
    return failed ? 1 : 0;
}
