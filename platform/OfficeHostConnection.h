#pragma once

#include "platform/DispatchProtocol.h"
#include "platform/IDispatch.h"
#include "platform/Variant.h"
#include "platform/WindowRegistry.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class HostProcess;
class ProcessKillSwitch;

// The process id of the office host serving a remote object; 0 for an
// object that does not come from an office host.
qint64 ServerProcessId(const LPDISPATCH& object);

// Sets up the printer "Foliant" of the office host serving object: its jobs
// are made for a PDF of this version (see PrinterSettings). Never fails;
// nothing for an object that does not come from an office host.
void SetPrinterPdfLevel(const LPDISPATCH& object, const QString& pdfLevel);
// Tells that printer whether its jobs are tagged PDFs and how they are made
// (see TaggedExportJob). Never fails, as above.
void SetPrinterTaggedExport(const LPDISPATCH& object, const TaggedExportJob& job);

// One office host process and the pipe to it. Calls are synchronous, each
// with a time limit; a host that does not answer in time is ended and the
// call fails. The process lives until the last object it serves is released,
// then it is told to end (its input closes) and ended if it does not.
// Use a connection from the thread that started it; only Kill may be
// called from any thread.
class OfficeHostConnection : public std::enable_shared_from_this<OfficeHostConnection>
{
public:
    ~OfficeHostConnection();
    OfficeHostConnection(const OfficeHostConnection&) = delete;
    OfficeHostConnection& operator=(const OfficeHostConnection&) = delete;

    // Starts `program progId` and waits for its greeting. Null, with the
    // reason in *why, when the host cannot be started or cannot serve. For
    // the default program the host is forked from the warm office when that
    // is ready, and started on its own otherwise.
    static std::shared_ptr<OfficeHostConnection> Start(const QString& program, const QString& progId,
                                                       QString* why = nullptr);

    // The application object the host serves.
    LPDISPATCH Application();

    Variant Call(quint32 object, DISPID dispid, WORD kind, const VariantList& arguments);
    // Tells the host one reference to the object is gone; never fails.
    void Release(quint32 object);
    // Sends the printer's settings for the jobs that follow; never fails.
    void SetPrinterPdfLevel(const QString& pdfLevel);
    void SetPrinterTaggedExport(const TaggedExportJob& job);

    qint64 ProcessId() const { return m_processId; }
    bool IsRunning() const;
    // Ends the host at once (SIGKILL); safe from any thread, and never
    // reaches another process once the host has ended.
    void Kill();
    // Kills the host from any thread, for as long as anyone holds it.
    std::function<void()> Ender() const;

    // Time limits in milliseconds: for each call, and for the start.
    static void SetCallTimeLimit(int milliseconds);
    static int CallTimeLimit();
    static void SetStartTimeLimit(int milliseconds);

    // The office host program beside the program (FOLIANT_PROGRAM_DIR when set).
    static QString DefaultProgram();

private:
    OfficeHostConnection();
    static std::shared_ptr<OfficeHostConnection> Greeted(std::unique_ptr<HostProcess> host, QString* why);
    // The next message; none when the host ended, sent what cannot be read,
    // or did not answer within timeLimit (then it is ended and *timedOut set).
    std::optional<dispatchprotocol::Message> ReadMessage(int timeLimit, QString* why,
                                                         bool* timedOut = nullptr);
    void Shutdown();

    std::unique_ptr<HostProcess> m_host;
    dispatchprotocol::FrameReader m_reader;
    qint64 m_processId = 0;
    std::shared_ptr<ProcessKillSwitch> m_killSwitch;
    QList<HWND> m_windows;
};
