#include "platform/PostScriptPrinter.h"

#include "platform/JpegHeader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Document structuring comments keep to 255 characters a line.
constexpr int kMaxTitleBytes = 200;
constexpr double kPointsPerUnit = 72.0 / PostScriptPrinter::kUnitsPerInch;

std::atomic<int> nextJobId{1};

QByteArray Number(double value)
{
    return QByteArray::number(value, 'g', 12);
}

// The document name as the %%Title text line. Ghostscript copies it into
// the PDF's title as PDFDocEncoding, which agrees with Latin-1, so it is
// written in Latin-1; a character outside it or a control character
// becomes "?".
QByteArray TitleText(const QString& name)
{
    QByteArray text;
    for (const QChar c : name) {
        if (text.size() >= kMaxTitleBytes)
            break;
        const char16_t code = c.unicode();
        text.append(code < 32 || (code >= 127 && code < 160) || code > 255 ? '?' : char(code));
    }
    return text;
}

// Draws the image whose data follows in the file: operands are the pixel
// width, height and number of colour components. The data are the samples
// themselves, in binary, so Ghostscript reads them without decoding a filter.
constexpr char kProlog[] = R"(%%BeginProlog
%%BeginResource: procset FoliantImage 2.0 0
/FoliantImage {
  /FoliantComponents exch def /FoliantHeight exch def /FoliantWidth exch def
  FoliantComponents 1 eq { /DeviceGray } { /DeviceRGB } ifelse setcolorspace
  << /ImageType 1 /Width FoliantWidth /Height FoliantHeight /BitsPerComponent 8
     /Decode FoliantComponents 1 eq { [0 1] } { [0 1 0 1 0 1] } ifelse
     /ImageMatrix [FoliantWidth 0 0 FoliantHeight 0 0] /DataSource currentfile >> image
} bind def
%%EndResource
%%BeginResource: procset FoliantJpeg 1.0 0
/FoliantJpeg {
  /FoliantInverted exch def /FoliantComponents exch def /FoliantHeight exch def /FoliantWidth exch def
  FoliantComponents 1 eq { /DeviceGray } { FoliantComponents 3 eq { /DeviceRGB } { /DeviceCMYK } ifelse } ifelse
  setcolorspace
  << /ImageType 1 /Width FoliantWidth /Height FoliantHeight /BitsPerComponent 8
     /Decode [ FoliantComponents { FoliantInverted { 1 0 } { 0 1 } ifelse } repeat ]
     /ImageMatrix [FoliantWidth 0 0 FoliantHeight 0 0] /DataSource currentfile /DCTDecode filter >> image
} bind def
%%EndResource
%%EndProlog
)";

// Maps the stored picture's unit square onto the shown one, y downwards, for
// each EXIF orientation (1 upright; 2 mirrored; 3 half turn; 4 flipped;
// 5 transposed; 6 quarter turn clockwise; 7 transversed; 8 quarter turn back).
constexpr const char* kOrientationMatrix[] = {
    "[1 0 0 1 0 0]", "[-1 0 0 1 1 0]", "[-1 0 0 -1 1 1]", "[1 0 0 -1 0 1]",
    "[0 1 1 0 0 0]", "[0 1 -1 0 1 0]", "[0 -1 -1 0 1 1]", "[0 -1 1 0 0 1]",
};

// The stored colour of count pixels of a row from column first on, whatever
// their alpha says: one byte of grey or three of RGB a pixel.
void StoredColours(const QImage& image, int row, int first, int count, uchar* out)
{
    const uchar* line = image.constScanLine(row);
    switch (image.format()) {
    case QImage::Format_Grayscale8:
        std::copy_n(line + first, count, out);
        return;
    case QImage::Format_RGB888:
        std::copy_n(line + 3 * std::size_t(first), 3 * std::size_t(count), out);
        return;
    case QImage::Format_Indexed8: {
        const QList<QRgb> colours = image.colorTable();
        for (int x = first; x < first + count; ++x) {
            const QRgb colour = line[x] < colours.size() ? colours[line[x]] : 0;
            *out++ = uchar(qRed(colour));
            *out++ = uchar(qGreen(colour));
            *out++ = uchar(qBlue(colour));
        }
        return;
    }
    default: // RGB32 and ARGB32
        for (const QRgb colour : std::span(reinterpret_cast<const QRgb*>(line) + first, std::size_t(count))) {
            *out++ = uchar(qRed(colour));
            *out++ = uchar(qGreen(colour));
            *out++ = uchar(qBlue(colour));
        }
        return;
    }
}

} // namespace

