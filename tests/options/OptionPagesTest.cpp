#include "app/Resource.h"
#include "options/CAdvancedDlg.h"
#include "options/CDescriptionDlg.h"
#include "options/CSecurityDlg.h"
#include "options/CTabCtrlEx.h"
#include "options/OptionTabs.h"
#include "options/TextRecognitionChoice.h"
#include "pdf/GhostscriptCommandLine.h"

#include "PumpWhile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The tab control and its pages in a dialog with a default button, as they
// sit in the program's window: Enter and Escape that escaped a page would
// press that button or close the dialog.
class OptionPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.resize(760, 300);
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        ok->setGeometry(650, 270, 80, 24);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        group = new QGroupBox("Advanced Options:", &dialog);
        group->setGeometry(10, 10, 700, 254);
        tabs.SetUp(new CTabCtrlEx(&dialog), group);
        tabs.InstallClickFilter(&dialog);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    QWidget* Item(QWidget* page, int id) { return GetDlgItem(page, id); }
    template <class T> T* Item(QWidget* page, int id) { return DlgItem<T>(page, id); }

    void ClickTab(int index)
    {
        QTabBar* bar = tabs.m_tab->TabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    std::vector<QWidget*> VisiblePages() const
    {
        std::vector<QWidget*> shown;
        for (int i = 0; i < 3; ++i)
            if (tabs.Page(i)->isVisible())
                shown.push_back(tabs.Page(i));
        return shown;
    }

    // Every value the pages give at Convert, Advanced fields included.
    ConversionSettings Collect()
    {
        ConversionSettings settings;
        // Values the pages must overwrite.
        settings.title = settings.userPassword = "stale";
        settings.pdfVersion = PdfVersion::PdfA2b;
        settings.jpegQuality = JpegQuality::Maximum;
        settings.securityEnabled = !settings.securityEnabled;
        settings.userPasswordEnabled = !settings.userPasswordEnabled;
        settings.encryption = EncryptionMethod::Aes256;
        tabs.UpdateData(settings);
        tabs.m_advancedPage->ReadAdvancedSettings(settings);
        return settings;
    }

    QDialog dialog;
    QGroupBox* group = nullptr;
    OptionTabs tabs;
};

// Reads the Advanced fields from a thread of its own while this thread keeps
// serving its event loop, as the PDF step does from the conversion thread.
ConversionSettings ReadFromWorker(const AdvancedSettingsReader& reader)
{
    ConversionSettings settings;
    settings.jpegQuality = JpegQuality::Maximum; // a value the page must overwrite
    testtools::RunOnWorkerWhilePumping([&] { reader.ReadAdvancedSettings(settings); });
    return settings;
}

} // namespace

TEST_F(OptionPagesTest, UntouchedPagesGiveTheFirstShownSettings)
{
    EXPECT_EQ(Collect(), ConversionSettings{});
    EXPECT_EQ(BuildSecurityArguments(Collect()), QString());
}

TEST_F(OptionPagesTest, SetUpPlacesTheTabsAndShowsDescriptionFirst)
{
    CTabCtrlEx* tab = tabs.m_tab;
    EXPECT_EQ(tab->parentWidget(), group);
    EXPECT_EQ(tab->geometry(), group->rect().adjusted(10, 30, -10, -10));
    ASSERT_EQ(tab->GetItemCount(), 3);
    EXPECT_EQ(tab->TabBar()->tabText(0), "Description");
    EXPECT_EQ(tab->TabBar()->tabText(1), "Security");
    EXPECT_EQ(tab->TabBar()->tabText(2), "Advanced");
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(tabs.m_curTab, 0);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_descriptionPage});
    EXPECT_EQ(tabs.m_descriptionPage->geometry(), tab->PageRect());
    EXPECT_EQ(tab->PageRect(), tab->rect().adjusted(1, 30, -4, -4));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tabs.Page(i)->parentWidget(), tab);

    // White under the headers and on the page.
    const QImage image = tab->grab().toImage();
    EXPECT_EQ(image.pixelColor(tab->width() - 6, 4), QColor(Qt::white));
    EXPECT_EQ(tabs.m_descriptionPage->palette().color(QPalette::Window), QColor(Qt::white));
    const QImage page = tabs.m_descriptionPage->grab().toImage();
    EXPECT_EQ(page.pixelColor(2, page.height() - 3), QColor(Qt::white));
}

