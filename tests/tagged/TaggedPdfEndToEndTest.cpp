// "Tagged PDF" end to end: a German report with headings, a list, a table
// with a header row, a link, a picture with its alternate text and a form
// field, a sheet and a slide deck, made at test time with LibreOffice and
// converted by the real foliant-convert, office host, LibreOffice and
// Ghostscript; read back as a PDF reader and a screen reader would.
#include "PdfUaChecker.h"
#include "ProcessTree.h"
#include "TestPictures.h"
#include "TestScans.h"
#include "TestTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFAcroFormDocumentHelper.hh>

using testtools::RunTool;

namespace {

// The documents and LibreOffice's own PDFs of them, made once per test program.
QString Documents(QString* why)
{
    static QTemporaryDir folder;
    static const QString failure = [] {
        const testtools::ToolResult r = RunTool(
            QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(FOLIANT_TEST_SOURCE_DIR "/make_tagged_documents.py"), folder.path()}, 600000);
        return r.exitCode == 0 ? QString()
                               : QStringLiteral("make_tagged_documents.py: ") + QString::fromLocal8Bit(r.err);
    }();
    *why = failure;
    return failure.isEmpty() ? folder.path() : QString();
}

std::string Faults(const QString& pdf, const QString& password = {})
{
    return PdfUaChecker::Check(pdf, password).join(QLatin1Char('\n')).toStdString();
}

QString Info(const QString& pdf, const QStringList& more = {})
{
    return QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), more + QStringList{pdf}).out);
}

QString StructText(const QString& pdf, const QStringList& more = {})
{
    return QString::fromUtf8(
        RunTool(QStringLiteral("pdfinfo"), more + QStringList{QStringLiteral("-struct-text"), pdf}).out);
}

// The words of LibreOffice's own PDF that ours lacks.
QStringList MissingWords(const QString& ours, const QString& reference)
{
    const QStringList have = testtools::PdfWords(ours);
    const QSet<QString> haveSet(have.begin(), have.end());
    QStringList missing;
    for (const QString& word : testtools::PdfWords(reference))
        if (!haveSet.contains(word))
            missing << word;
    return missing;
}

QByteArray Unpacked(const QString& pdf, const QString& password = {})
{
    QStringList arguments{QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable")};
    if (!password.isEmpty())
        arguments << QStringLiteral("--password=") + password << QStringLiteral("--decrypt");
    return RunTool(QStringLiteral("qpdf"), arguments + QStringList{pdf, QStringLiteral("-")}).out;
}

// pdf.js from npm, installed once into the build tree; false, with the
// reason, when the registry cannot be reached.
bool PdfJsInstalled(QString* why)
{
    const QString prefix = QStringLiteral(FOLIANT_PDFJS_PREFIX);
    if (QFileInfo::exists(prefix + QStringLiteral("/node_modules/pdfjs-dist/package.json")))
        return true;
    const auto install =
        RunTool(QStringLiteral("npm"),
                {QStringLiteral("install"), QStringLiteral("--prefix"), prefix, QStringLiteral("--no-audit"),
                 QStringLiteral("--no-fund"), QStringLiteral("pdfjs-dist@5.4.296")},
                600000);
    *why = QStringLiteral("pdf.js could not be installed from the npm registry: ") +
           QString::fromLocal8Bit(install.err);
    return install.exitCode == 0;
}

// What pdf.js exposes of a PDF to assistive technology (see pdfjs_structure.mjs).
QJsonObject PdfJsView(const QString& pdf, QString* why)
{
    qputenv("PDFJS_PREFIX", QFile::encodeName(QStringLiteral(FOLIANT_PDFJS_PREFIX)));
    const auto read = RunTool(QStringLiteral("node"),
                              {QStringLiteral(FOLIANT_TEST_SOURCE_DIR "/pdfjs_structure.mjs"), pdf}, 120000);
    *why = QString::fromLocal8Bit(read.err);
    return read.exitCode == 0 ? QJsonDocument::fromJson(read.out).object() : QJsonObject();
}

// Every node of a pdf.js structure tree, depth first.
void Walk(const QJsonObject& node, const std::function<void(const QJsonObject&)>& visit)
{
    visit(node);
    for (const QJsonValue child : node.value("children").toArray())
        Walk(child.toObject(), visit);
}

class TaggedEndToEnd : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_runtime = testtools::UsePrivateFolders(); }

    void SetUp() override
    {
        QString why;
        m_documents = Documents(&why);
        ASSERT_FALSE(m_documents.isEmpty()) << why.toStdString();
    }
    void TearDown() override
    {
        EXPECT_EQ(processtree::Running(s_runtime), QStringList{})
            << "no office host, office or Ghostscript is left running";
    }

    QString Document(const QString& name) const { return m_documents + u'/' + name; }
    QString Reference(const QString& stem) const
    {
        return m_documents + QStringLiteral("/reference/") + stem + QStringLiteral(".pdf");
    }

    // Runs foliant-convert on the documents into a new folder; the folder.
    QString Convert(const QStringList& options, const QStringList& names, const QByteArray& input = {})
    {
        const QString folder = m_output.filePath(QString::number(++m_runs));
        EXPECT_TRUE(QDir().mkpath(folder));
        QStringList arguments = options;
        arguments << QStringLiteral("-o") << folder;
        for (const QString& name : names)
            arguments << Document(name);
        const auto run =
            RunTool(testtools::ProgramDir() + QStringLiteral("/foliant-convert"), arguments, 600000, input);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        return folder;
    }

    static inline QString s_runtime;
    QString m_documents;
    QTemporaryDir m_output;
    int m_runs = 0;
};

} // namespace

