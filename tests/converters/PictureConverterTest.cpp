#include "ConverterTestFixture.h"

#include "converters/Converters.h"
#include "platform/CPrintDialog.h"
#include "platform/ScreenDeviceContext.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include <zlib.h>

namespace {

// The default printer as the picture converter tests see it: every call is
// logged; StartDoc and StartPage answer as told. A job EndDoc accepts is
// complete at once, unless the printer is told it never completes.
class RecordingPrinter : public DeviceContext
{
public:
    RecordingPrinter(EventLog& log, int startDoc, int startPage, int end, bool completes)
        : m_log(log), m_startDoc(startDoc), m_startPage(startPage), m_end(end), m_completes(completes)
    {
    }
    ~RecordingPrinter() override { m_log.Add(QStringLiteral("printer deleted")); }

    int StartDoc(const DOCINFO& info) override
    {
        m_log.Add(QStringLiteral("StartDoc %1 -> %2").arg(info.lpszDocName, info.lpszOutput));
        m_output = info.lpszOutput;
        return m_startDoc;
    }
    int StartPage() override
    {
        m_log.Add(QStringLiteral("StartPage"));
        return m_startPage;
    }
    int EndPage() override
    {
        m_log.Add(QStringLiteral("EndPage"));
        return m_end;
    }
    int EndDoc() override
    {
        m_log.Add(QStringLiteral("EndDoc"));
        QFile job(m_output);
        if (m_end > 0 && m_completes && job.open(QIODevice::WriteOnly))
            job.write("%!PS-Adobe-3.0\n");
        return m_end;
    }
    int AbortDoc() override
    {
        m_log.Add(QStringLiteral("AbortDoc"));
        return 1;
    }
    int GetDeviceCaps(int index) const override
    {
        return index == LOGPIXELSX || index == LOGPIXELSY ? 600 : 0;
    }
    bool StretchBlt(const QRect& to, const QImage& source, const QRect& from, std::uint32_t rop) override
    {
        m_log.Add(QStringLiteral("StretchBlt %1,%2 %3x%4 from %5,%6 %7x%8 of %9x%10 rop %11")
                      .arg(to.x())
                      .arg(to.y())
                      .arg(to.width())
                      .arg(to.height())
                      .arg(from.x())
                      .arg(from.y())
                      .arg(from.width())
                      .arg(from.height())
                      .arg(source.width())
                      .arg(source.height())
                      .arg(rop, 0, 16));
        return true;
    }

private:
    EventLog& m_log;
    int m_startDoc;
    int m_startPage;
    int m_end; // what EndPage and EndDoc answer
    bool m_completes;
    QString m_output;
};

// A screen that cannot give a memory device context.
class ExhaustedScreen : public DeviceContext
{
public:
    int GetDeviceCaps(int) const override { return 96; }
    std::unique_ptr<DeviceContext> CreateCompatible() const override { return nullptr; }
};

// A PNG whose header claims a size, with nothing after it.
QByteArray PngHeader(quint32 width, quint32 height)
{
    QByteArray chunk("IHDR");
    chunk.append(reinterpret_cast<const char*>(&(width = qToBigEndian(width))), 4);
    chunk.append(reinterpret_cast<const char*>(&(height = qToBigEndian(height))), 4);
    chunk.append("\x08\x02\x00\x00\x00", 5); // 8-bit RGB
    quint32 crc = qToBigEndian(static_cast<quint32>(
        crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), static_cast<uInt>(chunk.size()))));
    quint32 length = qToBigEndian(quint32(13));
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.append(reinterpret_cast<const char*>(&length), 4);
    png.append(chunk);
    png.append(reinterpret_cast<const char*>(&crc), 4);
    // An empty first data chunk, so the header counts as complete.
    const quint32 dataCrc =
        qToBigEndian(static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>("IDAT"), 4)));
    png.append(QByteArray(4, '\0')).append("IDAT").append(reinterpret_cast<const char*>(&dataCrc), 4);
    return png;
}

class PictureConverterTest : public ConverterTest
{
protected:
    PictureConverterTest() { UsePrinter(1, 1); }
    ~PictureConverterTest() override
    {
        CPrintDialog::SetDefaultPrinterFactory({});
        SetScreenDCFactory({});
    }

