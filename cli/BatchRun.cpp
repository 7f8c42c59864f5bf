#include "cli/BatchRun.h"

#include "cli/CliPage.h"
#include "cli/ConversionReport.h"
#include "cli/ProgressLine.h"
#include "cli/SourceFiles.h"
#include "cli/StopSignals.h"
#include "converters/FileKinds.h"
#include "pdf/PdfCombiner.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmOfficeConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QThread>

#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kPollMs = 50;

struct JobSlot
{
    std::unique_ptr<CliPage> page;
    std::thread thread;
    std::atomic<bool> done{false};
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
    QString reason;
    FileResult::Status status = FileResult::Status::Failed;
    if (QFileInfo::exists(combined) && m_options.existing != CliOptions::Existing::Overwrite) {
        const bool skip = m_options.existing == CliOptions::Existing::Skip;
        status = skip ? FileResult::Status::Skipped : FileResult::Status::Failed;
        reason =
            skip ? QStringLiteral("The combined PDF exists already.")
                 : QStringLiteral("The combined PDF %1 exists already (give --overwrite or --skip-existing).")
                       .arg(combined);
    } else {
        m_parts = PdfCombiner::PartsFolder(combined);
        if (m_parts->isValid())
            return true;
        reason = QStringLiteral("No folder for the parts can be made beside %1: %2")
                     .arg(combined, m_parts->errorString());
    }
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending) {
            file.status = status;
            file.reason = reason;
        }
    return false;
}

bool BatchRun::MakeCombined()
{
    QList<PdfCombiner::Part> parts;
    for (qsizetype i = 0; i < m_files.size(); ++i)
        if (m_files[i].status == FileResult::Status::Made)
            parts.append({PdfCombiner::PartPath(*m_parts, i), QFileInfo(m_files[i].source).fileName()});
    QString why;
    const bool made = parts.isEmpty() ||
                      PdfCombiner::MakeCombinedPdf(parts, m_options.combinedPath, m_options.settings, &why);
    m_parts.reset();
    if (made)
        return true;
    std::fprintf(stderr, "foliant-convert: %s: %s\n", qPrintable(m_options.combinedPath), qPrintable(why));
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Made) {
            file.status = FileResult::Status::Failed;
            file.reason = QStringLiteral("The combined PDF could not be made: %1").arg(why);
        }
    return false;
}

void BatchRun::ConvertFile(CliPage& page, qsizetype index)
{
    FileResult& file = m_files[index];
    const bool combining = !m_options.combinedPath.isEmpty();
    using Status = FileResult::Status;
    const QFileInfo source(file.source);
    auto fail = [&](const QString& reason) {
        file.status = Status::Failed;
        file.reason = reason;
    };
    if (!source.exists())
        return fail(QStringLiteral("It does not exist."));
    if (!source.isFile())
        return fail(QStringLiteral("It is not a file."));
    if (!filekinds::Find(file.source))
        return fail(QStringLiteral("It is not of a kind this program converts."));
    if (!combining && QFileInfo::exists(file.pdf)) {
        if (m_options.existing == CliOptions::Existing::Skip) {
            file.status = Status::Skipped;
            file.reason = QStringLiteral("Its PDF exists already.");
            return;
        }
        if (m_options.existing == CliOptions::Existing::Fail)
            return fail(QStringLiteral("Its PDF %1 exists already (give --overwrite or --skip-existing).")
                            .arg(file.pdf));
    }
    if (!QDir().mkpath(file.outputFolder))
        return fail(QStringLiteral("The folder %1 cannot be made.").arg(file.outputFolder));

    page.BeginFile(file.outputFolder, m_options.timeoutSeconds,
                   combining ? PdfCombiner::PartPath(*m_parts, index) : QString());
    const bool made = ConvertByKind(m_converters, page, file.source) && page.PdfMade();
    file.seconds = page.Seconds();
    page.EndFile();
    if (made) {
        file.status = Status::Made;
        file.pdfVersion = page.PdfVersion();
        file.reason = page.Notice();
        return;
    }
    file.status = m_stopped ? Status::Stopped : Status::Failed;
    file.reason = page.Reason();
    if (file.reason.isEmpty())
        file.reason = QStringLiteral("It was not converted.");
}

void BatchRun::Job(CliPage& page)
{
    for (;;) {
        if (m_stopped)
            return;
        const int index = m_next++;
        if (index >= m_files.size())
            return;
        if (m_files[index].status == FileResult::Status::Pending)
            ConvertFile(page, index);
        QMutexLocker lock(&m_finishedMutex);
        m_finished << index;
    }
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

    const bool combining = !m_options.combinedPath.isEmpty();
    const bool prepared = !combining || PrepareCombined();
    QStringList ahead;
    for (const FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending)
            ahead << file.source;
    WarmOfficeConnection::Instance().SetOfficeFilesAhead(filekinds::OfficeFileCount(ahead));
    std::vector<std::unique_ptr<JobSlot>> jobs;
    for (int i = 0; i < (prepared ? jobCount : 0); ++i) {
        auto slot = std::make_unique<JobSlot>();
        slot->page = std::make_unique<CliPage>(m_options.settings, m_options.openPassword, m_stopped);
        // Each job's Tesseract keeps to its share of the cores.
        if (jobCount > 1)
            slot->page->SetRecognitionThreads(qMax(1, QThread::idealThreadCount() / jobCount));
        JobSlot* raw = slot.get();
        raw->thread = std::thread([this, raw] {
            Job(*raw->page);
            raw->done = true;
        });
        jobs.push_back(std::move(slot));
    }

    // A line per file as it finishes, in the order files finish.
    std::vector<bool> printed(m_files.size(), false);
    int signal = 0;
    int done = 0;
    auto flush = [&] {
        QList<int> finished;
        {
            QMutexLocker lock(&m_finishedMutex);
            finished.swap(m_finished);
        }
        for (int i : finished) {
            progress.Clear();
            Print(m_files[i]);
            printed[i] = true;
            ++done;
        }
        progress.Show(done, total);
    };
    for (;;) {
        bool allDone = true;
        for (const auto& job : jobs)
            allDone = allDone && job->done;
        if (allDone)
            break;
        if (!signal && StopSignals::Received()) {
            signal = StopSignals::Received();
            m_stopped = true;
            for (const auto& job : jobs)
                job->page->EndCurrentProgram();
        }
        for (const auto& job : jobs)
            job->page->EndIfOverdue();
        flush();
        QThread::msleep(kPollMs);
    }
    for (const auto& job : jobs)
        job->thread.join();
    jobs.clear(); // each page removes its scratch files
    // An office host ended by a stop or a time limit could not remove its own.
    ScratchFolder::RemoveLeftovers(ScratchFolder::kOfficeHostPrefix);
    flush();

    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending) {
            file.status = FileResult::Status::Stopped;
            file.reason = QStringLiteral("Stopped before it was started.");
        }
    for (qsizetype i = 0; i < m_files.size(); ++i)
        if (!printed[i]) {
            progress.Clear();
            Print(m_files[i]);
        }
    progress.Clear();

    // A combined PDF that cannot be made fails every file in it.
    if (combining && prepared && !signal)
        MakeCombined();
    m_parts.reset();

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
