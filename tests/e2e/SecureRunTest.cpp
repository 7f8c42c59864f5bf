// A run with PDF security on: 128-bit RC4 with the first-shown V1.3, a user and an owner password,
// printing the only right granted, and a title with PDF string delimiters,
// a backslash and Chinese letters; what was set is read back from each PDF.

#include "FoliantSession.h"
#include "PdfFacts.h"
#include "RenderedPdf.h"
#include "TestTools.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

namespace {

const QString kUserPassword = QStringLiteral("reader(1)");
const QString kOwnerPassword = QStringLiteral("Own\\er 2");
const QString kTitle = QStringLiteral("Budget (draft) C:\\2026 报告");

class SecureRun : public FoliantSession
{
protected:
    QWidget* Security(int id) const { return OptionControl(1, id); }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }

    // The Security page set as the user sets it: Enable, the two passwords
    // (their boxes are ticked from the start), 128-bit, and every right but
    // printing withheld (a ticked box withholds its right).
    void SetSecurity()
    {
        ShowOptionPage(1);
        EXPECT_FALSE(Security(IDC_USER_PASSWORD)->isEnabled()) << "grey until security is enabled";
        Click(Security(IDC_ENABLE_SECURITY));
        ASSERT_TRUE(Security(IDC_USER_PASSWORD)->isEnabled());
        ASSERT_TRUE(qobject_cast<QAbstractButton*>(Security(IDC_ENABLE_USER_PASSWORD))->isChecked());
        ASSERT_TRUE(qobject_cast<QAbstractButton*>(Security(IDC_ENABLE_OWNER_PASSWORD))->isChecked());
        TypeInto(Security(IDC_USER_PASSWORD), kUserPassword);
        TypeInto(Security(IDC_OWNER_PASSWORD), kOwnerPassword);
        Click(Security(IDC_HIGH_ENCRYPTION));
        for (int id : {IDC_COPYING, IDC_FORMS, IDC_CHANGING})
            Click(Security(id));
        for (int id : {IDC_COPYING, IDC_FORMS, IDC_CHANGING, IDC_PRINTING, IDC_HIGH_ENCRYPTION})
            ASSERT_EQ(qobject_cast<QAbstractButton*>(Security(id))->isChecked(), id != IDC_PRINTING) << id;
    }
};

TEST_F(SecureRun, EveryKindOfFileGetsThePasswordsThePermissionsAndTheTitle)
{
    const QStringList names{"word-doc.doc",    "word-docx.docx", "web-htm.htm",     "web-tml.tml",
                            "data-xml.xml",    "plain-txt.txt",  "rich-rtf.rtf",    "sheet-xls.xls",
                            "slides-ppt.ppt",  "photo-jpg.jpg",  "photo-jpeg.jpeg", "picture-bmp.bmp",
                            "picture-gif.gif", "picture-png.png"};
    QStringList paths;
    for (const QString& name : names)
        paths << Source(name);
    Drop(paths);
    SetOutputFolder(OutputFolder());

    SetSecurity();
    ShowOptionPage(0);
    TypeInto(OptionControl(0, IDC_TITLE), kTitle);
    ASSERT_EQ(qobject_cast<QLineEdit*>(OptionControl(0, IDC_TITLE))->text(), kTitle);
    // The first-shown version stays: 128-bit keys need PDF 1.4, which each
    // PDF is then written at.
    ShowOptionPage(2);
    auto* version = qobject_cast<QComboBox*>(OptionControl(2, IDC_PDF_VERSION));
    ASSERT_EQ(version->currentText(), QStringLiteral("V1.3(Acrobat 4.xx)"));

    ConvertAndWait();
    WaitForCompletion(1);
    EXPECT_EQ(m_boxes.Boxes().size(), 0);
    EXPECT_EQ(m_completion->listed.size(), names.size());

    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString pdf = PdfOf(name);
        ASSERT_TRUE(QFileInfo::exists(pdf));
        EXPECT_FALSE(pdffacts::ReadInfo(pdf).opened) << "no reader opens it without a password";
        const pdffacts::Info info = pdffacts::ReadInfo(pdf, kUserPassword);
        ASSERT_TRUE(info.opened);
        EXPECT_EQ(info.title, kTitle);
        EXPECT_EQ(info.version, QStringLiteral("1.4"));
        EXPECT_TRUE(info.encrypted.startsWith(QStringLiteral("yes (print:yes copy:no change:no addNotes:no")))
            << info.encrypted.toStdString();

        const QMap<QString, QString> user = pdffacts::ReadEncryption(pdf, kUserPassword);
        EXPECT_EQ(user.value("R"), QStringLiteral("3")) << "128-bit RC4";
        EXPECT_EQ(user.value("P"), QStringLiteral("-1020"));
        EXPECT_EQ(user.value("User password"), kUserPassword);
        EXPECT_TRUE(user.contains("Supplied password is user password"));
        EXPECT_EQ(user.value("print high resolution"), QStringLiteral("allowed"));
        EXPECT_EQ(user.value("print low resolution"), QStringLiteral("allowed"));
        for (const char* withheld : {"extract for any purpose", "modify forms", "modify annotations",
                                     "modify other", "modify anything"})
            EXPECT_EQ(user.value(withheld), QStringLiteral("not allowed")) << withheld;
        const QMap<QString, QString> owner = pdffacts::ReadEncryption(pdf, kOwnerPassword);
        EXPECT_TRUE(owner.contains("Supplied password is owner password"));

        EXPECT_GT(Render(pdf, kUserPassword).inkedPixels, 50) << "the page is not blank";
    }
}

} // namespace
