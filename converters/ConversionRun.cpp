#include "converters/ConversionRun.h"

#include "converters/ConversionPage.h"
#include "converters/FileKinds.h"
#include "pdf/PdfCombiner.h"
#include "platform/WarmGhostscriptConnection.h"
#include "platform/WarmOfficeConnection.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <numeric>
#include <thread>

namespace {

constexpr int kWatchMs = 50;

} // namespace

ConversionRun::ConversionRun(ConverterSet converters, QList<FileResult> files, QString combinedPath,
                             Observer& observer)
    : m_converters(std::move(converters)), m_files(std::move(files)), m_combinedPath(std::move(combinedPath)),
      m_observer(observer)
{
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::Finish(qsizetype index, FileResult::Status status, const QString& reason)
{
    FileResult& file = m_files[index];
    file.status = status;
    file.reason = reason;
    m_observer.Done(index, file);
}

bool ConversionRun::ConvertFile(Job& job, qsizetype index)
{
    using Status = FileResult::Status;
    FileResult& file = m_files[index];
    if (file.status != Status::Pending) {
        m_observer.Done(index, file); // settled before the run
        return true;
    }
    if (const QString refusal = m_observer.Refusal(file); !refusal.isEmpty()) {
        Finish(index, Status::Failed, refusal);
        return true;
    }
    const bool combining = !m_combinedPath.isEmpty();
    if (!combining && QFileInfo::exists(file.pdf)) {
        if (m_observer.Stopped())
            return false;
        QString reason;
        switch (m_observer.AlreadyExists(file, &reason)) {
        case Existing::Skip:
            Finish(index, Status::Skipped, reason);
            return true;
        case Existing::Fail:
            Finish(index, Status::Failed, reason);
            return true;
        case Existing::Replace:
            break; // the PDF step renames the finished file over the old one
        }
    }

    // The converters get the path as listed: the file is found under its
    // own name, and the table of kinds ignores the extension's case.
    if (m_observer.Stopped())
        return false;
    job.BeginFile(file, combining ? PdfCombiner::PartPath(*m_parts, index) : QString());
    const bool converted = ConvertByKind(m_converters, job.Page(), file.source);
    const bool made = job.EndFile(converted, &file);
    if (made) {
        Finish(index, Status::Made, file.reason); // what the user is told about it, if anything
        return !m_observer.Stopped();
    }
    const bool stopped = m_observer.Stopped();
    Finish(index, stopped ? Status::Stopped : Status::Failed, file.reason);
    return !stopped;
}

bool ConversionRun::ConvertInTurn(Job& job, qsizetype taken)
{
    const qsizetype index = m_order[taken];
    if (!m_turns)
        return ConvertFile(job, index);
    // The converter takes the turn when it is about to print: its office
    // host starts and opens the file while the file before it prints. Turns
    // go in the order the files are taken.
    job.SetPrintTurn([this, taken] { return m_turns->Take(taken, [this] { return m_observer.Stopped(); }); },
                     [this, taken] { m_turns->Give(taken); });
    const bool goOn = ConvertFile(job, index);
    job.SetPrintTurn({}, {});
    m_turns->Give(taken);
    return goOn;
}

void ConversionRun::RunJob(Job& job)
{
    for (;;) {
        if (m_observer.Stopped())
            return;
        const qsizetype taken = m_next++;
        if (taken >= static_cast<qsizetype>(m_order.size()) || !ConvertInTurn(job, taken))
            return;
    }
}

std::vector<qsizetype> ConversionRun::LongestFirst(const QList<FileResult>& files)
{
    // (presentation, bytes): the larger pair goes first; the sort is stable.
    std::vector<std::pair<bool, qint64>> guesses;
    for (const FileResult& file : files)
        guesses.emplace_back(filekinds::KindOf(file.source) == FileKind::PowerPoint,
                             QFileInfo(file.source).size());
    std::vector<qsizetype> order(guesses.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](qsizetype a, qsizetype b) { return guesses[a] > guesses[b]; });
    return order;
}

bool ConversionRun::PrepareParts()
{
    m_parts = PdfCombiner::PartsFolder(m_combinedPath);
    if (m_parts->isValid())
        return true;
    const QString why = m_parts->errorString();
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending) {
            file.status = FileResult::Status::Failed;
            file.reason =
                QStringLiteral("No folder for the parts can be made beside %1: %2").arg(m_combinedPath, why);
        }
    m_parts.reset();
    m_observer.CombinedNotMade(m_combinedPath, why);
    return false;
}

void ConversionRun::Combine()
{
    if (!m_parts || m_observer.Stopped()) {
        m_parts.reset();
        return;
    }
    QList<PdfCombiner::Part> parts;
    for (qsizetype i = 0; i < m_files.size(); ++i)
        if (m_files[i].status == FileResult::Status::Made)
            parts.append({PdfCombiner::PartPath(*m_parts, i), QFileInfo(m_files[i].source).fileName()});
    QString why;
    const bool made =
        parts.isEmpty() || PdfCombiner::MakeCombinedPdf(parts, m_combinedPath, m_observer.CombinedSettings(),
                                                        &why, [this] { return m_observer.Stopped(); });
    m_parts.reset();
    if (parts.isEmpty())
        return;
    if (made) {
        m_observer.CombinedMade(m_combinedPath);
        return;
    }
    // Every file in it failed with it.
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Made) {
            file.status = FileResult::Status::Failed;
            file.reason = QStringLiteral("The combined PDF could not be made: %1").arg(why);
        }
    if (!m_observer.Stopped())
        m_observer.CombinedNotMade(m_combinedPath, why);
}

void ConversionRun::Run(const std::vector<Job*>& jobs, const std::function<void()>& watch, int printing)
{
    if (printing > 0 && printing < static_cast<int>(jobs.size()))
        m_turns = std::make_unique<PrintTurns>(m_files.size(), printing);
    // One job's run goes in list order; more jobs, printing in turns or not,
    // take the longest files first.
    m_order.resize(m_files.size());
    std::iota(m_order.begin(), m_order.end(), qsizetype(0));
    if (jobs.size() > 1)
        m_order = LongestFirst(m_files);
    RunJobs(jobs, watch);
    m_turns.reset();
    for (FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending) {
            file.status = FileResult::Status::Stopped;
            file.reason = QStringLiteral("Stopped before it was started.");
        }
}

void ConversionRun::RunJobs(const std::vector<Job*>& jobs, const std::function<void()>& watch)
{
    // The jobs write their own files' entries: the list must be this run's alone.
    m_files.detach();
    QStringList ahead;
    for (const FileResult& file : m_files)
        if (file.status == FileResult::Status::Pending)
            ahead << file.source;
    WarmOfficeConnection::Instance().SetOfficeFilesAhead(filekinds::OfficeFileCount(ahead));
    WarmGhostscriptConnection::Instance().SetFilesAhead(ahead.size());

    if (!m_combinedPath.isEmpty() && !PrepareParts())
        return;
    if (jobs.size() == 1 && !watch) {
        RunJob(*jobs.front());
        return;
    }
    std::vector<std::thread> threads;
    std::atomic<int> running{static_cast<int>(jobs.size())};
    for (Job* job : jobs)
        threads.emplace_back([this, job, &running] {
            RunJob(*job);
            --running;
        });
    while (running > 0) {
        if (watch)
            watch();
        QThread::msleep(kWatchMs);
    }
    for (std::thread& thread : threads)
        thread.join();
}
