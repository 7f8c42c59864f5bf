// A picture's PDF with "Tagged PDF" ticked: Ghostscript's PDF becomes one
// Figure per page with the file's name as its alternate text, and passes the
// PDF/UA checker with security and PDF/A too; without the box nothing changes.
#include "PdfStepFixture.h"
#include "PdfUaChecker.h"
#include "TestSpoolFiles.h"
#include "TestTools.h"

#include "pdf/GhostscriptRunner.h"
#include "pdf/PdfEncryption.h"
#include "pdf/PdfFinalStep.h"
#include "pdf/SettingsRefusal.h"
#include "pdf/TaggedPdf.h"
#include "platform/ScratchFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

using testtools::RunTool;

namespace {

class TaggedPictureTest : public PdfStepFixture
{
protected:
    void SetUp() override
    {
        PdfStepFixture::SetUp();
        if (HasFatalFailure())
            return;
        // A picture's print job: the photo alone, no text.
        QByteArray picture = spool::PhotoPage();
        picture.replace("/Helvetica findfont 18 scalefont setfont 72 740 moveto (Holiday picture) show\n",
                        "");
        ASSERT_FALSE(picture.contains("findfont"));
        ASSERT_TRUE(testtools::WriteFile(ScratchFolder::SpoolFilePath(), picture));
    }

    QString Make(const ConversionSettings& settings)
    {
        const PdfOutcome outcome =
            MakePdfFromSpool(settings, QStringLiteral("/pictures/Harbour view.png"), output.path());
        EXPECT_TRUE(outcome.made) << outcome.reason.toStdString();
        return outcome.pdfPath;
    }

    static QString Info(const QString& pdf, const QStringList& more = {})
    {
        return QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), more + QStringList{pdf}).out);
    }
};

// The checker's findings as one text: empty when the PDF passes.
std::string Faults(const QString& pdf, const QString& password = {})
{
    return PdfUaChecker::Check(pdf, password).join(QLatin1Char('\n')).toStdString();
}

ConversionSettings Tagged()
{
    ConversionSettings s;
    s.tagged = true;
    return s;
}

} // namespace

