#pragma once

#include "cli/CliOptions.h"
#include "cli/FileResult.h"
#include "converters/Converters.h"

#include <QList>
#include <QMutex>

#include <QTemporaryDir>

#include <atomic>
#include <memory>

// One foliant-convert run: the files shared out among the jobs, each job a
// thread with a page of its own converting one file at a time (its own
// office host, Ghostscript and scratch files), while this thread prints a
// line per file, keeps the progress bar, ends files past their time limit
// and, on Ctrl-C or SIGTERM, stops every job and ends its programs.
class BatchRun
{
public:
    BatchRun(const CliOptions& options, ConverterSet converters);

    // Runs to the end: 0 when every PDF was made (or skipped), 1 when any
    // file failed, 128 + the signal's number when the run was stopped by one.
    int Run();

    const QList<FileResult>& Results() const { return m_files; }

private:
    void Job(class CliPage& page);
    void ConvertFile(CliPage& page, qsizetype index);
    // --combine: the run's parts folder, made before the jobs start; false
    // (every file failed or skipped) when the combined PDF is not to be made.
    bool PrepareCombined();
    // Joins the parts made, in the order given; false (and the files made
    // failed) when that failed.
    bool MakeCombined();
    void Print(const FileResult& file);

    const CliOptions& m_options;
    const ConverterSet m_converters;
    QList<FileResult> m_files;
    std::unique_ptr<QTemporaryDir> m_parts; // --combine: each file's PDF, until joined
    std::atomic<int> m_next{0};
    std::atomic<bool> m_stopped{false};
    QMutex m_finishedMutex;
    QList<int> m_finished; // files finished and not printed yet
};
