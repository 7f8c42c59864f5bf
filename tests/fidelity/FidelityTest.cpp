// Real documents through the real office host, LibreOffice, the picture
// printer and Ghostscript, held against LibreOffice's own PDF of the same
// file: text, links and size at every PDF version, page counts, pictures on
// white paper, and an office host that fails during Open.

#include "HeadlessPage.h"
#include "PdfFacts.h"
#include "ProcessTree.h"
#include "PumpWhile.h"
#include "TestPictures.h"
#include "TestTools.h"

#include "ScriptedMessageBoxes.h"
#include "converters/CEnterPassWordDlg.h"
#include "converters/Converters.h"
#include "converters/OpenPassword.h"
#include "pdf/AdvancedChoices.h"
#include "platform/COleDispatchDriver.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/OfficeDispids.h"
#include "platform/OfficeHostConnection.h"
#include "platform/PdfDrawingFacts.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using testtools::RunTool;

namespace {

const QString kLink = QStringLiteral("https://www.example.org/foliant/fidelity");
const QStringList kVersions{QStringLiteral("V1.3(Acrobat 4.xx)"), QStringLiteral("V1.4"),
                            QStringLiteral("V1.5")};

// The documents and LibreOffice's own PDFs, made once per test program.
QString Corpus(QString* why)
{
    static QTemporaryDir folder;
    static QString failure = [] {
        const testtools::ToolResult r = RunTool(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(FOLIANT_TEST_SOURCE_DIR "/make_fidelity_documents.py"), folder.path()}, 600000);
        return r.exitCode == 0 ? QString() : QStringLiteral("make_fidelity_documents.py: ") + r.err;
    }();
    *why = failure;
    return failure.isEmpty() ? folder.path() : QString();
}

QMap<QString, int> Words(const QString& pdf)
{
    QMap<QString, int> words;
    for (const QString& word : testtools::PdfWords(pdf))
        ++words[word];
    return words;
}

// The share of the reference's words (counted with repeats) that ours has.
double KeptShare(const QString& ours, const QString& reference)
{
    const QMap<QString, int> have = Words(ours);
    const QMap<QString, int> want = Words(reference);
    int total = 0, kept = 0;
    for (auto it = want.begin(); it != want.end(); ++it) {
        total += it.value();
        kept += qMin(it.value(), have.value(it.key()));
    }
    return total == 0 ? 0.0 : double(kept) / total;
}

bool HasLink(const QString& pdf)
{
    const QString tree = QString::fromLatin1(
        RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"),
                                         pdf, QStringLiteral("-")})
            .out);
    return tree.contains(QStringLiteral("/Subtype /Link")) &&
           tree.contains(QStringLiteral("/URI (%1)").arg(kLink));
}

// The bytes of each JPEG the PDF holds, as stored.
QList<QByteArray> Jpegs(const QString& pdf)
{
    QTemporaryDir folder;
    RunTool(QStringLiteral("pdfimages"),
            {QStringLiteral("-j"), pdf, folder.filePath(QStringLiteral("image"))});
    QList<QByteArray> jpegs;
    for (const QString& name :
         QDir(folder.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name))
        jpegs << testtools::ReadFile(folder.filePath(name));
    return jpegs;
}

// How each picture of the PDF is stored ("jpeg", "image" for Flate), sorted.
QStringList Encodings(const QString& pdf)
{
    const QStringList lines =
        QString::fromUtf8(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).out)
            .split(u'\n', Qt::SkipEmptyParts);
    QStringList encodings;
    for (const QString& line : lines.mid(2))
        encodings << line.simplified().split(u' ').value(8);
    encodings.sort();
    return encodings;
}

QString PdfVersion(const QString& pdf)
{
    static const QRegularExpression version(QStringLiteral("PDF version:\\s+(\\S+)"));
    return version.match(QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {pdf}).out)).captured(1);
}

// The first page drawn at 30 dots an inch.
QImage FirstPage(const QString& pdf)
{
    QTemporaryDir pages;
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), pdf, pages.filePath(QStringLiteral("page"))});
    return QImage(pages.filePath(QStringLiteral("page-1.png")));
}

