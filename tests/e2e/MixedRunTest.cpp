// One file of every accepted type, added by a drop and through Add File(s),
// with options set on the Description and Advanced pages, converted into one
// folder by the real program.

#include "FoliantSession.h"
#include "PdfFacts.h"
#include "RenderedPdf.h"
#include "TestTools.h"

#include <QComboBox>
#include <QFileInfo>

namespace {

class MixedRun : public FoliantSession
{
};

bool IsPicture(const QString& name)
{
    static const QStringList pictures{"jpg", "jpeg", "bmp", "gif", "png"};
    return pictures.contains(QFileInfo(name).suffix());
}

TEST_F(MixedRun, OneFileOfEveryTypeBecomesAReadablePdfInTheChosenFolder)
{
    const QStringList dropped{"word-doc.doc", "word-docx.docx", "web-htm.htm", "web-tml.tml",
                              "data-xml.xml", "plain-txt.txt",  "rich-rtf.rtf"};
    const QStringList picked{"sheet-xls.xls",   "slides-ppt.ppt",  "photo-jpg.jpg",  "photo-jpeg.jpeg",
                             "picture-bmp.bmp", "picture-gif.gif", "picture-png.png"};
    QStringList paths;
    for (const QString& name : dropped)
        paths << Source(name);
    for (const QString& name : picked)
        Source(name);
    Drop(paths);
    ASSERT_NO_FATAL_FAILURE(AddThroughDialog(picked));
    ASSERT_EQ(Page()->m_fileList->count(), 14);
    EXPECT_EQ(Status(), QStringLiteral("Ready"));
    SetOutputFolder(OutputFolder());

    ShowOptionPage(0);
    TypeInto(OptionControl(0, IDC_TITLE), QStringLiteral("Mixed bag"));
    TypeInto(OptionControl(0, IDC_AUTHOR), QStringLiteral("Ann Smith"));
    ShowOptionPage(2);
    auto* version = qobject_cast<QComboBox*>(OptionControl(2, IDC_PDF_VERSION));
    QTest::keyClick(version, Qt::Key_End); // the last entry, PDF/A-2b, then up past V1.7 and V1.6
    QTest::keyClick(version, Qt::Key_Up);
    QTest::keyClick(version, Qt::Key_Up);
    QTest::keyClick(version, Qt::Key_Up);
    ASSERT_EQ(version->currentText(), QStringLiteral("V1.5"));

    ConvertAndWait();
    WaitForCompletion(1);
    EXPECT_EQ(m_boxes.Boxes().size(), 0);
    EXPECT_EQ(Status(), QStringLiteral("Complete!"));
    EXPECT_EQ(m_completion->listed.size(), 14) << m_completion->listed.join(u' ').toStdString();

    for (const QString& name : dropped + picked) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = PdfOf(name);
        const pdffacts::Info info = pdffacts::ReadInfo(pdf);
        ASSERT_TRUE(info.opened) << "pdfinfo reads " << pdf.toStdString();
        EXPECT_EQ(info.version, QStringLiteral("1.5"));
        EXPECT_EQ(info.title, QStringLiteral("Mixed bag"));
        EXPECT_EQ(info.author, QStringLiteral("Ann Smith"));
        EXPECT_EQ(info.encrypted, QStringLiteral("no"));
        EXPECT_TRUE(m_completion->listed.contains(QFileInfo(pdf).fileName()));
        const Rendered page = Render(pdf);
        if (IsPicture(name)) {
            EXPECT_EQ(info.pages, 1);
            EXPECT_GT(page.inkedPixels, 1000) << "the picture covers part of the page";
            continue;
        }
        EXPECT_GT(page.inkedPixels, 50) << "the first page is not blank";
        const QString type = QFileInfo(name).suffix();
        EXPECT_TRUE(page.text.contains(QStringLiteral("Foliant sample marker") + type))
            << page.text.toStdString();
        // The documents with a second page, sheet or slide keep it.
        const QMap<QString, QString> second{{"doc", "markerpagetwo"},
                                            {"docx", "markerpagetwo"},
                                            {"xls", "markersheettwo"},
                                            {"ppt", "markerslidetwo"}};
        if (second.contains(type)) {
            EXPECT_GE(info.pages, 2);
            EXPECT_TRUE(page.text.contains(second[type])) << page.text.toStdString();
        } else {
            EXPECT_GE(info.pages, 1);
        }
    }
    EXPECT_EQ(QDir(OutputFolder()).entryList(QDir::Files).size(), 14) << "one PDF per file, nothing else";
}

} // namespace
