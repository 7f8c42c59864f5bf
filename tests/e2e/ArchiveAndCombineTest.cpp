// Archival PDF/A-2b and "Combine into one PDF", through the whole program:
// the office host on LibreOffice, the picture printer, Ghostscript and the
// final steps with qpdf's library. No PDF/A-2 validator is packaged for
// Debian 12: beyond the identification, the output intent, the fonts and the
// link, the rules validators most often find broken are checked here.

#include "FoliantSession.h"
#include "OfficeDocuments.h"
#include "TestTools.h"

#include "pdf/ArchiveFormat.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QXmlStreamReader>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

using testtools::RunTool;

namespace {

const QString kTitle = QStringLiteral("Überblick 报告");

class ArchiveAndCombine : public FoliantSession
{
protected:
    QString Copy(const QString& original, const QString& name)
    {
        QString why;
        const QString documents = officedocuments::Folder(&why);
        EXPECT_FALSE(documents.isEmpty()) << why.toStdString();
        const QString path = QDir(InputFolder()).filePath(name);
        EXPECT_TRUE(QFile::copy(QDir(documents).filePath(original), path));
        return path;
    }

    // A red disc on a fully transparent background, with a half-transparent rim.
    QString AlphaPicture(const QString& name)
    {
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setBrush(QColor(255, 0, 0));
        painter.setPen(QPen(QColor(0, 0, 255, 128), 12));
        painter.drawEllipse(20, 20, 160, 160);
        painter.end();
        const QString path = QDir(InputFolder()).filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    void ChooseVersion(const QString& text)
    {
        ShowOptionPage(2);
        auto* version = qobject_cast<QComboBox*>(OptionControl(2, IDC_PDF_VERSION));
        version->setFocus();
        while (version->currentText() != text && version->currentIndex() + 1 < version->count())
            QTest::keyClick(version, Qt::Key_Down);
        ASSERT_EQ(version->currentText(), text);
    }

    // The combined PDF's name as the user gives it in the save dialog.
    void AnswerSaveDialogWith(const QString& name)
    {
        m_saveDialog = std::make_unique<QTimer>();
        QObject::connect(m_saveDialog.get(), &QTimer::timeout, [this, name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_saveDialog->stop();
            m_proposed = dialog->selectedFiles().value(0);
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!field) {
                // Failing here must not leave the modal dialog open: the
                // run would wait for it until the test's time limit.
                ADD_FAILURE() << "the save dialog has no file name field";
                dialog->reject();
                return;
            }
            QApplication::setActiveWindow(dialog);
            TypeInto(field, name);
            QTest::keyClick(field, Qt::Key_Return);
        });
        m_saveDialog->start(10);
    }

    std::unique_ptr<QTimer> m_saveDialog;
    QString m_proposed;
};

QString Metadata(QPDF& pdf)
{
    QPDFObjectHandle metadata = pdf.getRoot().getKey("/Metadata");
    if (!metadata.isStream())
        return {};
    auto data = metadata.getStreamData(qpdf_dl_all);
    return QString::fromUtf8(reinterpret_cast<const char*>(data->getBuffer()),
                             static_cast<qsizetype>(data->getSize()));
}

// The XMP packet is well-formed XML; the text of its first element of that name.
QString XmpValue(const QString& metadata, const QString& qualifiedName)
{
    QXmlStreamReader xml(metadata);
    QString value;
    bool inside = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.qualifiedName() == qualifiedName)
            inside = true;
        else if (xml.isEndElement() && xml.qualifiedName() == qualifiedName)
            inside = false;
        else if (inside && xml.isCharacters() && !xml.isWhitespace() && value.isEmpty())
            value = xml.text().toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return value;
}

} // namespace

