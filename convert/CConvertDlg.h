#pragma once

#include "convert/CFinishDlg.h"
#include "convert/StopGate.h"
#include "converters/ConversionPage.h"
#include "converters/Converters.h"
#include "options/OptionTabs.h"
#include "pdf/ConversionSettings.h"
#include "platform/CDC.h"
#include "platform/RunScratch.h"

#include <QFont>
#include <QMap>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class CBmpProgCtrl;
class CEnableEdit;
class CListBoxEx;
class CTabCtrlEx;
class QAbstractButton;
class QLineEdit;
class QTimer;

// The conversion page (template 130): the list of files, the output folder,
// the status line and progress bar, the option pages and Convert / Stop. It
// owns everything a run needs and starts one worker thread per run; the
// converters reach it only through ConversionPage.
class CConvertDlg : public QWidget, public ConversionPage
{
    Q_OBJECT

public:
    // Builds the page window at once, hidden; the owner places and shows it.
    explicit CConvertDlg(ConverterSet converters, QWidget* parent = nullptr);
    // A run still going is stopped and waited for; the owner should have
    // done that already (StopRun, then workerFinished).
    ~CConvertDlg() override;

    // Check box 1001, and once from the main window: the page and the main
    // window get their expanded or collapsed sizes; positions never change.
    void OnShowAdvanced();
    // Enables or disables the inputs around a run.
    void EnableInputs(bool enable);
    // Timer 2's work: the completion dialog when PDFs were made, then the
    // spool file is deleted; the bar is cleared in every case.
    void ShowCompletion();

    // For the main window's close guard.
    bool IsConverting() const { return m_converting != 0; }
    // The "Yes" steps of Stop without asking: the page returns to idle at
    // once, the worker is told to stop and the office host or Ghostscript of
    // the current file is ended.
    void StopRun();
    // True until the worker thread of the last run has ended; then
    // workerFinished is emitted on the GUI thread.
    bool IsWorkerRunning() const { return m_worker.joinable(); }
    // True once the worker of the current run has passed its last step that
    // Stop can hold: only the run's end on the GUI thread is left.
    bool IsWorkerEnding() const { return m_workerEnding; }
    // True while the worker holds at a step, waiting for the stop question's
    // answer.
    bool IsWorkerHeld() const { return m_stopGate.IsHolding(); }
    // Whether the page's timer of that id is ticking.
    bool IsTimerActive(int id) const
    {
        const QTimer* timer = m_timers.value(id);
        return timer && timer->isActive();
    }
    // Asks whether to stop (Yes/No, caption "Foliant 3.0", in a box owned
    // by owner) while the worker holds at its next step; Yes stops the run
    // as StopRun does. Returns the answer; IDNO without asking when no run
    // is active or a stop question is open already.
    int AskToStop(QWidget* owner, const QString& question);

    // The handlers of the page's controls.
    void OnAddFiles();
    void OnRemove();
    void OnRemoveAll();
    void OnListSelChange();
    void OnBrowse();
    void OnConvert();
    void OnTimer(int id);
    // WM_FILES_DROPPED from the list.
    void OnFilesDropped();

    // ConversionPage, callable from the worker's thread.
    QWidget* Window() override { return this; }
    QString OutputFolder() const override;
    QString SpoolFilePath(QString* why) override { return m_scratch.SpoolFilePath(why); }
    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override;
    QString PdfCompatibilityLevel() override;
    ConversionSettings PdfSettingsNow() override { return RunSettingsNow(); }
    void SetConverted(int converted) override { m_converted = converted; }
    int Converted() const override { return m_converted; }
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    CDC& MemoryDC() override { return m_memDC; }
    bool EnterPassword(const QString& fileName, QString* password) override;
    bool StopRequested() override { return m_stopGate.Wait(); }
    void SetCurrentProgramEnder(std::function<void()> ender) override;
    void Sleep(int milliseconds) override { m_stopGate.Sleep(milliseconds); }

    CBmpProgCtrl* m_progress = nullptr; // control 1027
    CListBoxEx* m_fileList = nullptr;   // list 1008
    CTabCtrlEx* m_tab = nullptr;        // tab control 1006
    OptionTabs m_optionTabs;            // the three option pages and m_curTab
    QString m_outputFolder;             // edit 1017, read by UpdateData
    std::atomic<int> m_converting{0};   // 1 while a run is active
    int m_dotCount = 0;                 // ticks of the status animation
    QWidget* m_hMainWnd = nullptr;      // the main window, resized by OnShowAdvanced
    CDC m_memDC;                        // the picture converter's memory DC
    CFinishDlg m_finishDlg;             // m_folder and m_files of the run
    CEnableEdit* m_status = nullptr;    // status line 1023
    QFont m_boldFont;                   // bold copy of the heading's font
    std::atomic<int> m_converted{0};    // set by the Office converters

signals:
    // The worker thread of a run has ended (emitted on the GUI thread).
    void workerFinished();

protected:
    // The status line never takes the caret.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape and Enter inside the page neither close nor hide it.
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class ConversionWorker;

    void OnInitDialog();
    // Data exchange: the text of 1017 into m_outputFolder.
    void UpdateData();
    QAbstractButton* Button(int id) const;
    QLineEdit* FolderEdit() const;
    void SetStatus(const QString& text);
    void ClearProgress();
    void SetConvertButton(const QString& text, bool enabled);
    // The page's side of a confirmed Stop.
    void AbandonRun();
    // With "Combine into one PDF" ticked: the combined PDF's path, asked in
    // a save dialog opened in the output folder; empty when cancelled.
    QString AskCombinedPdfPath();
    void StartWorker();
    // On the GUI thread once the worker has returned.
    void OnWorkerEnded();
    // The worker's end-of-run steps, on the GUI thread.
    void FinishRun();
    // True while the worker of the current run may still change the page.
    bool RunIsLive() const { return !m_stopGate.IsStopped(); }
    QTimer* Timer(int id);
    // The run's settings with the Advanced page's four values as they stand
    // now: the page stays open to changes during a run.
    ConversionSettings RunSettingsNow() const;

    const ConverterSet m_converters;
    QMap<int, QTimer*> m_timers;

    // What the worker of a run reads, fixed when its thread starts; Convert
    // prepares the next run's values while an old worker may still end.
    ConversionSettings m_runSettings;
    QString m_runFolder;
    ConversionSettings m_nextSettings;
    QString m_nextFolder;
    // The combined PDF of the run; empty when each file gets its own PDF.
    QString m_runCombinedPath;
    QString m_nextCombinedPath;
    // Where the PDF step writes the current file's part of the combined PDF
    // (worker thread only).
    QString m_partPath;

    // The page's own scratch files, removed with the page.
    RunScratch m_scratch;
    StopGate m_stopGate;
    bool m_asking = false;         // the stop question is open (GUI thread)
    bool m_endWhileAsking = false; // the run ended while the question was open
    bool m_startWhenEnded = false; // Convert waits for the old worker to end
    std::atomic<bool> m_workerEnding{false};
    std::thread m_worker;

    std::mutex m_enderMutex;
    std::function<void()> m_programEnder;

    // OnShowAdvanced's stored sizes, taken at its first call.
    QSize m_pageSize;
    QSize m_mainSize;
    QSize m_collapsedPageSize;
};
