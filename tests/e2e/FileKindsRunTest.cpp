// The formats in use today, each through its own office application, and
// the passwords of presentations, converted by the real program.

#include "FoliantSession.h"
#include "OfficeDocuments.h"
#include "PdfFacts.h"
#include "RenderedPdf.h"

#include "converters/CEnterPassWordDlg.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {

class FileKindsRun : public FoliantSession
{
protected:
    // The password prompt answers with these passwords, in turn, and
    // counts its appearances.
    void AnswerPrompts(const QStringList& passwords)
    {
        m_passwords = passwords;
        CEnterPassWordDlg::SetResponder([this](CEnterPassWordDlg& dialog) {
            ++m_prompts;
            if (m_passwords.isEmpty())
                return IDCANCEL;
            QTest::keyClicks(DlgItem<QLineEdit>(&dialog, IDC_PASSWORD), m_passwords.takeFirst());
            dialog.OnBnClickedOk();
            return IDOK;
        });
    }

    QStringList m_passwords;
    int m_prompts = 0;
};

const QString kQuestion = QStringLiteral("Password is wrong.Do you want to  enter again?");

TEST_F(FileKindsRun, EveryNewKindAddedOrDroppedBecomesAPdfWithItsWordsOrPages)
{
    // Extensions in capitals route as their lower-case forms do.
    const QStringList dropped{"w-html.html", "w-dot.dot",   "w-docm.docm", "w-dotx.dotx",
                              "w-dotm.dotm", "w-odt.odt",   "w-ott.ott",   "w-fodt.fodt",
                              "x-xlsx.xlsx", "x-xlsm.xlsm", "x-xltx.xltx", "x-ods.ods",
                              "x-ots.ots",   "x-fods.fods", "x-csv.csv",   "SHOUT.PPTX"};
    const QStringList picked{"p-pptx.pptx", "p-pptm.pptm", "p-ppsx.ppsx", "p-pps.pps",
                             "p-potx.potx", "p-odp.odp",   "p-otp.otp",   "p-fodp.fodp",
                             "i-tif.tif",   "SCAN.TIFF",   "i-webp.webp"};
    QStringList paths;
    for (const QString& name : dropped)
        paths << Source(name);
    for (const QString& name : picked)
        Source(name);
    Drop(paths);
    ASSERT_NO_FATAL_FAILURE(AddThroughDialog(picked));
    ASSERT_EQ(Page()->m_fileList->count(), dropped.size() + picked.size());
    SetOutputFolder(OutputFolder());

    ConvertAndWait();
    WaitForCompletion(1);
    const QStringList texts = m_boxes.Texts();
    EXPECT_TRUE(texts.isEmpty()) << texts.join(u'\n').toStdString();
    EXPECT_EQ(m_completion->listed.size(), dropped.size() + picked.size());

    for (const QString& name : dropped + picked) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = PdfOf(name);
        const pdffacts::Info info = pdffacts::ReadInfo(pdf);
        ASSERT_TRUE(info.opened) << "pdfinfo reads " << pdf.toStdString();
        const QString type = QFileInfo(name).suffix().toLower();
        const Rendered page = Render(pdf);
        if (type.startsWith(u"tif")) {
            EXPECT_EQ(info.pages, 3) << "one page per page of the TIFF";
        } else if (type == u"webp") {
            EXPECT_EQ(info.pages, 1);
            EXPECT_GT(page.inkedPixels, 1000);
        } else {
            EXPECT_TRUE(page.text.contains(QStringLiteral("Foliant sample marker") + type))
                << page.text.toStdString();
        }
    }
}

TEST_F(FileKindsRun, ProtectedPresentationsOpenWithTheirPasswordAfterTheQuestionAndNotWithAWrongOne)
{
    const QStringList names{"protected-pptx.pptx", "protected-odp.odp"};
    QStringList paths;
    for (const QString& name : names)
        paths << Source(name);

    // Yes, then the right password, for each.
    AnswerPrompts({officedocuments::Password(), officedocuments::Password()});
    m_boxes.Answer(IDYES);
    m_boxes.Answer(IDYES);
    Drop(paths);
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    WaitForCompletion(1);
    EXPECT_EQ(m_prompts, 2);
    const QStringList texts = m_boxes.Texts();
    ASSERT_EQ(m_boxes.Boxes().size(), 2) << texts.join(u'\n').toStdString();
    for (const ScriptedMessageBoxes::Box& box : m_boxes.Boxes())
        EXPECT_EQ(box.request.text, kQuestion);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString type = QFileInfo(name).suffix();
        EXPECT_TRUE(Render(PdfOf(name)).text.contains(QStringLiteral("markerprotected") + type));
        QFile::remove(PdfOf(name));
    }

    // A wrong password: the question comes back, and No gives the file up.
    m_prompts = 0;
    AnswerPrompts({QStringLiteral("wrong"), QStringLiteral("wrong")});
    for (int i = 0; i < 2; ++i) {
        m_boxes.Answer(IDYES);
        m_boxes.Answer(IDNO);
    }
    Drop(paths);
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    EXPECT_EQ(m_prompts, 2);
    EXPECT_EQ(m_boxes.Boxes().size(), 2 + 4);
    EXPECT_EQ(Status(), QStringLiteral("Stoped"));
    for (const QString& name : names)
        EXPECT_FALSE(QFileInfo::exists(PdfOf(name))) << name.toStdString();
}

} // namespace
