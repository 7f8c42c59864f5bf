#pragma once

#include "converters/ConversionRun.h"

#include <QString>

#include <functional>

class CConvertDlg;

// One run of the conversion page, on a thread of its own: the run every
// front end shares, over the page's list in list order, on the page itself.
// It asks before replacing an existing PDF, advances the bar and records
// each PDF made, then puts the page back to idle; with "Combine into one
// PDF" each file's PDF is a part, and the parts become the run's one PDF at
// the end. It changes the page only through calls the GUI thread carries
// out, and after a confirmed Stop it changes nothing more.
class ConversionWorker : private ConversionRun::Observer, private ConversionRun::Job
{
public:
    explicit ConversionWorker(CConvertDlg& page);

    // The thread's work; returns when the run has ended or was stopped.
    void Run();

    // The PDF's name for a source path: the file name with its extension
    // (the text after the last ".") replaced by ".pdf", without folder.
    static QString OutputName(const QString& sourcePath);

private:
    // Carries out fn on the GUI thread unless the run is stopped: holds while
    // the page asks whether to stop. False when the run is stopped.
    bool Step(const std::function<void()>& fn);
    void AdvanceBar(qsizetype index);

    // ConversionRun::Observer.
    bool Stopped() override;
    ConversionRun::Existing AlreadyExists(const FileResult& file, QString* reason) override;
    void Done(qsizetype index, const FileResult& file) override;
    ConversionSettings CombinedSettings() override;
    void CombinedMade(const QString& path) override;
    void CombinedNotMade(const QString& path, const QString& why) override;

    // ConversionRun::Job: the page converts every file.
    ConversionPage& Page() override;
    void BeginFile(const FileResult& file, const QString& partPath) override;
    bool EndFile(bool converted, FileResult* file) override;

    CConvertDlg& m_page;
    qsizetype m_count = 0;
    bool m_combining = false;
};