    void UsePrinter(int startDoc, int startPage, int end = 1, bool completes = true)
    {
        CPrintDialog::SetDefaultPrinterFactory(
            [this, startDoc, startPage, end, completes]() -> std::unique_ptr<DeviceContext> {
                log.Add(QStringLiteral("default printer"));
                return std::make_unique<RecordingPrinter>(log, startDoc, startPage, end, completes);
            });
    }
    QString Picture(int width, int height, const char* format = "PNG")
    {
        const QString path = m_pictures.filePath(QStringLiteral("picture%1x%2.%3")
                                                     .arg(width)
                                                     .arg(height)
                                                     .arg(QString::fromLatin1(format).toLower()));
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    static QString Pdf(const QString& path)
    {
        return QStringLiteral("MakePdfFromSpool %1 (converted -1)").arg(path);
    }
    // The wait for the spool file, at most ten minutes.
    static QStringList Wait() { return {QStringLiteral("WaitUntil 600000")}; }
    QString AppBox(const QString& text) const
    {
        return QStringLiteral("%1|0x0|%2").arg(QCoreApplication::applicationName(), text);
    }

    QTemporaryDir m_pictures;
};

TEST_F(PictureConverterTest, APictureIsPrintedOnOnePage4720WideWithItsHeightScaledThenMadeIntoAPdf)
{
    const struct
    {
        int width, height, drawnHeight;
    } sizes[] = {{800, 600, 3547}, {1000, 1000, 4730}, {100, 100, 4729}, {3000, 4000, 6306}, {1, 1, 4730}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.width);
        const QString path = Picture(size.width, size.height);
        log.Clear();
        EXPECT_TRUE(ConvertPicture(page, path));
        const QStringList expected =
            QStringList{QStringLiteral("default printer"),
                        QStringLiteral("StartDoc %1 -> %2").arg(path, m_spool),
                        QStringLiteral("StartPage"),
                        QStringLiteral("StretchBlt 0,0 4720x%1 from 0,0 %2x%3 of %2x%3 rop cc0020")
                            .arg(size.drawnHeight)
                            .arg(size.width)
                            .arg(size.height),
                        QStringLiteral("EndPage"),
                        QStringLiteral("EndDoc"),
                        QStringLiteral("printer deleted")} +
            Wait() + QStringList{Pdf(path)};
        EXPECT_EQ(Events(), expected) << Lines(Events());
        EXPECT_EQ(page.MemoryDC().GetSafeHdc(), nullptr) << "the page holds no memory DC between pictures";
        EXPECT_TRUE(page.Boxes().isEmpty());
    }
}