TEST_F(OptionPagesTest, ClickingTabHeadersShowsExactlyOnePage)
{
    ClickTab(2);
    EXPECT_EQ(tabs.m_curTab, 2);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_advancedPage});
    EXPECT_EQ(tabs.m_advancedPage->geometry().top(), 30);
    EXPECT_EQ(tabs.m_advancedPage->geometry(), tabs.m_tab->PageRect());

    ClickTab(1);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_securityPage});
    EXPECT_EQ(tabs.m_securityPage->geometry().top(), 30);

    // A click on the shown tab changes nothing, even after the page was moved.
    tabs.m_securityPage->move(5, 40);
    ClickTab(1);
    EXPECT_EQ(tabs.m_curTab, 1);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_securityPage});
    EXPECT_EQ(tabs.m_securityPage->pos(), QPoint(5, 40));

    // The switch happens on the press itself, before the tab bar reacts.
    const QPoint header = tabs.m_tab->TabBar()->tabRect(0).center();
    tabs.OnLButtonDown(tabs.m_tab->TabBar()->mapToGlobal(header));
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_descriptionPage});
    // A press elsewhere switches nothing.
    tabs.OnLButtonDown(tabs.m_descriptionPage->mapToGlobal(QPoint(50, 50)));
    EXPECT_EQ(tabs.m_curTab, 0);
}

TEST_F(OptionPagesTest, KeyboardChoiceOfATabShowsItsPage)
{
    QTabBar* bar = tabs.m_tab->TabBar();
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_securityPage});
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_advancedPage});
    EXPECT_EQ(tabs.m_curTab, 2);
}

