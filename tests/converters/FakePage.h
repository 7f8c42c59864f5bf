#pragma once

#include "EventLog.h"

#include "converters/ConversionPage.h"
#include "platform/CDC.h"
#include "platform/MessageBoxService.h"
#include "platform/RunScratch.h"

#include <QList>
#include <QQueue>

#include <optional>

// The conversion page as the converter unit tests see it: every call is
// logged; the PDF step, the password prompt and Stop answer as scripted;
// waits take no time. It also stands in for the message boxes.
class FakePage : public ConversionPage, public MessageBoxService
{
public:
    explicit FakePage(EventLog& log);
    ~FakePage() override;

    QObject* Window() override { return nullptr; }
    QString OutputFolder() const override { return QStringLiteral("/out"); }
    QString SpoolFilePath(QString* why) override { return m_scratch.SpoolFilePath(why); }
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override;
    QString PdfCompatibilityLevel() override { return pdfLevel; }
    ConversionSettings PdfSettingsNow() override { return ConversionSettings{}; }
    void SetConverted(int converted) override { m_converted = converted; }
    int Converted() const override { return m_converted; }
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    CDC& MemoryDC() override { return m_memoryDC; }
    bool EnterPassword(const QString& fileName, QString* password) override;
    bool StopRequested() override;
    void SetCurrentProgramEnder(std::function<void()> ender) override;
    void Sleep(int milliseconds) override;
    // Logs "WaitUntil <limit>" and asks done() as the page does, without
    // sleeping; the limit passes after pollsBeforeLimit unfinished polls.
    WaitEnd WaitUntil(const std::function<bool()>& done, int limitMilliseconds) override;
    // Logs "TakePrintTurn" when the run has turns (printTurn set); a turn
    // refused is a run stopped while the file waited for it.
    bool TakePrintTurn() override;

    int Show(const MessageBoxRequest& request) override;

    // The version the PDF step writes.
    QString pdfLevel = QStringLiteral("1.3");
    // What the PDF step gives (made, by default).
    PdfOutcome pdfOutcome;
    // Answers to the password prompt: a password for OK, nothing for Cancel.
    QQueue<std::optional<QString>> passwords;
    // Answers to boxes with a choice (Yes, No, ...), in order; OK otherwise.
    QQueue<int> answers;
    // The user stops the run (and the page ends the current program) during
    // this wait (1 = the first), or in the PDF step.
    int stopAtWait = 0;
    bool stopInPdfStep = false;
    int pollsBeforeLimit = 50;
    // The run prints in turns: the turn is given (true) or the run is
    // stopped while the file waits for it (false).
    std::optional<bool> printTurn;

    // The boxes shown, "caption|type|text".
    QStringList Boxes() const { return m_boxes; }
    bool HasEnder() const { return static_cast<bool>(m_ender); }

private:
    void Stop();

    EventLog& m_log;
    MessageBoxService* m_previousBoxes;
    CDC m_memoryDC;
    RunScratch m_scratch;
    int m_converted = -1;
    int m_waits = 0;
    bool m_stopped = false;
    std::function<void()> m_ender;
    QStringList m_boxes;
};