TEST_F(PictureConverterTest, PrinterFailuresAreToldAndThePdfStepStillRunsOnAnEmptiedSpoolFile)
{
    const QString path = Picture(20, 10);
    page.pdfOutcome.made = false;
    page.pdfOutcome.failure = PdfOutcome::Failure::EmptySpool;
    page.pdfOutcome.reason = QStringLiteral("The print job wrote no PostScript.");
    const struct
    {
        bool printer;
        int startDoc, startPage;
        QString message;
        QStringList printerCalls;
    } cases[] = {
        {false,
         1,
         1,
         QStringLiteral("Buy a printer!"),
         {QStringLiteral("default printer"), QStringLiteral("box")}},
        {true,
         -1,
         1,
         QStringLiteral("Printer wouldn't initalize"),
         {QStringLiteral("default printer"), QStringLiteral("StartDoc %1 -> %2").arg(path, m_spool),
          QStringLiteral("box"), QStringLiteral("printer deleted")}},
        {true,
         1,
         -1,
         QStringLiteral("Could not start page"),
         {QStringLiteral("default printer"), QStringLiteral("StartDoc %1 -> %2").arg(path, m_spool),
          QStringLiteral("StartPage"), QStringLiteral("box"), QStringLiteral("AbortDoc"),
          QStringLiteral("printer deleted")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        QFile stale(m_spool);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("%!PS the previous picture\n");
        stale.close();
        log.Clear();
        if (c.printer)
            UsePrinter(c.startDoc, c.startPage);
        else
            CPrintDialog::SetDefaultPrinterFactory([this]() -> std::unique_ptr<DeviceContext> {
                log.Add(QStringLiteral("default printer"));
                return nullptr;
            });
        const int boxes = static_cast<int>(page.Boxes().size());
        EXPECT_FALSE(ConvertPicture(page, path));
        // The box comes where "box" stands.
        QStringList expected = c.printerCalls + QStringList{Pdf(path)};
        expected.replace(expected.indexOf(QStringLiteral("box")), QStringLiteral("box ") + AppBox(c.message));
        EXPECT_EQ(Events(), expected) << Lines(Events());
        EXPECT_EQ(page.Boxes().size(), boxes + 1) << "one message, not a second one for the empty spool file";
        EXPECT_FALSE(QFile::exists(m_spool)) << "the previous picture never becomes this one's PDF";
        EXPECT_EQ(page.MemoryDC().GetSafeHdc(), nullptr);
    }
}

TEST_F(PictureConverterTest, FailingEndPageAndEndDocAreIgnored)
{
    UsePrinter(1, 1, SP_ERROR);
    const QString path = Picture(20, 10);
    EXPECT_TRUE(ConvertPicture(page, path));
    const QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("EndDoc")));
    EXPECT_TRUE(events.contains(Pdf(path)));
    EXPECT_FALSE(events.contains(Wait().first())) << "a job EndDoc refused will never complete";
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(PictureConverterTest, NoMemoryDcAbortsThePrintAndNothingFollows)
{
    SetScreenDCFactory([](const QWindow*) { return std::make_unique<ExhaustedScreen>(); });
    const QString path = Picture(20, 10);
    EXPECT_FALSE(ConvertPicture(page, path));
    const QStringList events = Events();
    EXPECT_EQ(events.mid(0, 5), (QStringList{QStringLiteral("default printer"),
                                             QStringLiteral("StartDoc %1 -> %2").arg(path, m_spool),
                                             QStringLiteral("StartPage"), QStringLiteral("AbortDoc"),
                                             QStringLiteral("printer deleted")}))
        << Lines(events);
    EXPECT_FALSE(events.contains(Wait().first()));
    EXPECT_FALSE(events.contains(Pdf(path)));
    ASSERT_EQ(page.Boxes().size(), 1) << "the user learns why the picture is missing";
    EXPECT_TRUE(page.Boxes()[0].contains(QStringLiteral("was not converted")));
}

TEST_F(PictureConverterTest, PicturesThatCannotBeDecodedOrAreTooLargeGetOneMessageAndNoPrintJob)
{
    const QString damaged = m_pictures.filePath(QStringLiteral("damaged.png"));
    testing::internal::CaptureStderr();
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n but nothing of a picture follows");
    file.close();
    const QString huge = m_pictures.filePath(QStringLiteral("huge.png"));
    QFile bomb(huge);
    ASSERT_TRUE(bomb.open(QIODevice::WriteOnly));
    bomb.write(PngHeader(20000, 20000));
    bomb.close();
    for (const QString& path : {damaged, huge}) {
        log.Clear();
        EXPECT_FALSE(ConvertPicture(page, path));
        ASSERT_EQ(Events().size(), 1) << Lines(Events());
        EXPECT_TRUE(
            Events()[0].startsWith(QStringLiteral("box Foliant 3.0|0x30|%1 was not converted.").arg(path)))
            << Lines(Events());
    }
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(page.Boxes()[1].contains(QStringLiteral("too large"))) << Lines(page.Boxes());
}

TEST_F(PictureConverterTest, AFailedPdfStepIsToldAndThePictureIsNotRecorded)
{
    const QString path = Picture(30, 20, "BMP");
    page.pdfOutcome.made = false;
    page.pdfOutcome.failure = PdfOutcome::Failure::OutputFolder;
    page.pdfOutcome.reason = QStringLiteral("The output folder /out does not exist.");
    EXPECT_FALSE(ConvertPicture(page, path));
    EXPECT_EQ(page.Boxes(),
              QStringList{QStringLiteral("Foliant 3.0|0x30|The PDF of %1 could not be made.\nThe "
                                         "output folder /out does not exist.")
                              .arg(path)});

    // A job that never completes: given up at the limit with its reason, or
    // at once when the run is stopped; no PDF step, nothing recorded.
    UsePrinter(1, 1, 1, false);
    log.Clear();
    EXPECT_FALSE(ConvertPicture(page, path));
    EXPECT_FALSE(Events().contains(Pdf(path)));
    EXPECT_EQ(page.Boxes().last(),
              QStringLiteral("Foliant 3.0|0x30|%1 was not converted.\nThe printer did not finish printing "
                             "within 10 minutes.")
                  .arg(path));
    log.Clear();
    page.stopAtWait = 3; // this picture's
    EXPECT_FALSE(ConvertPicture(page, path));
    EXPECT_EQ(Events().count(Wait().first()), 1);
    EXPECT_FALSE(Events().contains(Pdf(path)));
    EXPECT_EQ(page.Boxes().size(), 2);
}

} // namespace