TEST_F(OptionPagesTest, SecurityPageEnablingFollowsItsBoxes)
{
    ClickTab(1);
    QWidget* page = tabs.m_securityPage;
    auto* enable = Item<QCheckBox>(page, IDC_ENABLE_SECURITY);
    auto* owner = Item<QCheckBox>(page, IDC_ENABLE_OWNER_PASSWORD);
    auto* userEdit = Item<QLineEdit>(page, IDC_USER_PASSWORD);
    auto* ownerEdit = Item<QLineEdit>(page, IDC_OWNER_PASSWORD);
    const int enablingSet[] = {IDC_OWNER_PASSWORD,    IDC_ENABLE_OWNER_PASSWORD,
                               IDC_USER_PASSWORD,     IDC_ENABLE_USER_PASSWORD,
                               IDC_COPYING,           IDC_FORMS,
                               IDC_CHANGING,          IDC_PRINTING,
                               IDC_HIGH_ENCRYPTION,   IDC_LOW_ENCRYPTION,
                               IDC_AES128_ENCRYPTION, IDC_AES256_ENCRYPTION};

    // First shown: only 1005 usable; both password boxes ticked, 40-bit.
    EXPECT_TRUE(enable->isEnabled());
    EXPECT_FALSE(enable->isChecked());
    for (int id : enablingSet)
        EXPECT_FALSE(Item(page, id)->isEnabled()) << id;
    EXPECT_TRUE(owner->isChecked());
    EXPECT_TRUE(Item<QCheckBox>(page, IDC_ENABLE_USER_PASSWORD)->isChecked());
    EXPECT_TRUE(Item<QRadioButton>(page, IDC_LOW_ENCRYPTION)->isChecked());
    // A disabled box ignores clicks.
    QTest::mouseClick(owner, Qt::LeftButton);
    EXPECT_TRUE(owner->isChecked());

    QTest::mouseClick(enable, Qt::LeftButton);
    for (int id : enablingSet)
        EXPECT_TRUE(Item(page, id)->isEnabled()) << id;
    QTest::keyClicks(userEdit, "us\"er");
    QTest::keyClicks(ownerEdit, "owner");

    // Unticking greys everything again; the texts stay and are still read.
    QTest::mouseClick(enable, Qt::LeftButton);
    for (int id : enablingSet)
        EXPECT_FALSE(Item(page, id)->isEnabled()) << id;
    EXPECT_EQ(userEdit->text(), "us\"er");
    ConversionSettings settings = Collect();
    EXPECT_FALSE(settings.securityEnabled);
    EXPECT_EQ(settings.userPassword, "us\"er");
    EXPECT_EQ(settings.ownerPassword, "owner");

    // Owner box unticked: its edit greys at once and stays grey across 1005 off and on.
    QTest::mouseClick(enable, Qt::LeftButton);
    QTest::mouseClick(owner, Qt::LeftButton);
    EXPECT_FALSE(ownerEdit->isEnabled());
    EXPECT_TRUE(userEdit->isEnabled());
    QTest::mouseClick(enable, Qt::LeftButton);
    QTest::mouseClick(enable, Qt::LeftButton);
    EXPECT_FALSE(ownerEdit->isEnabled());
    EXPECT_TRUE(owner->isEnabled());
    EXPECT_TRUE(userEdit->isEnabled());
    QTest::mouseClick(owner, Qt::LeftButton);
    EXPECT_TRUE(ownerEdit->isEnabled());

    // Rights withheld and 128-bit.
    QTest::mouseClick(Item(page, IDC_PRINTING), Qt::LeftButton);
    QTest::mouseClick(Item(page, IDC_COPYING), Qt::LeftButton);
    QTest::mouseClick(Item(page, IDC_HIGH_ENCRYPTION), Qt::LeftButton);
    settings = Collect();
    EXPECT_TRUE(settings.securityEnabled);
    EXPECT_TRUE(settings.ownerPasswordEnabled);
    EXPECT_EQ(settings.withheld, (WithheldRights{.copying = true, .printing = true}));
    EXPECT_EQ(settings.encryption, EncryptionMethod::Rc4_128);
    EXPECT_FALSE(Item<QRadioButton>(page, IDC_LOW_ENCRYPTION)->isChecked());

    // The AES choices follow the RC4 ones, in order.
    EXPECT_EQ(Item<QRadioButton>(page, IDC_AES128_ENCRYPTION)->text(), "Strong(128-bit AES)");
    EXPECT_EQ(Item<QRadioButton>(page, IDC_AES256_ENCRYPTION)->text(), "Strongest(256-bit AES)");
    QTest::mouseClick(Item(page, IDC_AES256_ENCRYPTION), Qt::LeftButton);
    EXPECT_EQ(Collect().encryption, EncryptionMethod::Aes256);
    QTest::mouseClick(Item(page, IDC_AES128_ENCRYPTION), Qt::LeftButton);
    EXPECT_EQ(Collect().encryption, EncryptionMethod::Aes128);
    EXPECT_FALSE(Item<QRadioButton>(page, IDC_HIGH_ENCRYPTION)->isChecked());
}