PostScriptPrinter::PostScriptPrinter(const PaperSize& paper)
    : m_paper(paper), m_paperWidth(static_cast<int>(paper.WidthPoints() / kPointsPerUnit)),
      m_paperHeight(static_cast<int>(paper.HeightPoints() / kPointsPerUnit))
{
}

PostScriptPrinter::~PostScriptPrinter()
{
    if (m_inDoc)
        AbortDoc();
}

int PostScriptPrinter::GetDeviceCaps(int index) const
{
    switch (index) {
    case HORZRES:
        return m_paperWidth - 2 * kMargin;
    case VERTRES:
        return m_paperHeight - 2 * kMargin;
    case HORZSIZE:
        return qRound((m_paperWidth - 2 * kMargin) * 25.4 / kUnitsPerInch);
    case VERTSIZE:
        return qRound((m_paperHeight - 2 * kMargin) * 25.4 / kUnitsPerInch);
    case LOGPIXELSX:
    case LOGPIXELSY:
        return kUnitsPerInch;
    case PHYSICALWIDTH:
        return m_paperWidth;
    case PHYSICALHEIGHT:
        return m_paperHeight;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
        return kMargin;
    default:
        return 0;
    }
}

int PostScriptPrinter::StartDoc(const DOCINFO& info)
{
    // There is no printer port behind this printer: a job must name its file.
    if (m_inDoc || info.lpszOutput.isEmpty())
        return SP_ERROR;
    if (!OpenOutput(info.lpszOutput))
        return SP_ERROR;
    m_inDoc = true;
    m_inPage = false;
    m_failed = false;
    m_pages = 0;
    WriteHeader(info);
    if (m_failed) {
        Discard();
        return SP_ERROR;
    }
    return nextJobId++;
}