// Where the page is not white.
QRect Inked(const QImage& page)
{
    QRect inked;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!testpictures::Near(page.pixelColor(x, y), Qt::white, 16))
                inked |= QRect(x, y, 1, 1);
    return inked;
}

int Pages(const QString& pdf)
{
    return pdffacts::ReadInfo(pdf).pages;
}

// Makes the office host fail at the document's Open: killed, or stopped so
// that it hangs past the call's time limit. Everything else goes through.
class FailingAtOpen : public IDispatchFactory
{
public:
    enum class How { Killed, Hung };

    explicit FailingAtOpen(How how) : m_how(how) { m_real = COleDispatchDriver::SetDispatchFactory(this); }
    ~FailingAtOpen() override { COleDispatchDriver::SetDispatchFactory(m_real); }

    LPDISPATCH CreateDispatch(const QString& progId) override
    {
        LPDISPATCH application = m_real->CreateDispatch(progId);
        return application ? std::make_shared<Object>(application, m_how, true) : nullptr;
    }

private:
    class Object : public IDispatch
    {
    public:
        Object(LPDISPATCH inner, How how, bool application)
            : m_inner(std::move(inner)), m_how(how), m_application(application)
        {
        }
        Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override
        {
            const bool open = !m_application && kind == DISPATCH_METHOD &&
                              (dispid == worddispid::kOpen || dispid == exceldispid::kOpen ||
                               dispid == powerpointdispid::kOpen);
            if (open)
                ::kill(pid_t(ServerProcessId(m_inner)), m_how == How::Killed ? SIGKILL : SIGSTOP);
            Variant result = m_inner->Invoke(dispid, kind, arguments);
            if (result.vt() == VT_DISPATCH && result.pdispVal())
                return Variant::Dispatch(std::make_shared<Object>(result.pdispVal(), m_how, false));
            return result;
        }
        std::function<void()> ServerEnder() const override { return m_inner->ServerEnder(); }

    private:
        LPDISPATCH m_inner;
        How m_how;
        bool m_application;
    };

    How m_how;
    IDispatchFactory* m_real = nullptr;
};

class Fidelity : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_marker = testtools::UsePrivateFolders(); }

    void SetUp() override
    {
        QString why;
        m_corpus = Corpus(&why);
        ASSERT_FALSE(m_corpus.isEmpty()) << why.toStdString();
        g_openPassword = kNoPassword;
        CEnterPassWordDlg::SetResponder([this](CEnterPassWordDlg&) {
            ++m_prompts;
            return IDCANCEL;
        });
    }
    void TearDown() override
    {
        CEnterPassWordDlg::SetResponder({});
        EXPECT_EQ(processtree::Running(s_marker), QStringList{})
            << "no office host, office or Ghostscript is left running";
    }

    QString Document(const QString& name) const { return m_corpus + u'/' + name; }
    QString Reference(const QString& name) const
    {
        return m_corpus + QStringLiteral("/reference/") + QFileInfo(name).completeBaseName() +
               QStringLiteral(".pdf");
    }

    // Converts the document with the PDF version (and image compression)
    // given into a folder of its own; the PDF's path (empty when none was made).
    QString Convert(const QString& name, const QString& version = kVersions.first(),
                    const QString& images = QStringLiteral("Flate"))
    {
        const QString folder = m_output.filePath(QString::number(qHash(version + images)));
        QDir().mkpath(folder);
        HeadlessPage page(folder);
        // As the Advanced page reads its texts.
        page.settings.pdfVersion = advancedchoices::FromText(advancedchoices::kPdfVersions, version).value();
        page.settings.imageCompression =
            advancedchoices::FromText(advancedchoices::kImageCompressions, images).value();
        const QString source = Document(name);
        bool made = false;
        testtools::RunOnWorkerWhilePumping(
            [&]() { made = ConvertByKind(DefaultConverters(), page, source); });
        const QString pdf = folder + u'/' + QFileInfo(name).completeBaseName() + QStringLiteral(".pdf");
        return made && QFileInfo::exists(pdf) ? pdf : QString();
    }

    static inline QString s_marker;
    QString m_corpus;
    QTemporaryDir m_output;
    ScriptedMessageBoxes m_boxes;
    MessageBoxDispatcher m_dispatcher{m_boxes};
    MessageBoxOverride m_boxesInPlace{&m_dispatcher, SetMessageBoxService};
    int m_prompts = 0;
};

