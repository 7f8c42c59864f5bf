// The office printer's jobs through the PDF step, as the converters run them:
// the real office host prints into the spool file of the private scratch
// folder, Ghostscript makes the PDF, and poppler and qpdf read it back.

#include "OfficeDocuments.h"
#include "OfficeSequences.h"
#include "TestTools.h"

#include "pdf/GhostscriptRunner.h"
#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>

using namespace officesequences;
using testtools::RunTool;

namespace {

const QString kNoPassword = QStringLiteral("\x01");
const QStringList kSentences = {QStringLiteral("Überblick über die Lage."),
                                QStringLiteral("A naïve café serves crème brûlée.")};
const QString kLink = QStringLiteral("https://www.example.org/foliant/overview");

class PdfJobTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The scratch folder, the spool file and the host's folders go there.
        testtools::UsePrivateFolders();
    }

    void SetUp() override
    {
        QString why;
        m_documents = officedocuments::Folder(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
        ASSERT_TRUE(m_output.isValid() && m_outside.isValid());
        m_spool = ScratchFolder::SpoolFilePath();
        ASSERT_FALSE(m_spool.isEmpty());
        QFile::remove(m_spool);
    }

    QString Document(const QString& name) const { return m_documents + QLatin1Char('/') + name; }
    QString Pdf(const QString& document) const
    {
        return m_output.filePath(QFileInfo(document).completeBaseName() + QStringLiteral(".pdf"));
    }

    // Prints the document with the application its type belongs to.
    void Print(const QString& name, int wordFormat = 0)
    {
        const QString file = Document(name);
        if (name.endsWith(QLatin1String(".xls")))
            PrintWithExcel(file, kNoPassword, m_spool);
        else if (name.endsWith(QLatin1String(".ppt")))
            PrintWithPowerPoint(file, m_spool);
        else
            PrintWithWord(file, wordFormat, kNoPassword, m_spool);
    }

    PdfOutcome MakePdf(const QString& name, const ConversionSettings& settings = {})
    {
        QFile::remove(Pdf(name));
        return MakePdfFromSpool(settings, Document(name), m_output.path());
    }

    static QString Text(const QString& pdf, const QStringList& extra = {})
    {
        return QString::fromUtf8(RunTool(QStringLiteral("pdftotext"),
                                         extra + QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                             pdf, QStringLiteral("-")})
                                     .out);
    }

    QString m_documents;
    QString m_spool;
    QTemporaryDir m_output;
    QTemporaryDir m_outside;
};

TEST_F(PdfJobTest, EveryOfficeTypeKeepsItsTextInItsOwnFontsInTheFinalPdf)
{
    const struct
    {
        const char* name;
        int format;
    } files[] = {{"sample.doc", 0}, {"sample.docx", 0}, {"sample.rtf", 3}, {"sample.txt", 4},
                 {"sample.htm", 7}, {"sample.xml", 8},  {"sample.xls", 0}, {"sample.ppt", 0}};
    for (const auto& f : files) {
        const QString name = QString::fromLatin1(f.name);
        SCOPED_TRACE(f.name);
        try {
            Print(name, f.format);
        } catch (const CException& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        EXPECT_TRUE(testtools::ReadFile(m_spool).startsWith("%PDF-")) << "the office printer's job is PDF";
        const PdfOutcome outcome = MakePdf(name);
        ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
        const QString text = Text(Pdf(name));
        EXPECT_TRUE(text.contains(QStringLiteral("Foliant sample marker") + name.section('.', 1)))
            << text.toStdString();
        for (const QString& sentence : kSentences)
            EXPECT_TRUE(text.simplified().contains(sentence)) << sentence.toStdString() << " in\n"
                                                              << text.toStdString();
        const QString fonts = QString::fromUtf8(RunTool(QStringLiteral("pdffonts"), {Pdf(name)}).out);
        if (name.endsWith(QLatin1String(".txt"))) {
            EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationMono"))) << fonts.toStdString();
            continue; // plain text is printed in LibreOffice's own font for text
        }
        static const QRegularExpression trueType(QStringLiteral("LiberationSerif\\S*\\s+\\S*TrueType.*yes"));
        EXPECT_TRUE(trueType.match(fonts).hasMatch()) << fonts.toStdString();
        EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSans"))) << fonts.toStdString();
    }
}

TEST_F(PdfJobTest, ADocxKeepsItsLinkAndFormValueAndItsPictureTakesTheUsersCompression)
{
    Print(QStringLiteral("linked.docx"));
    const QString pdf = Pdf(QStringLiteral("linked.docx"));
    ConversionSettings s;
    s.imageCompression = ImageCompression::Jpeg;
    s.jpegQuality = JpegQuality::Maximum;
    ASSERT_TRUE(MakePdf(QStringLiteral("linked.docx"), s).made);

    // The link: an annotation of subtype Link whose action goes to the address.
    const QString tree = QString::fromUtf8(
        RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"),
                                         pdf, QStringLiteral("-")})
            .out);
    EXPECT_TRUE(tree.contains(QStringLiteral("/Subtype /Link")));
    EXPECT_TRUE(tree.contains(QStringLiteral("/URI (%1)").arg(kLink)))
        << "no link to " << kLink.toStdString();
    EXPECT_TRUE(Text(pdf).contains(QStringLiteral("Read the Foliant overview")));
    // A form field's value is on the page as printed, not lost with the field.
    EXPECT_TRUE(Text(pdf).contains(QStringLiteral("markerformvalue")));

    const auto [maxEncoding, maxSize] = testtools::FirstPdfImage(pdf);
    EXPECT_EQ(maxEncoding, QStringLiteral("jpeg"));
    s.jpegQuality = JpegQuality::Minimum;
    ASSERT_TRUE(MakePdf(QStringLiteral("linked.docx"), s).made);
    const auto [minEncoding, minSize] = testtools::FirstPdfImage(pdf);
    EXPECT_EQ(minEncoding, QStringLiteral("jpeg"));
    EXPECT_GT(maxSize, minSize * 3 / 2) << maxSize << " vs " << minSize;
    s.imageCompression = ImageCompression::Flate;
    ASSERT_TRUE(MakePdf(QStringLiteral("linked.docx"), s).made);
    EXPECT_EQ(testtools::FirstPdfImage(pdf).first, QStringLiteral("image")); // Flate-encoded
}