bool PostScriptPrinter::OpenOutput(const QString& path)
{
    m_outputPath = path;
    m_partPath.clear();
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {
    };
    int fd = -1;
    if (::lstat(native.constData(), &info) == 0 && S_ISCHR(info.st_mode)) {
        // A job sent to a device writes into the device.
        fd = ::open(native.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    } else {
        // Whatever stands at the name goes now (a link itself, never what it
        // points at), so a job that fails leaves no file there. The job is
        // written under a new name of its own beside it and renamed into
        // place when it is whole: a file at the name is always a complete job.
        const QFileInfo target(path);
        if (target.isDir() || (::unlink(native.constData()) != 0 && errno != ENOENT))
            return false;
        QByteArray part = QFile::encodeName(
            target.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX").arg(target.fileName())));
        fd = ::mkostemp(part.data(), O_CLOEXEC);
        if (fd >= 0)
            m_partPath = QFile::decodeName(part);
    }
    if (fd < 0)
        return false;
    if (!m_file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        Discard();
        return false;
    }
    return true;
}

void PostScriptPrinter::WriteHeader(const DOCINFO& info)
{
    const QByteArray size = Number(m_paper.WidthPoints()) + ' ' + Number(m_paper.HeightPoints());
    const QByteArray box = QByteArray::number(std::ceil(m_paper.WidthPoints())) + ' ' +
                           QByteArray::number(std::ceil(m_paper.HeightPoints()));
    const QByteArray media = m_paper.Name().toLatin1();
    const QByteArray title = TitleText(info.lpszDocName);
    const QByteArray now =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    QByteArray text = "%!PS-Adobe-3.0\n";
    text += "%%Title: " + title + '\n';
    text += "%%Creator: Foliant 3.0\n";
    text += "%%CreationDate: (" + now + ")\n";
    text += "%%LanguageLevel: 3\n";
    text += "%%DocumentData: Binary\n"; // the pictures' samples
    text += "%%BoundingBox: 0 0 " + box + '\n';
    text += "%%HiResBoundingBox: 0 0 " + size + '\n';
    text += "%%DocumentMedia: " + media + ' ' + size + " 0 () ()\n";
    text += "%%Orientation: Portrait\n%%Pages: (atend)\n%%PageOrder: Ascend\n%%EndComments\n";
    text += kProlog;
    text += "%%BeginSetup\n%%BeginFeature: *PageSize " + media + '\n';
    text += "{ << /PageSize [" + size + "] >> setpagedevice } stopped pop\n%%EndFeature\n%%EndSetup\n";
    Write(text);
}

int PostScriptPrinter::StartPage()
{
    if (!m_inDoc || m_inPage || m_failed)
        return SP_ERROR;
    ++m_pages;
    m_inPage = true;
    const QByteArray number = QByteArray::number(m_pages);
    // Device space: 600 units an inch, y downwards from the printable
    // area's top-left corner, clipped to the printable area.
    const double left = kMargin * kPointsPerUnit;
    const double top = m_paper.HeightPoints() - kMargin * kPointsPerUnit;
    Write("%%Page: " + number + ' ' + number + "\n%%BeginPageSetup\nsave\n%%EndPageSetup\n" + Number(left) +
          ' ' + Number(top) + " translate " + Number(kPointsPerUnit) + ' ' + Number(-kPointsPerUnit) +
          " scale\n0 0 " + QByteArray::number(GetDeviceCaps(HORZRES)) + ' ' +
          QByteArray::number(GetDeviceCaps(VERTRES)) + " rectclip\n");
    return m_failed ? SP_ERROR : 1;
}

int PostScriptPrinter::EndPage()
{
    if (!m_inPage)
        return SP_ERROR;
    m_inPage = false;
    Write("restore\nshowpage\n%%PageTrailer\n");
    return m_failed ? SP_ERROR : 1;
}

int PostScriptPrinter::EndDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    if (m_inPage)
        EndPage();
    Write("%%Trailer\n%%Pages: " + QByteArray::number(m_pages) + "\n%%EOF\n");
    if (!m_failed && !m_file.flush())
        m_failed = true;
    if (m_failed) {
        // A job that could not be written whole leaves no file, so nothing
        // half-written is ever taken for a finished document.
        Discard();
        return SP_ERROR;
    }
    m_file.close();
    if (!m_partPath.isEmpty() && std::rename(QFile::encodeName(m_partPath).constData(),
                                             QFile::encodeName(m_outputPath).constData()) != 0) {
        Discard();
        return SP_ERROR;
    }
    m_partPath.clear();
    m_inDoc = false;
    return 1;
}

int PostScriptPrinter::AbortDoc()
{
    if (!m_inDoc)
        return SP_ERROR;
    Discard();
    return 1;
}

void PostScriptPrinter::Discard()
{
    m_file.close();
    // Only the job's own part is removed, never a device it was sent to.
    if (!m_partPath.isEmpty())
        QFile::remove(m_partPath);
    m_partPath.clear();
    m_inDoc = false;
    m_inPage = false;
}

void PostScriptPrinter::Write(const QByteArray& text)
{
    if (!m_failed && m_file.write(text) != text.size())
        m_failed = true;
}

bool PostScriptPrinter::StretchBlt(const QRect& to, const QImage& source, const QRect& from,
                                   std::uint32_t rop)
{
    if (rop != SRCCOPY || !m_inPage || m_failed || source.isNull() || to.width() <= 0 || to.height() <= 0 ||
        from.width() <= 0 || from.height() <= 0 || !source.rect().contains(from))
        return false;
    // Only the source pixels that land inside the printable area are
    // written: a picture far taller than the page costs no more than the page.
    const double scaleX = double(to.width()) / from.width();
    const double scaleY = double(to.height()) / from.height();
    const int firstColumn = std::max(0, int(std::floor(-to.x() / scaleX)));
    const int endColumn = std::min(from.width(), int(std::ceil((GetDeviceCaps(HORZRES) - to.x()) / scaleX)));
    const int firstRow = std::max(0, int(std::floor(-to.y() / scaleY)));
    const int endRow = std::min(from.height(), int(std::ceil((GetDeviceCaps(VERTRES) - to.y()) / scaleY)));
    if (firstColumn >= endColumn || firstRow >= endRow)
        return true;
    const QRect visible(from.x() + firstColumn, from.y() + firstRow, endColumn - firstColumn,
                        endRow - firstRow);
    WriteImage(source, visible, to.x() + firstColumn * scaleX, to.y() + firstRow * scaleY,
               visible.width() * scaleX, visible.height() * scaleY);
    return !m_failed;
}

void PostScriptPrinter::WriteImage(const QImage& source, const QRect& from, double x, double y, double width,
                                   double height)
{
    switch (source.format()) {
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB888:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_Indexed8:
        break;
    default: {
        const QImage image = source.copy(from).convertToFormat(QImage::Format_RGB888);
        return WriteImage(image, image.rect(), x, y, width, height);
    }
    }
    const int components = source.format() == QImage::Format_Grayscale8 ? 1 : 3;
    const std::size_t rowBytes = std::size_t(from.width()) * components;
    // The operator's line and the samples after it are the data section.
    const QByteArray operatorLine = QByteArray::number(from.width()) + ' ' +
                                    QByteArray::number(from.height()) + ' ' + QByteArray::number(components) +
                                    " FoliantImage\n";
    const qint64 dataBytes = operatorLine.size() + qint64(rowBytes) * from.height();
    Write("gsave\n" + Number(x) + ' ' + Number(y) + " translate " + Number(width) + ' ' + Number(height) +
          " scale\n%%BeginData: " + QByteArray::number(dataBytes) + " Binary Bytes\n" + operatorLine);
    // Rows go out in blocks of about a megabyte.
    const int rowsPerBlock = int(std::max<std::size_t>(1, (1u << 20) / rowBytes));
    std::vector<uchar> block(rowBytes * std::size_t(rowsPerBlock));
    for (int row = from.top(); row <= from.bottom() && !m_failed;) {
        const int rows = std::min(rowsPerBlock, from.bottom() + 1 - row);
        for (int i = 0; i < rows; ++i)
            StoredColours(source, row + i, from.left(), from.width(),
                          block.data() + rowBytes * std::size_t(i));
        if (m_file.write(reinterpret_cast<const char*>(block.data()), qint64(rowBytes) * rows) !=
            qint64(rowBytes) * rows)
            m_failed = true;
        row += rows;
    }
    Write("\n%%EndData\ngrestore\n");
}

bool PostScriptPrinter::StretchJpeg(const QRect& to, const QByteArray& jpeg)
{
    if (!m_inPage || m_failed || to.width() <= 0 || to.height() <= 0)
        return false;
    const JpegHeader header = JpegHeader::Read(jpeg);
    if (!header.valid)
        return false;
    const QByteArray operatorLine =
        QByteArray::number(header.width) + ' ' + QByteArray::number(header.height) + ' ' +
        QByteArray::number(header.components) + (header.invertedCmyk ? " true" : " false") + " FoliantJpeg\n";
    Write("gsave\n" + Number(to.x()) + ' ' + Number(to.y()) + " translate " + Number(to.width()) + ' ' +
          Number(to.height()) + " scale " + kOrientationMatrix[header.orientation - 1] +
          " concat\n%%BeginData: " + QByteArray::number(operatorLine.size() + header.length) +
          " Binary Bytes\n" + operatorLine);
    if (!m_failed && m_file.write(jpeg.constData(), header.length) != header.length)
        m_failed = true;
    Write("\n%%EndData\ngrestore\n");
    return !m_failed;
}