TEST_F(TaggedPictureTest, PictureBecomesAFigureNamedAfterItsFileThatPassesTheChecker)
{
    // Untagged, as before: no structure, and the checker says so.
    const QString plain = Make(ConversionSettings{});
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_TRUE(Info(plain).contains(QLatin1String("Tagged:          no")));
    EXPECT_TRUE(Info(plain).contains(QLatin1String("PDF version:     1.3")));
    const QStringList untaggedFaults = PdfUaChecker::Check(plain);
    EXPECT_TRUE(untaggedFaults.contains(QStringLiteral("no structure tree")))
        << untaggedFaults.join('\n').toStdString();

    const QString pdf = Make(Tagged());
    ASSERT_EQ(pdf, plain);
    EXPECT_EQ(Faults(pdf), "");
    const QString info = Info(pdf);
    EXPECT_TRUE(info.contains(QLatin1String("Tagged:          yes"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("Title:           Harbour view.png"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("PDF version:     1.7"))) << "PDF/UA-1 is PDF 1.7";
    const QString structure =
        QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-struct"), pdf}).out);
    EXPECT_TRUE(structure.contains(QLatin1String("Document"))) << structure.toStdString();
    EXPECT_TRUE(structure.contains(QLatin1String("Figure"))) << structure.toStdString();
    {
        QPDF read;
        read.processFile(QFile::encodeName(pdf).constData());
        QPDFObjectHandle figure =
            read.getRoot().getKey("/StructTreeRoot").getKey("/K").getKey("/K").getArrayItem(0);
        EXPECT_EQ(figure.getKey("/Alt").getUTF8Value(), "Harbour view.png");
        EXPECT_FALSE(read.getRoot().getKey("/Lang").getUTF8Value().empty());

        // The checker's role map rule: a type of one's own needs a standard
        // one behind it, and a standard type keeps its meaning.
        const QString changed = output.filePath(QStringLiteral("changed.pdf"));
        // The writer keeps the name it is given until it has written.
        const QByteArray changedName = QFile::encodeName(changed);
        auto write = [&] {
            QPDFWriter writer(read, changedName.constData());
            writer.write();
        };
        figure.replaceKey("/S", QPDFObjectHandle::newName("/Photo"));
        write();
        EXPECT_TRUE(
            QString::fromStdString(Faults(changed)).contains(QLatin1String("neither standard nor mapped")))
            << Faults(changed);
        QPDFObjectHandle tree = read.getRoot().getKey("/StructTreeRoot");
        tree.replaceKey("/RoleMap", QPDFObjectHandle::parse("<< /Photo /Figure >>"));
        write();
        EXPECT_EQ(Faults(changed), "");
        tree.replaceKey("/RoleMap", QPDFObjectHandle::parse("<< /Photo /Figure /P /Span >>"));
        write();
        EXPECT_EQ(Faults(changed), "the role map redefines the standard type /P");
    }

    // A user's title wins over the file's name; the picture keeps its name as alternate text.
    ConversionSettings titled = Tagged();
    titled.title = QStringLiteral("Hafen – Blick");
    EXPECT_TRUE(Info(Make(titled)).contains(QStringLiteral("Title:           Hafen – Blick")));

    // Encrypted at every level by the final step, the right to extract for
    // accessibility granted though copying is withheld.
    for (EncryptionMethod method :
         {EncryptionMethod::Rc4_128, EncryptionMethod::Aes128, EncryptionMethod::Aes256}) {
        SCOPED_TRACE(int(method));
        ConversionSettings secure = Tagged();
        secure.securityEnabled = true;
        secure.encryption = method;
        secure.withheld.copying = true;
        secure.ownerPassword = QStringLiteral("owner-secret");
        secure.userPasswordEnabled = false;
        ASSERT_EQ(SettingsRefusal(secure), QString());
        const QString encrypted = Make(secure);
        EXPECT_TRUE(Info(encrypted).contains(QLatin1String("Encrypted:       yes")));
        EXPECT_EQ(Faults(encrypted, QStringLiteral("owner-secret")), "");
        const QString json = QString::fromUtf8(
            RunTool(QStringLiteral("qpdf"),
                    {QStringLiteral("--json"), QStringLiteral("--json-key=encrypt"), encrypted})
                .out);
        EXPECT_TRUE(json.contains(QLatin1String("\"accessibility\": true"))) << json.toStdString();
        EXPECT_TRUE(json.contains(QLatin1String("\"extract\": false"))) << json.toStdString();
    }
    // 40-bit RC4 cannot grant that right apart from copying: refused before the run.
    ConversionSettings low = Tagged();
    low.securityEnabled = true;
    low.withheld.copying = true;
    low.ownerPassword = QStringLiteral("owner-secret");
    EXPECT_TRUE(SettingsRefusal(low).contains(QLatin1String("screen readers")))
        << SettingsRefusal(low).toStdString();
    low.withheld.copying = false;
    EXPECT_EQ(Faults(Make(low), QStringLiteral("owner-secret")), "");

    // PDF/A-2b and PDF/UA-1 in one file.
    ConversionSettings archive = Tagged();
    archive.pdfVersion = PdfVersion::PdfA2b;
    const QString archival = Make(archive);
    EXPECT_EQ(Faults(archival), "");
    const QByteArray unpacked =
        RunTool(QStringLiteral("qpdf"), {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"),
                                         archival, QStringLiteral("-")})
            .out;
    EXPECT_TRUE(unpacked.contains("<pdfaid:part>2</pdfaid:part>"));
    EXPECT_TRUE(unpacked.contains("<pdfuaid:part>1</pdfuaid:part>"));
    EXPECT_TRUE(unpacked.contains("<pdfaSchema:prefix>pdfuaid</pdfaSchema:prefix>"));
}

TEST(TaggedExportJobTest, ImageAndVersionChoicesMapOntoTheOfficeExport)
{
    // Ghostscript's QFactor as the JPEG library's quality.
    EXPECT_EQ(taggedpdf::ImageQuality(JpegQuality::Minimum), 33);
    EXPECT_EQ(taggedpdf::ImageQuality(JpegQuality::Low), 60);
    EXPECT_EQ(taggedpdf::ImageQuality(JpegQuality::Medium), 73);
    EXPECT_EQ(taggedpdf::ImageQuality(JpegQuality::High), 88);
    EXPECT_EQ(taggedpdf::ImageQuality(JpegQuality::Maximum), 95);

    ConversionSettings s;
    EXPECT_FALSE(taggedpdf::ExportJobFor(s).tagged);
    s.tagged = true;
    TaggedExportJob job = taggedpdf::ExportJobFor(s);
    EXPECT_TRUE(job.tagged);
    EXPECT_TRUE(job.losslessImages) << "Flate keeps pictures lossless";
    EXPECT_EQ(job.pdfVersion, 0);
    s.imageCompression = ImageCompression::Jpeg;
    s.jpegQuality = JpegQuality::High;
    s.pdfVersion = PdfVersion::PdfA2b;
    job = taggedpdf::ExportJobFor(s);
    EXPECT_FALSE(job.losslessImages);
    EXPECT_EQ(job.imageQuality, 88);
    EXPECT_EQ(job.pdfVersion, 2) << "PDF/A-2b with PDF/UA-1";
}