TEST_F(TaggedEndToEnd, OfficeDocumentsKeepTheirStructureFormsAndWords)
{
    const QString tagged =
        Convert({QStringLiteral("--tagged")}, {QStringLiteral("report.docx"), QStringLiteral("figures.xlsx"),
                                               QStringLiteral("slides.pptx")});
    for (const char* stem : {"report", "figures", "slides"}) {
        SCOPED_TRACE(stem);
        const QString pdf = tagged + u'/' + QString::fromLatin1(stem) + QStringLiteral(".pdf");
        ASSERT_TRUE(QFileInfo::exists(pdf));
        const QString info = Info(pdf);
        EXPECT_TRUE(info.contains(QLatin1String("Tagged:          yes"))) << info.toStdString();
        EXPECT_TRUE(info.contains(QLatin1String("PDF version:     1.7"))) << info.toStdString();
        EXPECT_EQ(Faults(pdf), "");
        EXPECT_EQ(MissingWords(pdf, Reference(QString::fromLatin1(stem))), QStringList{});
    }

    // The report: its structure as a PDF reader exposes it.
    const QString report = tagged + QStringLiteral("/report.pdf");
    const QString structure = StructText(report);
    for (const char* part : {"H1 (block)", "H2 (block)", "L (block)", "LI (block)", "Table (block)",
                             "TH:", "TD:", "Link (inline)", "Figure", "Form", "\"Jahresbericht Foliant\"",
                             "\"Monat\"", "\"Mehr beim Verein\""})
        EXPECT_TRUE(structure.contains(QString::fromUtf8(part))) << part << "\n" << structure.toStdString();
    const QString info = Info(report);
    EXPECT_TRUE(info.contains(QLatin1String("Title:           report.docx")))
        << "no title given: the file's name";
    EXPECT_TRUE(info.contains(QLatin1String("Form:            AcroForm")));
    QPDF read;
    read.processFile(QFile::encodeName(report).constData());
    EXPECT_EQ(read.getRoot().getKey("/Lang").getUTF8Value(), "de-DE");
    EXPECT_TRUE(read.getRoot().getKey("/ViewerPreferences").getKey("/DisplayDocTitle").getBoolValue());
    // The form field can be filled: a text field, not read-only, with its value.
    QPDFAcroFormDocumentHelper forms(read);
    const auto fields = forms.getFormFields();
    ASSERT_EQ(fields.size(), 1u);
    QPDFFormFieldObjectHelper field = fields.front();
    EXPECT_EQ(field.getFullyQualifiedName(), "Nachname");
    EXPECT_EQ(field.getFieldType(), "/Tx");
    EXPECT_EQ(field.getValueAsString(), "Mustermann");
    EXPECT_EQ(field.getFlags() & 1, 0) << "not read-only";
    // The picture's Figure carries its alternate text and holds the picture.
    const QByteArray unpacked = Unpacked(report);
    EXPECT_TRUE(unpacked.contains("/Figure <</MCID")) << "the picture is tagged content, not an artifact";

    // Without the box, as before: Ghostscript's untagged PDF, the field drawn flat.
    const QString plain = Convert({}, {QStringLiteral("report.docx")}) + QStringLiteral("/report.pdf");
    const QString plainInfo = Info(plain);
    EXPECT_TRUE(plainInfo.contains(QLatin1String("Tagged:          no"))) << plainInfo.toStdString();
    EXPECT_TRUE(plainInfo.contains(QLatin1String("Form:            none"))) << plainInfo.toStdString();
    EXPECT_TRUE(plainInfo.contains(QLatin1String("PDF version:     1.3"))) << plainInfo.toStdString();
}

