#include "converters/ConversionPage.h"
#include "converters/ConverterReports.h"
#include "converters/Converters.h"
#include "converters/SpoolFile.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/CImage.h"
#include "platform/CPrintDialog.h"
#include "platform/MessageBoxService.h"
#include "platform/ScreenDeviceContext.h"

#include <QCoreApplication>

using namespace converterreports;

namespace {

// The picture is drawn 4720 device units wide, its height scaled by 4730 / width.
constexpr int kDestinationWidth = 4720;
constexpr float kScaleWidth = 4730.0f;

// The picture converter's boxes: owned by the page, the application's name
// as caption, OK only, no icon.
void Tell(ConversionPage& page, const QString& text)
{
    MessageBox(page.Window(), text, QCoreApplication::applicationName(), MB_OK);
}

enum class Print {
    Made,
    NotMade,  // told the user; the PDF step follows as after a print
    Abandoned // told the user; nothing follows
};

// Draws the bitmap through the memory DC: 4720 wide, the height by the scale
// rounded to single precision, the product truncated. A JPEG file's own data
// go to a printer that takes them as they are, as the bitmap's stand-in. The
// bitmap stays selected; the one selected before is returned.
CBitmap* DrawPicture(CDC& printer, CDC& memory, CBitmap& bitmap, const QByteArray& jpeg = {})
{
    BITMAP header;
    bitmap.GetBitmap(&header);
    const float width = static_cast<float>(header.bmWidth);
    const float height = static_cast<float>(header.bmHeight);
    CBitmap* previous = memory.SelectObject(&bitmap);
    const float scale = kScaleWidth / width;
    const int destinationHeight = static_cast<int>(static_cast<double>(height) * static_cast<double>(scale));
    if (!printer.StretchJpeg(0, 0, kDestinationWidth, destinationHeight, jpeg))
        printer.StretchBlt(0, 0, kDestinationWidth, destinationHeight, &memory, 0, 0, header.bmWidth,
                           header.bmHeight, SRCCOPY);
    return previous;
}

// Prints the picture on the default printer into the spool file: bitmap as
// the first page, and each further page of image (a multi-page picture)
// after it.
// *spooled tells whether the printer took the job (EndDoc), so that it will complete.
Print PrintPicture(ConversionPage& page, const QString& sourcePath, const QString& spoolPath, CBitmap& bitmap,
                   const QByteArray& jpeg, CImage& image, bool* spooled)
{
    const int pageCount = image.PageCount();
    *spooled = false;
    CPrintDialog printDialog(false, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION);
    if (!printDialog.GetDefaults()) {
        Tell(page, QStringLiteral("Buy a printer!"));
        return Print::NotMade;
    }
    CDC printer;
    printer.Attach(printDialog.GetPrinterDC());
    DOCINFO document;
    document.lpszDocName = sourcePath;
    document.lpszOutput = spoolPath;
    if (printer.StartDoc(&document) < 0) {
        Tell(page, QStringLiteral("Printer wouldn't initalize"));
        printer.DeleteDC();
        return Print::NotMade;
    }
    if (printer.StartPage() < 0) {
        Tell(page, QStringLiteral("Could not start page"));
        printer.AbortDoc();
        printer.DeleteDC();
        return Print::NotMade;
    }

    // The page's memory DC, compatible with the screen. The screen's DC is
    // not asked for the page's window: off the GUI thread, where converters
    // run, every window sees the screen's plain defaults.
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC& memory = page.MemoryDC();
    if (!memory.GetSafeHdc() && !memory.CreateCompatibleDC(&screen)) {
        screen.DeleteDC();
        printer.AbortDoc();
        printer.DeleteDC();
        ReportNotConverted(page, sourcePath,
                           QStringLiteral("No memory device context could be made to draw it."));
        return Print::Abandoned;
    }

    CBitmap* previous = DrawPicture(printer, memory, bitmap, jpeg);
    printer.EndPage();
    // Further pages are decoded one at a time, each after the last is drawn,
    // from the file as it was opened for the first.
    for (int index = 1; index < pageCount; ++index) {
        memory.SelectObject(previous);
        bitmap.DeleteObject();
        const bool loaded = image.LoadPage(index);
        if (!loaded || printer.StartPage() < 0) {
            memory.DeleteDC();
            screen.DeleteDC();
            printer.AbortDoc();
            printer.DeleteDC();
            ReportNotConverted(page, sourcePath,
                               loaded ? QStringLiteral("Could not start page %1.").arg(index + 1)
                                      : image.ErrorText());
            return Print::Abandoned;
        }
        bitmap.Attach(image.Detach());
        previous = DrawPicture(printer, memory, bitmap);
        printer.EndPage();
    }
    *spooled = printer.EndDoc() > 0;
    memory.SelectObject(previous);
    memory.DeleteDC();
    bitmap.DeleteObject();
    screen.DeleteDC();
    printer.DeleteDC();
    return Print::Made;
}

} // namespace

bool ConvertPicture(ConversionPage& page, const QString& sourcePath)
{
    if (page.StopRequested())
        return false;

    // Decode first: a picture that cannot be read, or is too large, is
    // neither printed nor made into a PDF.
    CImage image;
    if (!image.Load(sourcePath)) {
        ReportNotConverted(page, sourcePath, image.ErrorText());
        return false;
    }
    CBitmap bitmap;
    bitmap.Attach(image.Detach());

    QString why;
    const QString spoolPath = page.SpoolFilePath(&why);
    if (spoolPath.isEmpty() || !spoolfile::Empty(spoolPath, &why)) {
        ReportNotConverted(page, sourcePath, why);
        return false;
    }
    // Decoded before its turn: the picture prints in it.
    if (!page.TakePrintTurn())
        return false;
    bool spooled = false;
    const QByteArray jpeg = image.JpegData();
    const Print print = PrintPicture(page, sourcePath, spoolPath, bitmap, jpeg, image, &spooled);
    bitmap.DeleteObject();
    if (print == Print::Abandoned)
        return false;

    // The spool file complete; a job the printer never took leaves none to wait for.
    if (spooled) {
        const ConversionPage::WaitEnd end = spoolfile::WaitForJob(page, spoolPath);
        if (end == ConversionPage::WaitEnd::Stopped)
            return false;
        if (end == ConversionPage::WaitEnd::TimedOut) {
            ReportNotConverted(page, sourcePath,
                               QStringLiteral("The printer did not finish printing within %1 minutes.")
                                   .arg(spoolfile::kPrintTimeLimitMinutes));
            return false;
        }
    } else if (page.StopRequested()) {
        return false;
    }
    const PdfOutcome outcome = page.MakePdfFromSpool(sourcePath);
    if (page.StopRequested())
        return false;
    if (!outcome.made) {
        // A print job that was never made has been reported already; its
        // empty spool file needs no second message.
        if (print == Print::Made || outcome.failure != PdfOutcome::Failure::EmptySpool)
            ReportPdfFailure(page, sourcePath, outcome);
        return false;
    }
    ReportPdfNotice(page, outcome);
    return print == Print::Made;
}
