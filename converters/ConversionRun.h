#pragma once

#include "converters/Converters.h"
#include "converters/FileResult.h"
#include "converters/PrintTurns.h"
#include "pdf/ConversionSettings.h"

#include <QList>
#include <QMutex>
#include <QTemporaryDir>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class ConversionPage;

// One run of files, the same under the window and the command line: each
// job takes the next file (in list order with one job; with more, the files
// likely to take longest first, so that no long file is left to one job at
// the end while the others idle), settles a PDF that exists already,
// hands the file to the converter of its kind on the job's own page and
// reports what became of it; with a combined PDF every file's PDF is a part
// in a folder of the run, joined into the one PDF at the end. It shows
// nothing itself: what a front end shows, asks and keeps goes through its
// Observer, called on the jobs' threads.
class ConversionRun
{
public:
    // What to do with a file whose PDF exists already.
    enum class Existing { Replace, Skip, Fail };

    class Observer
    {
    public:
        virtual ~Observer() = default;
        // True once the run is stopped, and from then on; a front end may
        // hold the job here while it asks whether to stop.
        virtual bool Stopped() = 0;
        // Before the file's turn: empty, or why it cannot be converted.
        virtual QString Refusal(const FileResult& file)
        {
            Q_UNUSED(file);
            return {};
        }
        // The file's PDF exists already: replace it (the old one stays until
        // the new one is complete), leave it, or fail the file; a reason for
        // the last two may be given.
        virtual Existing AlreadyExists(const FileResult& file, QString* reason) = 0;
        // The file is done: made, skipped, failed or stopped.
        virtual void Done(qsizetype index, const FileResult& file) = 0;
        // The settings the combined PDF is finished with.
        virtual ConversionSettings CombinedSettings() = 0;
        // The combined PDF was made, or could not be (why).
        virtual void CombinedMade(const QString& path) = 0;
        virtual void CombinedNotMade(const QString& path, const QString& why) = 0;
    };

    // Where a job converts: its page, and what the run does on it around a file.
    class Job
    {
    public:
        virtual ~Job() = default;
        virtual ConversionPage& Page() = 0;
        // The file's PDF goes to partPath when it is a part of the combined PDF.
        virtual void BeginFile(const FileResult& file, const QString& partPath) = 0;
        // After the converter: whether the file's PDF was made (converted:
        // what the converter said), with the reason and time in *file.
        virtual bool EndFile(bool converted, FileResult* file) = 0;
        // Before BeginFile, in a run that prints fewer files at once than it
        // has jobs: what the page calls when a converter is about to print
        // (waits for the file's turn; false once stopped), and once the
        // file's print job is complete and its PDF step begins (both empty
        // after the file). A job that never calls printed holds its turn
        // until the file is done; a file that never prints never waits.
        virtual void SetPrintTurn(std::function<bool()> take, std::function<void()> printed)
        {
            Q_UNUSED(take);
            Q_UNUSED(printed);
        }
    };

    // files: each with its PDF's path and folder; combinedPath empty for a
    // PDF per file.
    ConversionRun(ConverterSet converters, QList<FileResult> files, QString combinedPath, Observer& observer);
    ~ConversionRun();

    // Runs every job to the end of the files or the stop: one job on the
    // calling thread; more each on a thread of its own, while the calling
    // thread calls watch every few milliseconds until they have ended.
    // Files no job reached are stopped. With printing between 1 and the
    // number of jobs, at most that many files print at once, taking their
    // turns in the order the files are taken, while the other jobs make the
    // PDFs of files already printed.
    void Run(const std::vector<Job*>& jobs, const std::function<void()>& watch = {}, int printing = 0);
    // With a combined PDF, once the front end has done its end of the run:
    // the PDFs made joined in list order (unless the run was stopped), and
    // the parts removed. A join that fails fails every file in it.
    void Combine();

    const QList<FileResult>& Files() const { return m_files; }

    // The order several jobs take the files in, as indexes into files:
    // presentations (every slide drawn and, at PDF 1.3, flattened) first,
    // then larger files before smaller, the list's order among equals.
    static std::vector<qsizetype> LongestFirst(const QList<FileResult>& files);

private:
    void RunJobs(const std::vector<Job*>& jobs, const std::function<void()>& watch);
    void RunJob(Job& job);
    // False when the run stopped at this file.
    bool ConvertFile(Job& job, qsizetype index);
    void Finish(qsizetype index, FileResult::Status status, const QString& reason = {});
    bool PrepareParts();
    // ConvertFile of the file taken at position taken of the order, in its
    // print turn when the run has turns.
    bool ConvertInTurn(Job& job, qsizetype taken);

    const ConverterSet m_converters;
    QList<FileResult> m_files;
    const QString m_combinedPath;
    Observer& m_observer;
    std::unique_ptr<QTemporaryDir> m_parts;
    std::atomic<qsizetype> m_next{0};
    std::vector<qsizetype> m_order; // the files' indexes, in the order they are taken
    std::unique_ptr<PrintTurns> m_turns;
};
