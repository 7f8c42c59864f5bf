// The steps on Ghostscript's PDF done with qpdf's library: AES encryption
// and combining (archival PDF/A-2b is shown end to end, from an office file).
#include "PdfFacts.h"
#include "PdfStepFixture.h"
#include "TestSpoolFiles.h"
#include "TestTools.h"

#include "pdf/ArchiveFormat.h"
#include "pdf/GhostscriptRunner.h"
#include "pdf/PdfCombiner.h"
#include "pdf/PdfEncryption.h"
#include "pdf/PdfFinalStep.h"
#include "platform/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

using testtools::RunTool;

namespace {

class FinalStepsTest : public PdfStepFixture
{
protected:
    PdfOutcome Make(const ConversionSettings& settings,
                    const QString& source = QStringLiteral("/docs/Report.doc"))
    {
        return MakePdfFromSpool(settings, source, output.path());
    }

    QString Pdf(const QString& name = QStringLiteral("Report.pdf")) const { return output.filePath(name); }

    static QJsonObject Encryption(const QString& pdf, const QString& password)
    {
        const auto result =
            RunTool(QStringLiteral("qpdf"), {QStringLiteral("--json"), QStringLiteral("--json-key=encrypt"),
                                             QStringLiteral("--password=") + password, pdf});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out).object().value(QStringLiteral("encrypt")).toObject();
    }

    // pdfinfo opens the file with the given switches (-upw/-opw and a password, or none).
    static bool Opens(const QString& pdf, const QStringList& password)
    {
        return RunTool(QStringLiteral("pdfinfo"), password + QStringList{pdf}).exitCode == 0;
    }

    static QString VersionOf(const QString& pdf)
    {
        return pdffacts::ReadInfo(pdf, QStringLiteral("user-secret")).version;
    }
};

ConversionSettings Aes(EncryptionMethod method)
{
    ConversionSettings s;
    s.securityEnabled = true;
    s.encryption = method;
    s.ownerPassword = QStringLiteral("owner-secret");
    s.userPassword = QStringLiteral("user-secret");
    return s;
}

} // namespace

