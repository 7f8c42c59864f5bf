#pragma once

#include "cli/CliOptions.h"
#include "converters/ConversionRun.h"
#include "converters/Converters.h"
#include "converters/FileResult.h"

#include <QList>
#include <QMutex>

#include <atomic>

// One foliant-convert run: the run every front end shares, its files shared
// out among the jobs, each job a thread with a page of its own converting
// one file at a time (its own office host, Ghostscript and scratch files),
// while this thread prints a line per file, keeps the progress bar, ends
// files past their time limit and, on Ctrl-C or SIGTERM, stops every job and
// ends its programs. It never asks: the options say what to do with a PDF
// that exists already.
class BatchRun : private ConversionRun::Observer
{
public:
    BatchRun(const CliOptions& options, ConverterSet converters);

    // Runs to the end: 0 when every PDF was made (or skipped), 1 when any
    // file failed, 128 + the signal's number when the run was stopped by one.
    int Run();

    const QList<FileResult>& Results() const { return m_files; }

private:
    // --combine: false (every file failed or skipped) when the combined PDF
    // exists already and is not to be replaced.
    bool PrepareCombined();
    void Print(const FileResult& file);

    // ConversionRun::Observer, on the jobs' threads.
    bool Stopped() override { return m_stopped; }
    QString Refusal(const FileResult& file) override;
    ConversionRun::Existing AlreadyExists(const FileResult& file, QString* reason) override;
    void Done(qsizetype index, const FileResult& file) override;
    ConversionSettings CombinedSettings() override { return m_options.settings; }
    void CombinedMade(const QString&) override {}
    void CombinedNotMade(const QString& path, const QString& why) override;

    const CliOptions& m_options;
    const ConverterSet m_converters;
    QList<FileResult> m_files;
    std::atomic<bool> m_stopped{false};
    QMutex m_finishedMutex;
    QList<qsizetype> m_finished; // files finished and not printed yet
};