TEST_F(OptionPagesTest, AdvancedChoicesReachThePdfStepFromAnotherThread)
{
    ClickTab(2);
    CAdvancedDlg* page = tabs.m_advancedPage;
    auto items = [](QComboBox* combo) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    };
    EXPECT_EQ(items(page->m_imagesCompression), QStringList({"Flate", "JPEG", "Automatic"}));
    EXPECT_EQ(items(page->m_jpegQuality), QStringList({"Minimum", "Low", "Medium", "High", "Maximum"}));
    EXPECT_EQ(items(page->m_pdfVersion),
              QStringList({"V1.3(Acrobat 4.xx)", "V1.4", "V1.5", "V1.6", "V1.7", "PDF/A-2b"}));
    EXPECT_EQ(items(page->m_documentCompression), QStringList({"Flate", "LZW"}));
    EXPECT_EQ(items(page->m_pageLayout), QStringList({"Continuous"}));
    EXPECT_EQ(items(page->m_pageMode), QStringList({"Normal"}));

    ConversionSettings read = ReadFromWorker(*page);
    EXPECT_EQ(read.jpegQuality, JpegQuality::Minimum);
    EXPECT_EQ(read.pdfVersion, PdfVersion::V1_3);
    EXPECT_EQ(page->m_taggedPdf->text(), "Tagged PDF (accessible, PDF/UA)");
    EXPECT_FALSE(page->m_taggedPdf->isChecked());
    EXPECT_FALSE(read.tagged);

    // The user picks with the keyboard: three down in JPEG Quality, two in PDF Version.
    page->m_jpegQuality->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(page->m_jpegQuality, Qt::Key_Down);
    page->m_pdfVersion->setFocus();
    QTest::keyClick(page->m_pdfVersion, Qt::Key_Down);
    QTest::keyClick(page->m_pdfVersion, Qt::Key_Down);
    page->m_documentCompression->setFocus();
    QTest::keyClick(page->m_documentCompression, Qt::Key_Down);
    page->m_taggedPdf->setFocus();
    QTest::keyClick(page->m_taggedPdf, Qt::Key_Space);

    read = ReadFromWorker(*page);
    EXPECT_TRUE(read.tagged);
    EXPECT_EQ(read.jpegQuality, JpegQuality::High);
    EXPECT_EQ(read.pdfVersion, PdfVersion::V1_5);
    EXPECT_EQ(read.documentCompression, DocumentCompression::Lzw);
    EXPECT_EQ(read.imageCompression, ImageCompression::Flate);
    EXPECT_TRUE(BuildPdfmarksText(read).contains("<</QFactor 0.25 /HSamples [2 1 1 2]"));
}

TEST_F(OptionPagesTest, LayoutModeAndEmfControlsWorkAndFeedNothing)
{
    ClickTab(2);
    CAdvancedDlg* page = tabs.m_advancedPage;
    QTest::mouseClick(page->m_alternateEmf, Qt::LeftButton);
    EXPECT_TRUE(page->m_alternateEmf->isChecked());
    page->m_pageLayout->setFocus();
    QTest::keyClick(page->m_pageLayout, Qt::Key_Down);
    EXPECT_EQ(page->m_pageLayout->currentText(), "Continuous");
    EXPECT_TRUE(page->m_pageMode->isEnabled());
    EXPECT_EQ(Collect(), ConversionSettings{});
}

TEST_F(OptionPagesTest, TextRecognitionIsOffAtFirstAndTakesTheTickedInstalledLanguages)
{
    ClickTab(2);
    CAdvancedDlg* page = tabs.m_advancedPage;
    auto* box = Item<QCheckBox>(page, IDC_RECOGNIZE_TEXT);
    auto* list = Item<QComboBox>(page, IDC_OCR_LANGUAGES);
    ASSERT_TRUE(box && list);
    EXPECT_EQ(box->text(), "Recognize text in pictures (OCR)");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(list->isEnabled()) << "the languages wait for the box";
    ConversionSettings read = ReadFromWorker(*page);
    EXPECT_FALSE(read.recognizeText);
    EXPECT_EQ(read.recognitionLanguages, "eng");
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_TRUE(ReadFromWorker(*page).recognizeText);

    // Languages of a machine that has three: English heads the list, ticked;
    // a click in the open list ticks another, and the last one stays.
    QCheckBox ownBox;
    QComboBox ownList;
    TextRecognitionChoice choice(&ownBox, &ownList, {"deu", "eng", "fra"});
    ASSERT_EQ(ownList.count(), 3);
    EXPECT_EQ(ownList.itemText(0), "English (eng)");
    EXPECT_EQ(ownList.itemText(1), "German (deu)");
    EXPECT_EQ(choice.Languages(), "eng");
    ownBox.show();
    ownList.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ownList));
    ownBox.setChecked(true);
    ownList.showPopup();
    QWidget* viewport = ownList.view()->viewport();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ownList.view()->window()));
    auto click = [&](int row) {
        const QPoint at = ownList.view()->visualRect(ownList.model()->index(row, 0)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    };
    click(1);
    click(2);
    EXPECT_EQ(choice.Languages(), "eng+deu+fra");
    EXPECT_TRUE(ownList.view()->isVisible()) << "the list stays open for the next one";
    click(0);
    click(1);
    click(2);
    EXPECT_EQ(choice.Languages(), "fra") << "one language stays ticked";
    ownList.hidePopup();
    ConversionSettings settings;
    choice.Read(settings);
    EXPECT_TRUE(settings.recognizeText);
    EXPECT_EQ(settings.recognitionLanguages, "fra");

    // Without Tesseract nothing can be chosen, and the box says why.
    QCheckBox noBox;
    QComboBox noList;
    TextRecognitionChoice none(&noBox, &noList, {});
    noBox.setChecked(true);
    EXPECT_FALSE(noBox.isEnabled());
    EXPECT_TRUE(noBox.toolTip().contains("not installed"));
    none.Read(settings);
    EXPECT_FALSE(settings.recognizeText);
}

