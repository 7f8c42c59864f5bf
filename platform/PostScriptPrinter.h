#pragma once

#include "platform/DeviceContext.h"
#include "platform/PaperSize.h"

#include <QFile>

// The product's PostScript printer as a device context. A print job writes
// DSC-conforming PostScript (language level 3) into the file StartDoc names:
// one page per StartPage/EndPage, each picture as binary samples at its own
// resolution, scaled onto its device rectangle. Device units are
// 600 per inch; (0, 0) is the top-left corner of the printable area, which
// lies kMargin units inside every edge of the paper, and whatever runs past
// it is cut off there. The file appears under its name only when EndDoc has
// written it whole.
class PostScriptPrinter : public DeviceContext
{
public:
    static constexpr int kUnitsPerInch = 600;
    static constexpr int kMargin = 100; // 1/6 inch, about 4.2 mm, on every side

    explicit PostScriptPrinter(const PaperSize& paper = PaperSize::System());
    ~PostScriptPrinter() override;

    int StartDoc(const DOCINFO& info) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;
    int GetDeviceCaps(int index) const override;
    bool StretchBlt(const QRect& to, const QImage& source, const QRect& from, std::uint32_t rop) override;
    // The JPEG's own data go into the job behind a DCT filter, so the PDF
    // step can keep them byte for byte.
    bool StretchJpeg(const QRect& to, const QByteArray& jpeg) override;

private:
    void Write(const QByteArray& text);
    bool OpenOutput(const QString& path);
    void WriteHeader(const DOCINFO& info);
    void WriteImage(const QImage& source, const QRect& from, double x, double y, double width, double height);
    void Discard();

    PaperSize m_paper;
    int m_paperWidth;  // device units
    int m_paperHeight; // device units
    QFile m_file;
    QString m_outputPath;
    QString m_partPath; // where the job is written until it is whole; empty for a device
    bool m_inDoc = false;
    bool m_inPage = false;
    bool m_failed = false;
    int m_pages = 0;
};
