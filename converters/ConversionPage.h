#pragma once

#include "pdf/ConversionSettings.h"
#include "pdf/GhostscriptRunner.h"

#include <QString>

#include <functional>

class CDC;
class QObject;

// What a converter reads from and calls on the conversion page. The page
// implements it; tests put a fake in its place. Every member may be called
// from the worker's thread: what touches a widget is carried out by the GUI
// thread while the caller waits.
class ConversionPage
{
public:
    virtual ~ConversionPage() = default;

    // The page's window: owner of the converters' message boxes. Lives on
    // the GUI thread; a front end without windows has none (null).
    virtual QObject* Window() = 0;

    // The output folder of the run (edit 1017 as Convert read it).
    virtual QString OutputFolder() const = 0;

    // The spool file of this run: each run, and each parallel job of a run,
    // has its own in the private scratch folder, and the PDF step reads it
    // from there. Empty, with the reason in *why, when there is none.
    virtual QString SpoolFilePath(QString* why) = 0;

    // The PDF step for sourcePath: the run's settings, the Advanced page's
    // values read now, the user's Stop ending Ghostscript. Returns when
    // Ghostscript has ended.
    virtual PdfOutcome MakePdfFromSpool(const QString& sourcePath) = 0;

    // The PDF version the PDF step will write (the run's settings, the
    // Advanced page's values read now): the office printer's jobs are made
    // for it.
    virtual QString PdfCompatibilityLevel() = 0;

    // The settings the PDF step will use for the current file (the run's,
    // with the Advanced page's values read now): a tagged PDF is written by
    // the office printer itself, with these choices.
    virtual ConversionSettings PdfSettingsNow() = 0;

    // m_converted: 1 when the Office file was printed and its PDF made.
    virtual void SetConverted(int converted) = 0;
    virtual int Converted() const = 0;

    // Timers of the page's window (timer 3 answers the office's question
    // boxes while a document prints).
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    // m_memDC, the picture converter's memory DC; it holds none between calls.
    virtual CDC& MemoryDC() = 0;

    // The password prompt for fileName (the bare name), shown by the GUI
    // thread while the caller waits. True on OK, with the typed text in
    // *password; false on Cancel, Escape or the close box.
    virtual bool EnterPassword(const QString& fileName, QString* password) = 0;

    // The user's Stop. Holds the caller while the page asks whether to stop;
    // true once the run is stopped, and from then on: the caller does no
    // further step.
    virtual bool StopRequested() = 0;

    // How the outside program of the current file (an office host) is
    // ended when the user stops the run; called from the GUI thread. Set it
    // once the program runs, clear it (empty function) before it is gone.
    virtual void SetCurrentProgramEnder(std::function<void()> ender) = 0;

    // Sleeps; returns early when the run is stopped.
    virtual void Sleep(int milliseconds) = 0;

    // How a wait for an outside program's work ended.
    enum class WaitEnd { Done, Stopped, TimedOut };
    // Waits until done() holds, asking it every kWaitPoll milliseconds (so the
    // wait ends soon after the work does), for at most limitMilliseconds;
    // ends soon after the run is stopped. done runs on the caller's thread,
    // and what it throws leaves the wait. The page's own way is Sleep between
    // the questions; a page may put a better one in its place.
    virtual WaitEnd WaitUntil(const std::function<bool()>& done, int limitMilliseconds);

    // Called by a converter when it is about to print, its application
    // started and the document open: in a run whose files print in turns,
    // waits for this file's turn, so that the application starts and opens
    // the document while the file before prints. False once the run is
    // stopped: the file is not printed.
    virtual bool TakePrintTurn() { return true; }
    static constexpr int kWaitPoll = 20;
};
