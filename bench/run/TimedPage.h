#pragma once

#include "TimingLedger.h"

#include "convert/CConvertDlg.h"

// The real conversion page, with the PDF step booked as Ghostscript time and
// the sleeps of the converters' waits for their print jobs booked apart.
class TimedPage : public CConvertDlg
{
public:
    using CConvertDlg::CConvertDlg;

    PdfOutcome MakePdfFromSpool(const QString& sourcePath) override
    {
        TimedSpan span(TimingLedger::Ghostscript);
        return CConvertDlg::MakePdfFromSpool(sourcePath);
    }
    void Sleep(int milliseconds) override
    {
        TimedSpan span(TimingLedger::Waits);
        CConvertDlg::Sleep(milliseconds);
    }
};
