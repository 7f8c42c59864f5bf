#pragma once

#include "pdf/PdfCombiner.h"

#include <QString>

#include <functional>

class CConvertDlg;

// One run of the conversion page, on a thread of its own: walks the list in
// list order, asks before replacing an existing PDF, hands each file to the
// converter for its kind, advances the bar and records each PDF made, then
// puts the page back to idle. With "Combine into one PDF" each file's PDF is
// a part, and the parts become the run's one PDF at the end. It changes the page only through calls the GUI
// thread carries out, and after a confirmed Stop it changes nothing more.
class ConversionWorker
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
    void AdvanceBar(int index, int count);
    void Record(const QString& sourcePath);
    // The converter for the path's kind; true when its PDF was made.
    bool Convert(const QString& sourcePath);
    // The PDFs made in this run joined into the run's one PDF, finished as
    // the settings ask; recorded when made, the user told why when not.
    void Combine(const QList<PdfCombiner::Part>& parts);

    CConvertDlg& m_page;
};