TEST_F(ArchiveAndCombine, PdfA2bOfALinkedDocumentAndAnAlphaPictureWithANonLatinTitle)
{
    Drop({Copy(QStringLiteral("linked.docx"), QStringLiteral("linked.docx")),
          AlphaPicture(QStringLiteral("logo.png"))});
    SetOutputFolder(OutputFolder());
    ShowOptionPage(0);
    TypeInto(OptionControl(0, IDC_TITLE), kTitle);
    TypeInto(OptionControl(0, IDC_AUTHOR), QStringLiteral("Zoë <Ops> & Team"));
    TypeInto(OptionControl(0, IDC_KEYWORDS), QStringLiteral("archive"));
    QTest::keyClick(OptionControl(0, IDC_KEYWORDS), Qt::Key_Return);
    QTest::keyClicks(OptionControl(0, IDC_KEYWORDS), QStringLiteral("Akte"));
    ChooseVersion(kPdfA2bVersion);
    // PDF/A has no LZW: the choice must not bring it in.
    auto* compression = qobject_cast<QComboBox*>(OptionControl(2, IDC_DOCUMENT_COMPRESSION));
    compression->setCurrentText(QStringLiteral("LZW"));

    ConvertAndWait();
    WaitForCompletion(1);
    EXPECT_EQ(m_boxes.Boxes().size(), 0);
    EXPECT_EQ(m_completion->listed, (QStringList{"linked.pdf", "logo.pdf"}));

    for (const QString& name : {QStringLiteral("linked.docx"), QStringLiteral("logo.png")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = PdfOf(name);
        QPDF pdf;
        pdf.processFile(QFile::encodeName(path).constData());
        const QString xmp = Metadata(pdf);
        EXPECT_EQ(XmpValue(xmp, QStringLiteral("pdfaid:part")), QStringLiteral("2"));
        EXPECT_EQ(XmpValue(xmp, QStringLiteral("pdfaid:conformance")), QStringLiteral("B"));
        // The typed values in XMP and Info alike (Info below).
        EXPECT_EQ(XmpValue(xmp, QStringLiteral("dc:title")), kTitle);
        EXPECT_EQ(XmpValue(xmp, QStringLiteral("dc:creator")), QStringLiteral("Zoë <Ops> & Team"));
        const QString keywords =
            QString::fromStdString(pdf.getTrailer().getKey("/Info").getKey("/Keywords").getUTF8Value());
        EXPECT_TRUE(keywords.startsWith(QStringLiteral("archive")) &&
                    keywords.endsWith(QStringLiteral("Akte")));
        EXPECT_EQ(XmpValue(xmp, QStringLiteral("pdf:Keywords")), keywords);
        EXPECT_FALSE(XmpValue(xmp, QStringLiteral("xmp:CreateDate")).isEmpty());
        // Further rules a validator checks: a file identifier, metadata
        // unfiltered, every annotation printed and none hidden, no LZW.
        EXPECT_TRUE(pdf.getTrailer().getKey("/ID").isArray());
        EXPECT_FALSE(pdf.getRoot().getKey("/Metadata").getDict().hasKey("/Filter"));
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
            for (QPDFAnnotationObjectHelper& annotation : page.getAnnotations())
                EXPECT_EQ(annotation.getFlags() & (1 | 2 | 4 | 32), 4);
        for (QPDFObjectHandle& object : pdf.getAllObjects()) {
            if (object.isStream()) {
                EXPECT_EQ(object.getDict().getKey("/Filter").unparse().find("LZW"), std::string::npos);
            }
        }
        QPDFObjectHandle intent = pdf.getRoot().getKey("/OutputIntents").getArrayItem(0);
        EXPECT_EQ(intent.getKey("/S").getName(), "/GTS_PDFA1");
        EXPECT_EQ(intent.getKey("/DestOutputProfile").getDict().getKey("/N").getIntValueAsInt(), 3);
        EXPECT_EQ(QString::fromStdString(pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value()),
                  kTitle);
        const auto fonts = RunTool(QStringLiteral("pdffonts"), {path});
        ASSERT_EQ(fonts.exitCode, 0) << fonts.err.toStdString();
        const QStringList fontLines =
            QString::fromUtf8(fonts.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
        if (name.endsWith(QLatin1String(".docx"))) {
            EXPECT_FALSE(fontLines.isEmpty()) << "the document's text has fonts";
        }
        for (const QString& line : fontLines)
            EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
        EXPECT_EQ(RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);
    }
    // The link survives (Ghostscript drops links that are not printed).
    QPDF linked;
    linked.processFile(QFile::encodeName(PdfOf(QStringLiteral("linked.docx"))).constData());
    QStringList uris;
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(linked).getAllPages())
        for (QPDFAnnotationObjectHelper& link : page.getAnnotations("/Link"))
            uris << QString::fromStdString(link.getObjectHandle().getKey("/A").getKey("/URI").getUTF8Value());
    EXPECT_EQ(uris.size(), 1);
    EXPECT_TRUE(uris.value(0).startsWith(QStringLiteral("http"))) << uris.join(u' ').toStdString();
}

TEST_F(ArchiveAndCombine, OneCombinedPdfInListOrderWithAesAndTheDamagedFileLeftOut)
{
    const QString damaged = QDir(InputFolder()).filePath(QStringLiteral("b-damaged.png"));
    ASSERT_TRUE(testtools::WriteFile(damaged, QByteArray("\x89PNG\r\n\x1a\n this is no picture")));
    Drop({Copy(QStringLiteral("sample.docx"), QStringLiteral("a-report.docx")), damaged,
          Copy(QStringLiteral("sample.xls"), QStringLiteral("c-sheet.xls")),
          AlphaPicture(QStringLiteral("d-logo.png"))});
    SetOutputFolder(OutputFolder());

    ShowOptionPage(1);
    QTest::mouseClick(OptionControl(1, IDC_ENABLE_SECURITY), Qt::LeftButton);
    TypeInto(OptionControl(1, IDC_USER_PASSWORD), QStringLiteral("reader"));
    TypeInto(OptionControl(1, IDC_OWNER_PASSWORD), QStringLiteral("owner"));
    QTest::mouseClick(OptionControl(1, IDC_AES256_ENCRYPTION), Qt::LeftButton);
    auto* combine = Button(IDC_COMBINE_FILES);
    EXPECT_FALSE(combine->isChecked()) << "first shown unticked";
    QTest::mouseClick(combine, Qt::LeftButton);
    ASSERT_TRUE(combine->isChecked());

    // The damaged picture is reported and left out.
    m_boxes.Answer(IDOK);
    AnswerSaveDialogWith(QStringLiteral("Bundle"));
    ConvertAndWait();
    EXPECT_EQ(QFileInfo(m_proposed).fileName(), QStringLiteral("out.pdf")) << "named after the folder";
    WaitForCompletion(1);
    EXPECT_EQ(m_completion->listed, QStringList{QStringLiteral("Bundle.pdf")});
    EXPECT_EQ(QDir(OutputFolder()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("Bundle.pdf")})
        << "no per-file PDF, no part left";
    EXPECT_FALSE(m_boxes.Texts().filter(QStringLiteral("b-damaged.png")).isEmpty())
        << "the damaged file is named";

    const QString bundle = QDir(OutputFolder()).filePath(QStringLiteral("Bundle.pdf"));
    EXPECT_NE(RunTool(QStringLiteral("pdfinfo"), {bundle}).exitCode, 0) << "encrypted";
    const auto encryption = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"),
                                                             QStringLiteral("--password=owner"), bundle});
    EXPECT_TRUE(encryption.out.contains("R = 6")) << encryption.out.toStdString();
    EXPECT_TRUE(encryption.out.contains("stream encryption method: AESv3"));

    QPDF pdf;
    pdf.processFile(QFile::encodeName(bundle).constData(), "reader");
    QStringList titles;
    for (QPDFOutlineObjectHelper& item : QPDFOutlineDocumentHelper(pdf).getTopLevelOutlines())
        titles << QString::fromStdString(item.getTitle());
    EXPECT_EQ(titles, (QStringList{"a-report.docx", "c-sheet.xls", "d-logo.png"}));
    // Two pages of the report, two sheets, one picture.
    EXPECT_EQ(QPDFPageDocumentHelper(pdf).getAllPages().size(), 5u);
}