TEST_F(FinalStepsTest, AesEncryptsWithEveryPermissionCombinationAndItsPasswords)
{
    ASSERT_TRUE(testtools::WriteFile(ScratchFolder::SpoolFilePath(), spool::TextPage()));
    // The later versions the command line's text cannot name are written all the same.
    for (const auto& [version, written] : {std::pair{PdfVersion::V1_6, "1.6"}, {PdfVersion::V1_7, "1.7"}}) {
        ConversionSettings later;
        later.pdfVersion = version;
        ASSERT_TRUE(Make(later).made);
        EXPECT_EQ(VersionOf(Pdf()), QString::fromLatin1(written));
    }

    struct Level
    {
        EncryptionMethod level;
        int revision;
        int bits;
        const char* method;
        const char* version;
    };
    for (const Level& level : {Level{EncryptionMethod::Aes128, 4, 128, "AESv2", "1.6"},
                               Level{EncryptionMethod::Aes256, 6, 256, "AESv3", "1.7"}}) {
        SCOPED_TRACE(level.method);
        // Through the PDF step: the PDF appears under its name only, at the
        // version AES needs, and opens with each password and not without.
        const PdfOutcome outcome = Make(Aes(level.level));
        ASSERT_TRUE(outcome.made) << outcome.reason.toStdString();
        EXPECT_EQ(OutputFolderEntries(), QStringList{QStringLiteral("Report.pdf")});
        EXPECT_EQ(VersionOf(Pdf()), QString::fromLatin1(level.version));
        EXPECT_TRUE(Opens(Pdf(), {QStringLiteral("-upw"), QStringLiteral("user-secret")}));
        EXPECT_TRUE(Opens(Pdf(), {QStringLiteral("-opw"), QStringLiteral("owner-secret")}));
        EXPECT_FALSE(Opens(Pdf(), {}));
        EXPECT_FALSE(Opens(Pdf(), {QStringLiteral("-upw"), QStringLiteral("wrong")}));
        const QString plain = Pdf(QStringLiteral("plain.pdf"));
        ASSERT_TRUE(QFile::copy(Pdf(), Pdf(QStringLiteral("encrypted.pdf"))));
        ASSERT_TRUE(
            MakePdfFromSpool(ConversionSettings{}, QStringLiteral("/docs/plain.doc"), output.path()).made);

        // Every combination of the four boxes: a ticked box withholds its rights.
        for (int mask = 0; mask < 16; ++mask) {
            SCOPED_TRACE(mask);
            ConversionSettings s = Aes(level.level);
            s.withheld.copying = mask & 1;
            s.withheld.forms = (mask >> 1) & 1;
            s.withheld.changing = (mask >> 2) & 1;
            s.withheld.printing = (mask >> 3) & 1;
            const QString encrypted = Pdf(QStringLiteral("combination.pdf"));
            QString why;
            ASSERT_TRUE(RunFinalStep(plain, encrypted, s, FinalSteps::OneFile, &why)) << why.toStdString();
            const QJsonObject report = Encryption(encrypted, QStringLiteral("owner-secret"));
            const QJsonObject parameters = report.value(QStringLiteral("parameters")).toObject();
            EXPECT_EQ(parameters.value(QStringLiteral("R")).toInt(), level.revision);
            EXPECT_EQ(parameters.value(QStringLiteral("bits")).toInt(), level.bits);
            EXPECT_EQ(parameters.value(QStringLiteral("streammethod")).toString(), level.method);
            EXPECT_EQ(parameters.value(QStringLiteral("stringmethod")).toString(), level.method);
            const QJsonObject may = report.value(QStringLiteral("capabilities")).toObject();
            const auto allowed = [&](const char* right) { return may.value(QLatin1String(right)).toBool(); };
            EXPECT_EQ(allowed("extract"), !s.withheld.copying);
            EXPECT_EQ(allowed("modifyannotations"), !s.withheld.forms);
            EXPECT_EQ(allowed("modifyforms"), !s.withheld.forms);
            EXPECT_EQ(allowed("modifyother"), !s.withheld.changing);
            EXPECT_EQ(allowed("modifyassembly"), !s.withheld.changing);
            EXPECT_EQ(allowed("printhigh"), !s.withheld.printing);
            EXPECT_EQ(allowed("printlow"), !s.withheld.printing);
            EXPECT_TRUE(allowed("accessibility"));
            EXPECT_TRUE(Opens(encrypted, {QStringLiteral("-upw"), QStringLiteral("user-secret")}));
            EXPECT_TRUE(Opens(encrypted, {QStringLiteral("-opw"), QStringLiteral("owner-secret")}));
            EXPECT_FALSE(Opens(encrypted, {}));
        }
        for (const QString& name : OutputFolderEntries())
            QFile::remove(Pdf(name));
    }

    // Without a user password the PDF opens for anyone, with the rights given.
    ConversionSettings ownerOnly = Aes(EncryptionMethod::Aes256);
    ownerOnly.userPasswordEnabled = false;
    ownerOnly.withheld.printing = true;
    ASSERT_TRUE(Make(ownerOnly).made);
    EXPECT_TRUE(Opens(Pdf(), {}));
    EXPECT_FALSE(Encryption(Pdf(), QString())
                     .value(QStringLiteral("capabilities"))
                     .toObject()
                     .value(QStringLiteral("printhigh"))
                     .toBool());

    // No owner password: reported like a failed PDF step, nothing left, the old PDF kept.
    ConversionSettings noOwner = Aes(EncryptionMethod::Aes128);
    noOwner.ownerPasswordEnabled = false;
    const PdfOutcome failed = Make(noOwner);
    EXPECT_FALSE(failed.made);
    EXPECT_EQ(failed.failure, PdfOutcome::Failure::ToolFailed);
    EXPECT_TRUE(failed.reason.contains(QStringLiteral("owner password"))) << failed.reason.toStdString();
    EXPECT_EQ(OutputFolderEntries(), QStringList{QStringLiteral("Report.pdf")});
    EXPECT_TRUE(Opens(Pdf(), {}));
}

