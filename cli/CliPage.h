#pragma once

#include "converters/ConversionPage.h"
#include "pdf/ConversionSettings.h"
#include "pdf/EffectivePdfVersion.h"
#include "platform/CDC.h"
#include "platform/RunScratch.h"

#include <QMutex>
#include <QStringList>

#include <atomic>

// The conversion page of one job of a foliant-convert run: no window, no
// questions. It converts one file at a time on its job's thread with the
// run's settings, in scratch files of its own; the boxes the converters show
// become the file's reason, the password prompt is answered with the open
// password given (once per file), and the run's stop or the file's time limit
// ends the file's office host and Ghostscript.
class CliPage : public ConversionPage
{
public:
    CliPage(const ConversionSettings& settings, const QString& openPassword,
            const std::atomic<bool>& runStopped);

    // The page of the calling thread's job (null outside a job); the message
    // boxes are routed to it.
    static CliPage* Current();

    // Starts a file: its PDF goes into outputFolder; a time limit of 0 leaves
    // the converters' own limits.
    void BeginFile(const QString& outputFolder, int timeoutSeconds, const QString& partPath = {});
    // The reason the file was not made, in the program's words; empty when
    // nothing was said.
    QString Reason() const;
    // True when the file's last PDF step made its PDF.
    bool PdfMade() const { return m_pdfMade; }
    // The version the file's PDF was written at ("1.3" to "1.7").
    QString PdfVersion() const { return m_pdfVersion; }
    // What the user is told about the PDF made (no text could be
    // recognised); empty when nothing.
    QString Notice() const { return m_notice; }
    // Seconds since BeginFile, without the wait for the file's turn to print.
    double Seconds() const;
    // The file is done: no time limit applies until the next one begins.
    void EndFile() { m_startedMs = 0; }
    // take: waits for the file's turn to print (see TakePrintTurn); printed:
    // called once the file's print job is complete, as its PDF step begins.
    void SetPrintTurn(std::function<bool()> take, std::function<void()> printed)
    {
        m_takeTurn = std::move(take);
        m_printed = std::move(printed);
    }

    // From the run's thread: past the file's time limit, the file is stopped
    // and its office host ended.
    void EndIfOverdue();
    // From the run's thread, once the run is stopped: ends the office host.
    void EndCurrentProgram();

    // A box a converter shows: kept as the file's reason; returns its answer.
    int Answer(const QString& text, unsigned type);

    // ConversionPage.
    QObject* Window() override { return nullptr; }
    QString OutputFolder() const override { return m_outputFolder; }
    QString SpoolFilePath(QString* why) override { return m_scratch.SpoolFilePath(why); }
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override;
    QString PdfCompatibilityLevel() override { return EffectiveCompatibilityLevel(m_settings); }
    ConversionSettings PdfSettingsNow() override { return m_settings; }
    void SetConverted(int converted) override { m_converted = converted; }
    int Converted() const override { return m_converted; }
    void SetTimer(int, int) override {}
    void KillTimer(int) override {}
    CDC& MemoryDC() override { return m_memoryDC; }
    bool EnterPassword(const QString& fileName, QString* password) override;
    bool StopRequested() override { return m_runStopped || m_timedOut; }
    void SetCurrentProgramEnder(std::function<void()> ender) override;
    void Sleep(int milliseconds) override;
    bool TakePrintTurn() override;

private:
    const ConversionSettings& m_settings;
    const QString m_openPassword;
    const std::atomic<bool>& m_runStopped;
    RunScratch m_scratch;
    CDC m_memoryDC;
    QString m_outputFolder;
    QString m_partPath; // a part of a combined PDF: its PDF goes here
    std::atomic<int> m_timeoutSeconds{0};
    std::atomic<qint64> m_startedMs{0}; // on the steady clock; 0 between files
    std::atomic<int> m_converted{0};
    std::atomic<bool> m_timedOut{false};
    bool m_pdfMade = false;
    QString m_pdfVersion;
    QString m_notice;
    bool m_passwordOffered = false;
    QString m_passwordReason;
    mutable QMutex m_mutex;
    QStringList m_messages;
    std::function<void()> m_ender;
    std::function<bool()> m_takeTurn;
    std::function<void()> m_printed;
};
