#pragma once

#include "platform/HelperProcess.h"

#include <QMutex>
#include <QString>

#include <optional>
#include <sys/types.h>

// Our end of the warm office: the office host program started with
// --warm-office, which keeps LibreOffice loaded and forks a fresh host for
// each request. It is started at the first request and runs until End or
// until this process ends (it ends when its control socket closes). While it
// is starting, after it died, or where it cannot run, there is no warm host
// and the caller starts a cold one: only time differs. One per process;
// safe from any thread.
class WarmOfficeConnection
{
public:
    static WarmOfficeConnection& Instance();
    ~WarmOfficeConnection();

    struct Host
    {
        int channel = -1; // the host's standard input and output
        int pidfd = -1;
        qint64 processId = 0;
    };

    // A host of progId forked from the warm office of program. None when
    // this call starts the warm office (it is not running, or runs another
    // program or in another environment, and a start is worth it): this
    // host starts cold meanwhile. A warm office still loading is waited for.
    std::optional<Host> Fork(const QString& program, const QString& progId);
    // Starts the warm office of program when it is not running and waits at
    // most the given time for it to be ready (starting it again while it ends
    // because the profile has not been set up yet).
    bool WaitUntilReady(const QString& program, int milliseconds);
    // The warm office's process id; 0 when it is not running.
    qint64 ProcessId();
    // Ends the warm office and waits for it. Hosts it forked keep running
    // until their clients let go of them.
    void End();

    // How many office files the run has ahead of it. Loading the office
    // costs more than one cold host, so Fork starts the warm office only for
    // a run with more than one; one already running serves every run.
    void SetOfficeFilesAhead(qsizetype count);

    // FOLIANT_WARM_OFFICE=0 in the environment turns the warm office off.
    static bool Enabled();

    // How the office host program is started as the warm office: this
    // argument, and its control socket at this descriptor.
    static constexpr const char* kArgument = "--warm-office";
    static constexpr int kControlDescriptor = 3;

private:
    WarmOfficeConnection() = default;
    bool StartLocked(const QString& program);
    bool ReadyLocked(int milliseconds);
    void EndLocked(int gracePeriod);
    // Ends a warm office of another program or environment than the caller's.
    void EndIfElsewhereLocked(const QString& program);

    QMutex m_mutex;
    QString m_program;
    QByteArray m_environment;
    helperprocess::Started m_helper;
    bool m_ready = false;
    int m_failedStarts = 0;
    bool m_worthStarting = true;
};