TEST_F(PdfJobTest, SecurityVersionAndDocumentInformationReadBack)
{
    Print(QStringLiteral("sample.docx"));
    ConversionSettings s;
    s.pdfVersion = PdfVersion::V1_4;
    s.securityEnabled = true;
    s.ownerPassword = QStringLiteral("owner-secret");
    s.userPassword = QStringLiteral("user-secret");
    s.encryption = EncryptionMethod::Rc4_128;
    s.withheld.copying = s.withheld.forms = true;
    s.title = QStringLiteral("Überblick (draft)");
    s.author = QStringLiteral("Foliant tests");
    const PdfOutcome outcome = MakePdf(QStringLiteral("sample.docx"), s);
    ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
    const QString pdf = Pdf(QStringLiteral("sample.docx"));

    const auto encryption =
        RunTool(QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=encrypt"),
                                         QStringLiteral("--password=user-secret"), pdf});
    const QJsonObject parameters = QJsonDocument::fromJson(encryption.out)
                                       .object()
                                       .value(QStringLiteral("encrypt"))
                                       .toObject()
                                       .value(QStringLiteral("parameters"))
                                       .toObject();
    EXPECT_EQ(parameters.value(QStringLiteral("R")).toInt(), 3);
    EXPECT_EQ(parameters.value(QStringLiteral("bits")).toInt(), 128);
    EXPECT_EQ(parameters.value(QStringLiteral("P")).toInt(), -500);

    const QString info = QString::fromUtf8(
        RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                            QStringLiteral("-upw"), QStringLiteral("user-secret"), pdf})
            .out);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("PDF version:\\s+1\\.4"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Überblick \\(draft\\)\\n"))));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Author:\\s+Foliant tests\\n"))));
    EXPECT_TRUE(Text(pdf, {QStringLiteral("-upw"), QStringLiteral("user-secret")}).contains(kSentences[0]));
    EXPECT_NE(
        RunTool(QStringLiteral("qpdf"), {QStringLiteral("--password=wrong"), QStringLiteral("--check"), pdf})
            .exitCode,
        0);
}

TEST_F(PdfJobTest, ALinkPlantedAtTheSpoolFileIsReplacedNotWrittenThrough)
{
    const QString victim = m_outside.filePath(QStringLiteral("precious"));
    // Word prints in the background, Excel in the foreground.
    for (const QString& name : {QStringLiteral("sample.docx"), QStringLiteral("sample.xls")}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(testtools::WriteFile(victim, "precious contents"));
        QFile::remove(m_spool);
        ASSERT_TRUE(QFile::link(victim, m_spool));
        Print(name);
        EXPECT_EQ(testtools::ReadFile(victim), "precious contents");
        EXPECT_FALSE(QFileInfo(m_spool).isSymLink());
        ASSERT_TRUE(MakePdf(name).made);
        EXPECT_TRUE(Text(Pdf(name)).contains(QStringLiteral("Foliant sample marker") + name.section('.', 1)));
    }
    // Nothing of the jobs is left beside the spool file.
    const QStringList left = QDir(ScratchFolder::Path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    EXPECT_EQ(left.filter(QStringLiteral("tmp.ps")), QStringList{QStringLiteral("tmp.ps")})
        << left.join(' ').toStdString();
}

TEST_F(PdfJobTest, ALinkAtAnEndedHostsFolderNameIsRemovedItselfNotWhatItPointsAt)
{
    // A process id nobody has, as an ended host's folder name would carry.
    pid_t gone = 4194000;
    while (gone > 1000 && !(::kill(gone, 0) != 0 && errno == ESRCH))
        --gone;
    const QString planted = ScratchFolder::Path() + QStringLiteral("/foliant-officehost-%1").arg(gone);
    const QString victim = m_outside.filePath(QStringLiteral("precious"));
    ASSERT_TRUE(testtools::WriteFile(victim, "precious contents"));
    ASSERT_TRUE(QFile::link(m_outside.path(), planted));
    Print(QStringLiteral("sample.xls"));
    EXPECT_EQ(testtools::ReadFile(victim), "precious contents");
    EXPECT_FALSE(QFileInfo(planted).isSymLink() || QFileInfo::exists(planted));
    EXPECT_TRUE(testtools::ReadFile(m_spool).startsWith("%PDF-"));
}

} // namespace
