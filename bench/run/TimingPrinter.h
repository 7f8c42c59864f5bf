#pragma once

#include "platform/DeviceContext.h"

#include <QElapsedTimer>

#include <memory>

// The picture printer with a stopwatch: a job's time from StartDoc to its
// EndDoc (or AbortDoc) is printer time. Every call goes on to the real one.
class TimingPrinter : public DeviceContext
{
public:
    explicit TimingPrinter(std::unique_ptr<DeviceContext> real);
    ~TimingPrinter() override;

    // Puts timed copies of the product's printer in place of the default
    // printer; RestoreDefault puts the product's own back.
    static void InstallAsDefault();
    static void RestoreDefault();

    int StartDoc(const DOCINFO& info) override;
    int StartPage() override { return m_real->StartPage(); }
    int EndPage() override { return m_real->EndPage(); }
    int EndDoc() override;
    int AbortDoc() override;
    int GetDeviceCaps(int index) const override { return m_real->GetDeviceCaps(index); }
    std::unique_ptr<DeviceContext> CreateCompatible() const override { return m_real->CreateCompatible(); }
    CBitmap* SelectBitmap(CBitmap* bitmap) override { return m_real->SelectBitmap(bitmap); }
    QImage SelectedPixels() const override { return m_real->SelectedPixels(); }
    bool StretchBlt(const QRect& to, const QImage& source, const QRect& from, std::uint32_t rop) override
    {
        return m_real->StretchBlt(to, source, from, rop);
    }
    bool StretchJpeg(const QRect& to, const QByteArray& jpeg) override
    {
        return m_real->StretchJpeg(to, jpeg);
    }

private:
    void EndJob();

    std::unique_ptr<DeviceContext> m_real;
    QElapsedTimer m_job; // running from StartDoc to the job's end
};
