#pragma once

#include "converters/ConversionPage.h"
#include "pdf/ConversionSettings.h"
#include "platform/CDC.h"
#include "platform/RunScratch.h"

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QWidget>

#include <atomic>

// The conversion page for end-to-end runs, without the rest of the program:
// the real PDF step (Ghostscript), the real password prompt (answered through
// its test hook), the page's waits, and a Stop that ends the current
// program from the GUI thread as the page's Stop does. Lives on the GUI thread;
// the converters call it from a worker.
class HeadlessPage : public QObject, public ConversionPage
{
public:
    explicit HeadlessPage(const QString& outputFolder);
    ~HeadlessPage() override;

    QWidget* Window() override { return &m_window; }
    QString OutputFolder() const override { return m_outputFolder; }
    QString SpoolFilePath(QString* why) override { return m_scratch.SpoolFilePath(why); }
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override;
    QString PdfCompatibilityLevel() override;
    ConversionSettings PdfSettingsNow() override { return settings; }
    void SetConverted(int converted) override { m_converted = converted; }
    int Converted() const override { return m_converted; }
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    CDC& MemoryDC() override { return m_memoryDC; }
    bool EnterPassword(const QString& fileName, QString* password) override;
    bool StopRequested() override { return m_stopped; }
    void SetCurrentProgramEnder(std::function<void()> ender) override;
    void Sleep(int milliseconds) override;
    WaitEnd WaitUntil(const std::function<bool()>& done, int limitMilliseconds) override;

    // The settings of the PDF step (the first-shown ones unless changed
    // before the run).
    ConversionSettings settings;
    // The user stops the run as this wait begins (1 = the first): the GUI
    // thread ends the current program while the worker waits.
    std::atomic<int> stopAtWait{0};
    // Timer events, "SetTimer 3 200" and "KillTimer 3".
    QStringList Timers() const;
    int Waits() const { return m_waits; }

private:
    void StopOnGuiThread();

    QWidget m_window;
    QString m_outputFolder;
    std::atomic<int> m_converted{-1};
    std::atomic<bool> m_stopped{false};
    std::atomic<int> m_waits{0};
    CDC m_memoryDC;
    RunScratch m_scratch;
    mutable QMutex m_mutex;
    std::function<void()> m_ender;
    QStringList m_timers;
};
