#pragma once

#include "platform/HelperProcess.h"
#include "platform/ProcessRunner.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <optional>

// One PDF for the warm Ghostscript to make: the device's switches, what the
// forked process may read and write, and the PostScript it runs (the output
// file named, then the files).
struct WarmGhostscriptJob
{
    QStringList deviceSwitches; // -d switches of pdfwrite, as the gs program takes them
    QString temporaryFolder;    // its TMPDIR
    QString writablePath;       // the PDF it writes
    QStringList readablePaths;
    QByteArray program;
};

// Our end of the warm Ghostscript: a helper program of ours (gshost) that
// sets up Ghostscript's interpreter and pdfwrite device once and forks a
// process for each PDF, which then skips the interpreter's own start (most
// of a small file's time). The device's switches (the PDF version among
// them) are fixed at that start, so there is one warm Ghostscript for each
// set a run asks for, up to a few. Each starts at the first job of its set in
// a run with more than one file and runs until End or until this process
// ends (it ends when its control socket closes). Until it is ready, where it
// cannot run, and for jobs it cannot take, the caller starts Ghostscript
// itself: only time differs. One connection per process; safe from any
// thread.
class WarmGhostscriptConnection
{
public:
    static WarmGhostscriptConnection& Instance();
    ~WarmGhostscriptConnection();

    // Runs the job in a process forked from the warm Ghostscript, waiting as
    // ProcessRunner waits for a program: within the time limit, ended (asked,
    // then killed) when the caller stops. None when the warm Ghostscript
    // cannot take it now: the caller runs Ghostscript itself.
    std::optional<ProcessResult> Run(const WarmGhostscriptJob& job, int timeoutMs,
                                     const std::function<bool()>& stopRequested);

    // How many files the run has ahead of it: the warm Ghostscript pays for
    // its start from the second file on, so it starts only for more than one.
    void SetFilesAhead(qsizetype count);
    // The process ids of the warm Ghostscripts that run.
    QList<qint64> ProcessIds();
    // Ends the warm Ghostscripts. Processes they forked run to their end.
    void End();

    // FOLIANT_WARM_GHOSTSCRIPT=0 in the environment turns it off.
    static bool Enabled();
    // The Ghostscript whose library the warm one loads: jobs meant for any
    // other program are not taken.
    static QString SystemProgram();

    // How gshost is started, and what passes between us and a forked job:
    // the request's fields, each a tag and a value ending in a zero byte, and
    // the answer's frames, each a tag, a 4-byte length and the bytes.
    static constexpr const char* kArgument = "--warm";
    static constexpr int kControlDescriptor = 3;
    enum Tag : char {
        kTemporaryFolder = 'T',
        kWritable = 'W',
        kReadable = 'R',
        kProgram = 'P',
        kStandardOutput = 'o',
        kStandardError = 'e',
        kExitCode = 'x',
    };

private:
    struct Helper
    {
        helperprocess::Started started;
        std::unique_ptr<QTemporaryDir> scratch;
        bool ready = false;
    };

    WarmGhostscriptConnection() = default;
    Helper* StartLocked(const QStringList& deviceSwitches);
    bool ReadyLocked(Helper& helper, int milliseconds);
    void EndLocked(int gracePeriod);

    QMutex m_mutex;
    std::map<QStringList, Helper> m_helpers;
    QByteArrayList m_environment; // what they were started in
    int m_failedStarts = 0;
    bool m_worthStarting = false; // until a run says it has more than one file ahead
};