TEST_F(TaggedEndToEnd, EncryptedArchivalPictureAndCombinedPdfsStayTagged)
{
    // AES-256: the tags kept, the accessibility right granted though copying is withheld.
    const QString secure =
        Convert({QStringLiteral("--tagged"), QStringLiteral("--encrypt"), QStringLiteral("aes-256"),
                 QStringLiteral("--deny"), QStringLiteral("copy"), QStringLiteral("--owner-password-file"),
                 QStringLiteral("-")},
                {QStringLiteral("report.docx")}, "owner-secret\n") +
        QStringLiteral("/report.pdf");
    EXPECT_TRUE(Info(secure).contains(QLatin1String("Encrypted:       yes")));
    EXPECT_TRUE(Info(secure, {QStringLiteral("-opw"), QStringLiteral("owner-secret")})
                    .contains(QLatin1String("Tagged:          yes")));
    EXPECT_EQ(Faults(secure, QStringLiteral("owner-secret")), "");
    const QString permissions =
        QString::fromUtf8(RunTool(QStringLiteral("qpdf"),
                                  {QStringLiteral("--json"), QStringLiteral("--json-key=encrypt"), secure})
                              .out);
    EXPECT_TRUE(permissions.contains(QLatin1String("\"accessibility\": true"))) << permissions.toStdString();
    EXPECT_TRUE(permissions.contains(QLatin1String("\"extract\": false"))) << permissions.toStdString();
    EXPECT_TRUE(permissions.contains(QLatin1String("\"V\": 5"))) << permissions.toStdString();

    // PDF/A-2b: both identifications in one file.
    const QString archival =
        Convert({QStringLiteral("--tagged"), QStringLiteral("--pdfa")}, {QStringLiteral("slides.pptx")}) +
        QStringLiteral("/slides.pdf");
    EXPECT_EQ(Faults(archival), "");
    const QByteArray xmp = Unpacked(archival);
    EXPECT_TRUE(xmp.contains("<pdfaid:part>2</pdfaid:part>"));
    EXPECT_TRUE(xmp.contains("<pdfaid:conformance>B</pdfaid:conformance>"));
    EXPECT_TRUE(xmp.contains("<pdfuaid:part>1</pdfuaid:part>"));

    // A picture: one Figure, its file's name as alternate text.
    const QString picture =
        Convert({QStringLiteral("--tagged")}, {QStringLiteral("photo.png")}) + QStringLiteral("/photo.pdf");
    EXPECT_EQ(Faults(picture), "");
    EXPECT_TRUE(StructText(picture).contains(QLatin1String("Figure")));
    EXPECT_TRUE(Unpacked(picture).contains("/Alt (photo.png)"));

    // Combined: three parts, three sections under one Document, bookmarks in order.
    const QString combined =
        Convert({QStringLiteral("--tagged"), QStringLiteral("--combine"), QStringLiteral("Bundle")},
                {QStringLiteral("report.docx"), QStringLiteral("photo.png"), QStringLiteral("slides.pptx")}) +
        QStringLiteral("/Bundle.pdf");
    EXPECT_EQ(Faults(combined), "");
    const QString info = Info(combined);
    EXPECT_TRUE(info.contains(QLatin1String("Tagged:          yes"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("Title:           Bundle.pdf"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("Form:            AcroForm")))
        << "the report's field stays fillable";
    QPDF read;
    read.processFile(QFile::encodeName(combined).constData());
    QPDFObjectHandle document = read.getRoot().getKey("/StructTreeRoot").getKey("/K");
    ASSERT_TRUE(document.isDictionary());
    EXPECT_TRUE(document.getKey("/S").isNameAndEquals("/Document"));
    ASSERT_EQ(document.getKey("/K").getArrayNItems(), 3);
    QStringList sections;
    for (QPDFObjectHandle section : document.getKey("/K").getArrayAsVector()) {
        EXPECT_TRUE(section.getKey("/S").isNameAndEquals("/Sect"));
        EXPECT_GT(section.getKey("/K").getArrayNItems(), 0);
        sections << QString::fromStdString(section.getKey("/T").getUTF8Value());
    }
    EXPECT_EQ(sections, QStringList({"report.docx", "photo.png", "slides.pptx"}));
    QStringList bookmarks;
    for (QPDFObjectHandle item = read.getRoot().getKey("/Outlines").getKey("/First"); item.isDictionary();
         item = item.getKey("/Next"))
        bookmarks << QString::fromStdString(item.getKey("/Title").getUTF8Value());
    EXPECT_EQ(bookmarks, sections);
    const QString tree = StructText(combined);
    for (const char* part : {"\"Jahresbericht Foliant\"", "TH:", "Figure", "\"Quarterly Review Slides\""})
        EXPECT_TRUE(tree.contains(QString::fromUtf8(part))) << part;
}

TEST_F(TaggedEndToEnd, ABrowsersPdfViewerReadsTheStructureAndFillsTheForm)
{
    QString why;
    if (!PdfJsInstalled(&why))
        GTEST_SKIP() << why.toStdString();
    const QString pdf = Convert({QStringLiteral("--tagged")}, {QStringLiteral("report.docx")}) +
                        QStringLiteral("/report.pdf");
    const QJsonObject seen = PdfJsView(pdf, &why);
    ASSERT_FALSE(seen.isEmpty()) << why.toStdString();
    EXPECT_EQ(seen.value("title").toString(), "report.docx");
    EXPECT_EQ(seen.value("language").toString(), "de-DE");
    EXPECT_TRUE(seen.value("displayTitle").toBool());
    const QJsonArray pages = seen.value("pages").toArray();
    ASSERT_EQ(pages.size(), 1);

    // Every role and alternate text of the tree.
    QStringList roles;
    QStringList alternates;
    Walk(pages[0].toObject().value("tree").toObject(), [&](const QJsonObject& node) {
        if (node.contains("role"))
            roles << node.value("role").toString();
        if (node.contains("alt"))
            alternates << node.value("alt").toString();
    });
    for (const char* role :
         {"Document", "H1", "H2", "L", "LI", "Table", "TH", "TD", "Link", "Figure", "Form"})
        EXPECT_TRUE(roles.contains(QString::fromLatin1(role)))
            << role << ": " << roles.join(' ').toStdString();
    EXPECT_TRUE(alternates.contains(QStringLiteral("Farbflächen als Beispielbild")))
        << alternates.join('|').toStdString();

    // The field as the viewer offers it: a text field to fill, with its value.
    bool field = false;
    for (const QJsonValue annotation : pages[0].toObject().value("annotations").toArray()) {
        const QJsonObject a = annotation.toObject();
        if (a.value("subtype").toString() != "Widget")
            continue;
        field = true;
        EXPECT_EQ(a.value("fieldType").toString(), "Tx");
        EXPECT_EQ(a.value("fieldName").toString(), "Nachname");
        EXPECT_EQ(a.value("fieldValue").toString(), "Mustermann");
        EXPECT_FALSE(a.value("readOnly").toBool());
    }
    EXPECT_TRUE(field) << "the form field reaches the viewer";
}

TEST_F(TaggedEndToEnd, RecognisedWordsAreTaggedAsTextBesideEachPagesFigure)
{
    QString why;
    const bool pdfJs = PdfJsInstalled(&why);
    // Three scans in one TIFF, read with "Tagged PDF" and OCR both on.
    const QList<testscans::Scan> scans{testscans::Make(0), testscans::Make(1), testscans::Make(2)};
    const QString tiff = Document(QStringLiteral("scans.tif"));
    ASSERT_TRUE(
        testtools::WriteFile(tiff, testpictures::Tiff({scans[0].image, scans[1].image, scans[2].image})));
    const QString pdf =
        Convert({QStringLiteral("--tagged"), QStringLiteral("--ocr")}, {QStringLiteral("scans.tif")}) +
        QStringLiteral("/scans.pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(Faults(pdf), "");
    EXPECT_TRUE(Info(pdf).contains(QLatin1String("Tagged:          yes")));

    // Each page: its Figure named after the file, then its lines as P
    // elements holding the words, as poppler reads the structure.
    QPDF read;
    read.processFile(QFile::encodeName(pdf).constData());
    QPDFObjectHandle document = read.getRoot().getKey("/StructTreeRoot").getKey("/K");
    ASSERT_TRUE(document.getKey("/S").isNameAndEquals("/Document"));
    QStringList roles;
    for (QPDFObjectHandle element : document.getKey("/K").getArrayAsVector())
        roles << QString::fromStdString(element.getKey("/S").getName());
    EXPECT_EQ(roles.count(QStringLiteral("/Figure")), 3) << roles.join(' ').toStdString();
    EXPECT_GE(roles.count(QStringLiteral("/P")), 9) << "three lines a page at least";
    EXPECT_EQ(roles.value(0), QStringLiteral("/Figure")) << "each page's Figure before its lines";
    const QString structure = StructText(pdf);
    const QRegularExpression emptyFigure(QStringLiteral("Figure:\n +/BBox [^\n]*\n +\"\"\n"));
    EXPECT_EQ(structure.count(emptyFigure), 3) << "no words inside a Figure\n" << structure.toStdString();
    for (const char* line :
         {"\"Dear customer, thank you", "\"Meeting notes from the quarterly", "\"Chapter three describes"})
        EXPECT_TRUE(QRegularExpression(QStringLiteral("P \\(block\\)\n +") + QRegularExpression::escape(line))
                        .match(structure)
                        .hasMatch())
            << line << "\n"
            << structure.toStdString();

    // The words are still found, each over its word in the picture.
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const QRectF place = testscans::PicturePlace(pdf, page);
        ASSERT_FALSE(place.isEmpty());
        const testscans::Match match = testscans::Compare(testscans::OnPage(scans[page - 1], place),
                                                          testscans::PdfWords(pdf, page), 2.0);
        ASSERT_GT(match.total, 25);
        EXPECT_GE(match.found * 100, match.total * 95) << match.found << " of " << match.total;
        EXPECT_TRUE(match.misplaced.isEmpty()) << match.misplaced.join(u'\n').toStdString();
    }

    // A browser's viewer: the Figure with its alternate text, and the words
    // under P elements.
    if (!pdfJs)
        GTEST_SKIP() << why.toStdString();
    const QJsonObject seen = PdfJsView(pdf, &why);
    ASSERT_FALSE(seen.isEmpty()) << why.toStdString();
    const QJsonArray pages = seen.value("pages").toArray();
    ASSERT_EQ(pages.size(), 3);
    const char* const firstWords[] = {"Dear customer", "Meeting notes", "Chapter three"};
    for (int page = 0; page < 3; ++page) {
        SCOPED_TRACE(page + 1);
        const QJsonObject texts = pages[page].toObject().value("texts").toObject();
        QString paragraphs;
        QStringList alternates;
        Walk(pages[page].toObject().value("tree").toObject(), [&](const QJsonObject& node) {
            if (node.value("role").toString() == "Figure")
                alternates << node.value("alt").toString();
            if (node.value("role").toString() != "P")
                return;
            for (const QJsonValue child : node.value("children").toArray())
                paragraphs += texts.value(child.toObject().value("id").toString()).toString() + u' ';
        });
        EXPECT_EQ(alternates, QStringList{"scans.tif"});
        EXPECT_TRUE(paragraphs.simplified().startsWith(QString::fromLatin1(firstWords[page])))
            << paragraphs.toStdString();
    }
}