TEST_F(OptionPagesTest, DescriptionTextsKeepTheirLineBreaks)
{
    QWidget* page = tabs.m_descriptionPage;
    QTest::keyClicks(Item(page, IDC_TITLE), "Report (draft)");
    QTest::keyClicks(Item(page, IDC_SUBJECT), "Sales");
    QTest::keyClicks(Item(page, IDC_AUTHOR), "Ana");
    auto* keywords = Item<QPlainTextEdit>(page, IDC_KEYWORDS);
    keywords->setFocus();
    QTest::keyClicks(keywords, "one");
    QTest::keyClick(keywords, Qt::Key_Return);
    QTest::keyClicks(keywords, "two");
    QTest::keyClick(keywords, Qt::Key_Enter);
    QTest::keyClicks(keywords, "three");

    const ConversionSettings settings = Collect();
    EXPECT_EQ(settings.title, "Report (draft)");
    EXPECT_EQ(settings.subject, "Sales");
    EXPECT_EQ(settings.author, "Ana");
    EXPECT_EQ(settings.keywords, "one\r\ntwo\r\nthree");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(OptionPagesTest, EnterAndEscapeInsideEveryPageLeaveItOpen)
{
    for (int index = 0; index < 3; ++index) {
        ClickTab(index);
        QWidget* page = tabs.Page(index);
        const auto controls = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* control : controls) {
            if (!control->isEnabled() || control->focusPolicy() == Qt::NoFocus)
                continue;
            control->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(control, key);
            ASSERT_TRUE(dialog.isVisible()) << "page " << index << " control " << GetDlgCtrlID(control);
            EXPECT_EQ(dialog.result(), 0);
            EXPECT_TRUE(page->isVisible());
            EXPECT_EQ(tabs.m_curTab, index);
        }
    }
    // Enter in the Keywords edit made new lines (three per visit); elsewhere it changed nothing.
    ClickTab(0);
    EXPECT_EQ(Item<QPlainTextEdit>(tabs.m_descriptionPage, IDC_KEYWORDS)->toPlainText(), "\n\n");
    EXPECT_EQ(Item<QLineEdit>(tabs.m_descriptionPage, IDC_TITLE)->text(), "");
    EXPECT_EQ(Collect(), [] {
        ConversionSettings expected;
        expected.keywords = "\r\n\r\n";
        return expected;
    }());
}

TEST_F(OptionPagesTest, DisabledPagesTakeNoInput)
{
    tabs.EnablePages(false);
    QWidget* title = Item(tabs.m_descriptionPage, IDC_TITLE);
    QTest::keyClicks(title, "x");
    EXPECT_EQ(qobject_cast<QLineEdit*>(title)->text(), "");
    EXPECT_FALSE(tabs.m_securityPage->isEnabled());
    EXPECT_FALSE(tabs.m_advancedPage->isEnabled());
    // The tabs still switch during a run.
    ClickTab(2);
    EXPECT_EQ(VisiblePages(), std::vector<QWidget*>{tabs.m_advancedPage});
    tabs.EnablePages(true);
    EXPECT_TRUE(title->isEnabled());
}