TEST_F(Fidelity, NoWordIsTradedForAPictureAtAnyVersionAndLinksAndSizeHold)
{
    // What flattening keeps whole is written at 1.3; text under or on a
    // see-through shape over a coloured slide would be flattened into its
    // picture, so those files are written at 1.4, the least version that
    // keeps their words.
    const QMap<QString, QString> versionAt13{{QStringLiteral("alpha.docx"), QStringLiteral("1.3")},
                                             {QStringLiteral("undershape.docx"), QStringLiteral("1.4")},
                                             {QStringLiteral("shadows.ppt"), QStringLiteral("1.3")},
                                             {QStringLiteral("alphasheet.xls"), QStringLiteral("1.3")},
                                             {QStringLiteral("background.pptx"), QStringLiteral("1.4")},
                                             {QStringLiteral("mixed.pptx"), QStringLiteral("1.4")}};
    for (auto it = versionAt13.begin(); it != versionAt13.end(); ++it) {
        const QString& document = it.key();
        const QString reference = Reference(document);
        for (const QString& version : kVersions) {
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(document, version).toStdString());
            const QString pdf = Convert(document, version);
            ASSERT_FALSE(pdf.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
            const double kept = KeptShare(pdf, reference);
            std::printf("%s at %s: %.1f %% of LibreOffice's words, PDF %s, %lld bytes (LibreOffice: %lld)\n",
                        qPrintable(document), qPrintable(version), 100 * kept, qPrintable(PdfVersion(pdf)),
                        QFileInfo(pdf).size(), QFileInfo(reference).size());
            EXPECT_EQ(kept, 1.0);
            if (version == kVersions.first()) {
                EXPECT_EQ(PdfVersion(pdf), it.value());
            }
            if (!document.endsWith(u".pptx")) {
                EXPECT_TRUE(HasLink(pdf)) << "the link annotation survives";
            }
            EXPECT_LE(QFileInfo(pdf).size(), 2 * QFileInfo(reference).size());
        }
    }
    // Which page draws with transparency and how much text it shows, read
    // page by page although the pages share one resource dictionary: a deck
    // is judged by its first such slide before all of it is flattened.
    const PdfDrawingFacts alpha = PdfDrawingFacts::Read(Reference(QStringLiteral("alpha.docx")));
    ASSERT_EQ(alpha.pages.size(), 3u);
    EXPECT_TRUE(alpha.pages[0].transparency) << "the picture with alpha";
    EXPECT_FALSE(alpha.pages[1].transparency);
    EXPECT_FALSE(alpha.pages[2].transparency);
    qint64 sum = 0;
    for (const PdfDrawingFacts::Page& page : alpha.pages) {
        EXPECT_GT(page.shownTextBytes, 0);
        sum += page.shownTextBytes;
    }
    EXPECT_EQ(sum, alpha.shownTextBytes);
    const PdfDrawingFacts mixed = PdfDrawingFacts::Read(Reference(QStringLiteral("mixed.pptx")));
    ASSERT_EQ(mixed.pages.size(), 2u);
    EXPECT_TRUE(mixed.pages[0].transparency && mixed.pages[1].transparency);

    // A see-through shape with no text: there is nothing to lose, so it is
    // flattened and the file stays at 1.3.
    const QString shape = Convert(QStringLiteral("seethrough.pptx"));
    ASSERT_FALSE(shape.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
    EXPECT_EQ(PdfVersion(shape), QStringLiteral("1.3"));
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
}

TEST_F(Fidelity, JpegsReachThePdfByteForByteAndUpright)
{
    const QByteArray photo = testtools::ReadFile(Document(QStringLiteral("photo.jpg")));
    ASSERT_FALSE(photo.isEmpty());
    // A picture stored turned a quarter back, shown upright by its orientation.
    const QByteArray turned = testpictures::OrientedJpeg(testpictures::Quadrants(240, 120), 6);
    ASSERT_TRUE(testtools::WriteFile(Document(QStringLiteral("turned.jpg")), turned));
    // A CMYK JPEG as Adobe's programs write it (inverted), from Ghostscript.
    const QString cmykSource = Document(QStringLiteral("cyan.ps"));
    ASSERT_TRUE(testtools::WriteFile(cmykSource, "0.8 0 0 0 setcmykcolor 0 0 120 60 rectfill showpage\n"));
    ASSERT_EQ(RunTool(QStringLiteral("gs"),
                      {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                       QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=jpegcmyk"),
                       QStringLiteral("-g120x60"), QStringLiteral("-r72"),
                       QStringLiteral("-sOutputFile=") + Document(QStringLiteral("cyan.jpg")), cmykSource})
                  .exitCode,
              0);
    const QByteArray cyan = testtools::ReadFile(Document(QStringLiteral("cyan.jpg")));
    ASSERT_FALSE(cyan.isEmpty());

    for (const QString& version : {kVersions[0], kVersions[1]}) {
        SCOPED_TRACE(version.toStdString());
        for (const auto& [name, jpeg] : {std::pair{"photo.docx", photo}, std::pair{"photo.jpg", photo},
                                         std::pair{"turned.jpg", turned}, std::pair{"cyan.jpg", cyan}}) {
            SCOPED_TRACE(name);
            const QString pdf = Convert(QString::fromLatin1(name), version);
            ASSERT_FALSE(pdf.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
            EXPECT_TRUE(Jpegs(pdf).contains(jpeg)) << "the JPEG's own bytes";
            if (QByteArray(name) == "photo.docx") {
                // Beside it, a BMP photograph stays lossless.
                EXPECT_EQ(Encodings(pdf), (QStringList{QStringLiteral("image"), QStringLiteral("jpeg")}));
            }
            if (QByteArray(name) == "photo.jpg")
                std::printf("photo.jpg at %s: %lld bytes in the PDF (the JPEG: %lld)\n", qPrintable(version),
                            QFileInfo(pdf).size(), qint64(jpeg.size()));
        }
    }

    // Upright: wider than high, red at the top left, green at the top right.
    const QImage page = FirstPage(Convert(QStringLiteral("turned.jpg")));
    ASSERT_FALSE(page.isNull());
    const QRect picture = Inked(page);
    ASSERT_GT(picture.width(), 40);
    EXPECT_NEAR(double(picture.width()) / picture.height(), 2.0, 0.1);
    const int top = picture.top() + picture.height() / 4;
    EXPECT_TRUE(testpictures::Near(page.pixelColor(picture.left() + picture.width() / 4, top),
                                   testpictures::kTopLeft, 48));
    EXPECT_TRUE(testpictures::Near(page.pixelColor(picture.left() + 3 * picture.width() / 4, top),
                                   testpictures::kTopRight, 48));
    // Cyan, not its inverse.
    const QImage cyanPage = FirstPage(Convert(QStringLiteral("cyan.jpg")));
    const QRect cyanPicture = Inked(cyanPage);
    ASSERT_GT(cyanPicture.width(), 40);
    const QColor shown = cyanPage.pixelColor(cyanPicture.center());
    EXPECT_TRUE(shown.red() < 120 && shown.green() > 150 && shown.blue() > 150) << shown.name().toStdString();

    // "JPEG" compresses them again, at the quality chosen.
    for (const char* name : {"photo.docx", "photo.jpg"}) {
        SCOPED_TRACE(name);
        const QString pdf = Convert(QString::fromLatin1(name), kVersions[0], QStringLiteral("JPEG"));
        ASSERT_FALSE(pdf.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
        EXPECT_EQ(Encodings(pdf).count(QStringLiteral("jpeg")), QByteArray(name) == "photo.docx" ? 2 : 1);
        EXPECT_FALSE(Jpegs(pdf).contains(photo));
    }
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
}

TEST_F(Fidelity, EveryScriptIsDrawnAndTheOfficeFontsHaveTheirMetricTwins)
{
    // The phrases as the document maker wrote them, one script each.
    const QStringList phrases{QStringLiteral("中文测试句子"),   QStringLiteral("日本語のテスト文"),
                              QStringLiteral("한국어시험문장"), QStringLiteral("हिन्दी"),
                              QStringLiteral("ภาษาไทย"),        QStringLiteral("اختبار")};
    auto squeezed = [](QString text) {
        // Bidirectional marks and line breaks are the reader's, not the text's.
        static const QRegularExpression layout(QStringLiteral("[\\s\\x{200e}\\x{200f}\\x{202a}-\\x{202e}]"));
        return text.remove(layout);
    };
    for (const QString& version : {kVersions[0], kVersions[1]}) {
        SCOPED_TRACE(version.toStdString());
        const QString scripts = Convert(QStringLiteral("scripts.docx"), version);
        ASSERT_FALSE(scripts.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
        const QString text = squeezed(
            QString::fromUtf8(RunTool(QStringLiteral("pdftotext"), {scripts, QStringLiteral("-")}).out));
        for (const QString& phrase : phrases)
            EXPECT_TRUE(text.contains(phrase)) << phrase.toStdString() << " not in: " << text.toStdString();

        const QString fonts = Convert(QStringLiteral("officefonts.docx"), version);
        ASSERT_FALSE(fonts.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
        const QString names = QString::fromUtf8(RunTool(QStringLiteral("pdffonts"), {fonts}).out);
        EXPECT_TRUE(names.contains(QStringLiteral("+Carlito"))) << names.toStdString();
        EXPECT_TRUE(names.contains(QStringLiteral("+Caladea"))) << names.toStdString();
        EXPECT_FALSE(names.contains(QStringLiteral("DejaVu"))) << names.toStdString();
    }
    EXPECT_TRUE(m_boxes.Boxes().isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
}

TEST_F(Fidelity, PageCountsEqualLibreOfficesOwnPdf)
{
    for (const char* name :
         {"alpha.docx", "undershape.docx", "shadows.ppt", "alphasheet.xls", "long.docx", "longdoc.doc",
          "longrtf.rtf", "longhtm.htm", "longtxt.txt", "picturesheet.xls", "printrange.xls"}) {
        SCOPED_TRACE(name);
        const QString pdf = Convert(QString::fromLatin1(name));
        ASSERT_FALSE(pdf.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
        const int reference = Pages(Reference(QString::fromLatin1(name)));
        ASSERT_GT(reference, 0) << "LibreOffice's own PDF is read";
        EXPECT_EQ(Pages(pdf), reference);
    }
}

TEST_F(Fidelity, SeeThroughPicturesAreDrawnOnWhitePaper)
{
    // Four upright bands; the outer two are opaque and mark the picture's
    // place on the page, the inner two are what is checked.
    auto bands = [](const QList<QRgb>& colours) {
        QImage image(240, 120, QImage::Format_ARGB32);
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(x, y, colours[x / 60]);
        return image;
    };
    const QRgb blue = qRgba(0, 0, 255, 255), green = qRgba(0, 160, 0, 255), clear = qRgba(0, 0, 0, 0);
    struct Case
    {
        QString name;
        QList<QColor> expected; // the two inner bands
    };
    const QList<Case> cases{
        {QStringLiteral("clear.png"), {Qt::white, Qt::white}},
        {QStringLiteral("partial.png"), {QColor(255, 127, 127), QColor(191, 191, 191)}},
        {QStringLiteral("clear.gif"), {Qt::white, QColor(0, 160, 0)}},
    };
    ASSERT_TRUE(bands({blue, clear, clear, green}).save(Document(cases[0].name)));
    ASSERT_TRUE(
        bands({blue, qRgba(255, 0, 0, 128), qRgba(0, 0, 0, 64), green}).save(Document(cases[1].name)));
    const QImage opaque = bands({blue, qRgba(0, 0, 0, 255), green, green});
    ASSERT_TRUE(testtools::WriteFile(Document(cases[2].name), testpictures::Gif({opaque}, qRgb(0, 0, 0))));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString pdf = Convert(c.name);
        ASSERT_FALSE(pdf.isEmpty()) << m_boxes.Texts().join(u'\n').toStdString();
        QTemporaryDir pages;
        ASSERT_EQ(RunTool(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"), pdf,
                           pages.filePath(QStringLiteral("page"))})
                      .exitCode,
                  0);
        const QImage page(pages.filePath(QStringLiteral("page-1.png")));
        ASSERT_FALSE(page.isNull());
        // The picture's place: from the blue band's left edge to the green one's right.
        int left = page.width(), right = -1, top = page.height(), bottom = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixelColor(x, y) != QColor(Qt::white)) {
                    left = qMin(left, x), right = qMax(right, x);
                    top = qMin(top, y), bottom = qMax(bottom, y);
                }
        ASSERT_GT(right - left, 40) << "the picture is on the page";
        const int y = (top + bottom) / 2;
        const double band = (right - left + 1) / 4.0;
        auto at = [&](int index) { return page.pixelColor(left + int(band * (index + 0.5)), y); };
        EXPECT_TRUE(testpictures::Near(at(0), QColor(0, 0, 255), 8)) << at(0).name().toStdString();
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(testpictures::Near(at(i + 1), c.expected[i], 8))
                << "band " << i + 1 << ": " << at(i + 1).name().toStdString() << " instead of "
                << c.expected[i].name().toStdString();
    }
}

TEST_F(Fidelity, AHostThatDiesOrHangsDuringOpenIsReportedNotTakenForAPassword)
{
    const int limit = OfficeHostConnection::CallTimeLimit();
    struct Case
    {
        const char* name;
        FailingAtOpen::How how;
        const char* reason;
    };
    for (const Case& c : {Case{"alpha.docx", FailingAtOpen::How::Killed, "The office host ended."},
                          Case{"alpha.docx", FailingAtOpen::How::Hung, "did not answer in time"},
                          Case{"alphasheet.xls", FailingAtOpen::How::Hung, "did not answer in time"},
                          Case{"shadows.ppt", FailingAtOpen::How::Killed, "The office host ended."}}) {
        SCOPED_TRACE(c.name);
        const qsizetype before = m_boxes.Boxes().size();
        {
            FailingAtOpen failing(c.how);
            OfficeHostConnection::SetCallTimeLimit(c.how == FailingAtOpen::How::Hung ? 3000 : limit);
            EXPECT_TRUE(Convert(QString::fromLatin1(c.name)).isEmpty());
            OfficeHostConnection::SetCallTimeLimit(limit);
        }
        ASSERT_EQ(m_boxes.Boxes().size(), before + 1) << m_boxes.Texts().join(u'\n').toStdString();
        const QString text = m_boxes.Boxes().last().request.text;
        EXPECT_TRUE(
            text.startsWith(Document(QString::fromLatin1(c.name)) + QStringLiteral(" was not converted.\n")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.reason))) << text.toStdString();
        EXPECT_EQ(m_boxes.Boxes().last().request.caption, QStringLiteral("Foliant 3.0"));
        EXPECT_EQ(m_prompts, 0) << "no password prompt";
        EXPECT_EQ(processtree::Running(s_marker), QStringList{});
    }
    // The next file converts.
    const qsizetype before = m_boxes.Boxes().size();
    EXPECT_FALSE(Convert(QStringLiteral("undershape.docx")).isEmpty())
        << m_boxes.Texts().join(u'\n').toStdString();
    EXPECT_EQ(m_boxes.Boxes().size(), before);
}

} // namespace