TEST_F(FinalStepsTest, CombinedPdfHoldsEveryPartInOrderUnderBookmarksNamedAfterTheFiles)
{
    // Three parts: two of one page, one of two pages with a bookmark of its own.
    QList<PdfCombiner::Part> parts;
    const QStringList names{QStringLiteral("b-first.docx"), QStringLiteral("a-second.png"),
                            QStringLiteral("c-third.xls")};
    for (int i = 0; i < names.size(); ++i) {
        QByteArray job = spool::TextPage();
        if (i == 2)
            job = "%!PS\n[/Title (Inner bookmark) /Page 2 /OUT pdfmark\n" + job + "\n" + spool::TextPage();
        ASSERT_TRUE(testtools::WriteFile(ScratchFolder::SpoolFilePath(), job));
        GhostscriptOptions options;
        options.partPath = Pdf(QStringLiteral(".part%1.pdf").arg(i));
        // Archival parts, security asked for: a part is never encrypted.
        ConversionSettings secured = Aes(EncryptionMethod::Aes256);
        secured.pdfVersion = PdfVersion::PdfA2b;
        const PdfOutcome part = MakePdfFromSpool(secured, names[i], output.path(), options);
        ASSERT_TRUE(part.made) << part.reason.toStdString();
        EXPECT_EQ(Encryption(options.partPath, QString()).value(QStringLiteral("encrypted")).toBool(), false)
            << "a part is encrypted once combined";
        parts.append({options.partPath, names[i]});
    }

    // Archival parts give an archival whole, with the user's information.
    QString why;
    ConversionSettings archive;
    archive.pdfVersion = PdfVersion::PdfA2b;
    archive.title = QStringLiteral("Überblick 报告");
    const QString archival = Pdf(QStringLiteral("Archive.pdf"));
    ASSERT_TRUE(PdfCombiner::MakeCombinedPdf(parts, archival, archive, &why)) << why.toStdString();
    {
        QPDF pdf;
        pdf.processFile(QFile::encodeName(archival).constData());
        EXPECT_EQ(pdf.getRoot().getKey("/OutputIntents").getArrayItem(0).getKey("/S").getName(),
                  "/GTS_PDFA1");
        auto xmp = pdf.getRoot().getKey("/Metadata").getStreamData(qpdf_dl_all);
        EXPECT_NE(std::string(reinterpret_cast<const char*>(xmp->getBuffer()), xmp->getSize())
                      .find("<pdfaid:part>2</pdfaid:part>"),
                  std::string::npos);
        EXPECT_EQ(pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value(),
                  archive.title.toStdString());
    }
    QFile::remove(archival);

    ConversionSettings settings = Aes(EncryptionMethod::Aes256);
    const QString combined = Pdf(QStringLiteral("All.pdf"));
    ASSERT_TRUE(PdfCombiner::MakeCombinedPdf(parts, combined, settings, &why)) << why.toStdString();
    const QJsonObject encryption = Encryption(combined, QStringLiteral("owner-secret"));
    EXPECT_EQ(encryption.value(QStringLiteral("parameters")).toObject().value(QStringLiteral("R")).toInt(),
              6);
    EXPECT_FALSE(Opens(combined, {}));

    QPDF pdf;
    pdf.processFile(QFile::encodeName(combined).constData(), "user-secret");
    const auto pages = QPDFPageDocumentHelper(pdf).getAllPages();
    ASSERT_EQ(pages.size(), 4u);
    QStringList titles;
    QStringList inner;
    QList<int> firstPages;
    QPDFOutlineDocumentHelper outlines(pdf);
    for (QPDFOutlineObjectHelper& item : outlines.getTopLevelOutlines()) {
        titles << QString::fromStdString(item.getTitle());
        firstPages << item.getDestPage().getObjectID();
        for (QPDFOutlineObjectHelper& child : item.getKids())
            inner << QString::fromStdString(child.getTitle());
    }
    EXPECT_EQ(titles, names);
    EXPECT_EQ(inner, QStringList{QStringLiteral("Inner bookmark")});
    ASSERT_EQ(firstPages.size(), 3);
    EXPECT_EQ(firstPages[0], pages[0].getObjectHandle().getObjectID());
    EXPECT_EQ(firstPages[1], pages[1].getObjectHandle().getObjectID());
    EXPECT_EQ(firstPages[2], pages[2].getObjectHandle().getObjectID());

    // RC4, Ghostscript's own encryption of a single PDF, is qpdf's for a combined one.
    ConversionSettings rc4 = Aes(EncryptionMethod::Rc4_128);
    rc4.withheld.printing = true;
    const QString rc4Path = Pdf(QStringLiteral("Rc4.pdf"));
    ASSERT_TRUE(PdfCombiner::MakeCombinedPdf(parts, rc4Path, rc4, &why)) << why.toStdString();
    const QJsonObject rc4Report = Encryption(rc4Path, QStringLiteral("user-secret"));
    EXPECT_EQ(rc4Report.value(QStringLiteral("parameters")).toObject().value(QStringLiteral("R")).toInt(), 3);
    EXPECT_FALSE(rc4Report.value(QStringLiteral("capabilities"))
                     .toObject()
                     .value(QStringLiteral("printhigh"))
                     .toBool());
    QFile::remove(rc4Path);

    // Stopped while the parts are read, or while the whole is written: no
    // combined PDF, the old one kept, no partial file left.
    const QByteArray old = testtools::ReadFile(combined);
    for (const int stopAtCheck : {1, static_cast<int>(parts.size()) + 1}) {
        SCOPED_TRACE(stopAtCheck);
        int checks = 0;
        EXPECT_FALSE(PdfCombiner::MakeCombinedPdf(parts, combined, settings, &why,
                                                  [&] { return ++checks >= stopAtCheck; }));
        EXPECT_EQ(checks, stopAtCheck) << "ended at the first check that found it stopped";
        EXPECT_EQ(why, QStringLiteral("Stopped."));
        EXPECT_EQ(testtools::ReadFile(combined), old);
        EXPECT_EQ(OutputFolderEntries().filter(QStringLiteral(".foliant-")), QStringList{});
    }

    // A part that cannot be read: no combined PDF, the old one kept, nothing left.
    const QByteArray before = testtools::ReadFile(combined);
    ASSERT_TRUE(testtools::WriteFile(parts[1].pdfPath, "not a PDF"));
    EXPECT_FALSE(PdfCombiner::MakeCombinedPdf(parts, combined, settings, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(testtools::ReadFile(combined), before);
    EXPECT_EQ(OutputFolderEntries().filter(QStringLiteral(".foliant-")), QStringList{});
}
