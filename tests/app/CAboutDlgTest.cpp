#include "app/CAboutDlg.h"
#include "RecordingShell.h"
#include "app/DialogTemplates.h"
#include "app/Website.h"
#include "controls/Artwork.h"
#include "controls/CEnableTextEdit.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QString LabelTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts.join(QLatin1Char('|'));
}

class AboutDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(about.OnInitDialog());
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    }

    QLabel* Link() { return DlgItem<QLabel>(&about, IDC_WEBSITE_LINK); }

    RecordingShell shell;
    CAboutDlg about;
};

TEST_F(AboutDlgTest, ShowsTheProductTheSiteAndTheNotice)
{
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Foliant 3.0"));
    const QString labels = LabelTexts(about);
    EXPECT_TRUE(labels.contains(QStringLiteral("Foliant 3.0|")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Website :")));
    // One address for the button and the link, set by the build.
    EXPECT_EQ(WebsiteAddress(), QStringLiteral(FOLIANT_WEBSITE));
    EXPECT_EQ(Link()->text(), WebsiteAddress());
    EXPECT_TRUE(QUrl(WebsiteAddress()).isValid());
    // The notice keeps its words; its line break shows as one.
    EXPECT_EQ(
        CAboutDlg::kNotice,
        QStringLiteral(
            " Waring: This computer program is protected by copyright law\r\n and international treaties."));
    EXPECT_EQ(
        about.m_noticeEdit->toPlainText(),
        QStringLiteral(
            " Waring: This computer program is protected by copyright law\n and international treaties."));
    EXPECT_EQ(about.m_noticeEdit->document()->blockCount(), 2);
}

TEST_F(AboutDlgTest, LinkIsUnderlinedBlueWithAHandAndOpensTheSite)
{
    QLabel* link = Link();
    EXPECT_TRUE(link->font().underline());
    EXPECT_TRUE(about.m_linkFont.underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(about.cursor().shape(), Qt::PointingHandCursor);
    // The underline is drawn solid in the link colour.
    const QImage image = link->grab().toImage();
    int linkPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            linkPixels += (image.pixel(x, y) & 0xFFFFFF) == (qRgb(8, 68, 170) & 0xFFFFFF);
    EXPECT_GT(linkPixels, 20);

    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
    ASSERT_EQ(shell.requests.size(), 1);
    EXPECT_EQ(shell.requests[0],
              (RecordingShell::Request{QStringLiteral("open address"), WebsiteAddress(), {}}));
    // A click elsewhere opens nothing.
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(4, about.height() - 4));
    EXPECT_EQ(shell.requests.size(), 1);
}

TEST_F(AboutDlgTest, NoticeNeverTakesTheCaretAndIgnoresTyping)
{
    CEnableTextEdit* notice = about.m_noticeEdit;
    const QString before = notice->toPlainText();
    QWidget* focusBefore = QApplication::focusWidget();
    QTest::mouseClick(notice->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    EXPECT_FALSE(notice->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), focusBefore);

    // Typed straight at it all the same: nothing changes.
    QTest::keyClicks(notice, QStringLiteral("typed"));
    QTest::keyClick(notice, Qt::Key_Backspace);
    QTest::keyClick(notice, Qt::Key_Delete);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(notice, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(notice, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(notice, Qt::Key_Return);
    EXPECT_EQ(notice->toPlainText(), before);
}

TEST_F(AboutDlgTest, BitmapIsStretchedDownToTheLineAndOkCloses)
{
    const QImage image = about.grab().toImage();
    const QWidget* line = GetDlgItem(&about, IDC_ABOUT_LINE);
    const int bottom = line->geometry().bottom() + 1;
    const QImage bitmap = LoadBitmapResource(IDB_ABOUT_HEADER).toImage();
    ASSERT_FALSE(bitmap.isNull());
    const QImage expected =
        bitmap.scaled(about.width(), bottom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int matching = 0, points = 0;
    for (int y = 2; y < bottom - 2; y += 7)
        for (int x = 2; x < about.width() - 2; x += 11) {
            ++points;
            const QRgb a = image.pixel(x, y), b = expected.pixel(x, y);
            matching += qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 &&
                        qAbs(qBlue(a) - qBlue(b)) < 24;
        }
    EXPECT_GT(matching, points * 9 / 10);
    // Below the line the dialog's own background shows.
    EXPECT_EQ(image.pixel(3, bottom + 3) & 0xFFFFFF,
              about.palette().color(QPalette::Window).rgb() & 0xFFFFFF);

    DlgItem<QAbstractButton>(&about, IDOK)->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
