#include "convert/CListBoxEx.h"
#include "ScriptedMessageBoxes.h"
#include "app/DialogTemplates.h"
#include "platform/widgets/DialogBuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "WidgetTestTools.h"

#include "TestTools.h"

namespace {

class ListBoxExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        list.m_extensions = {"doc", "xls", "docx", "htm",  "tml", "xml", "txt",
                             "rtf", "ppt", "jpg",  "jpeg", "bmp", "gif", "png"};
        list.m_hNotifyWnd = &page;
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Sub.folder")));
    }

    QString Path(const QString& name) const { return QDir::toNativeSeparators(folder.filePath(name)); }

    // Drags the files over the list and drops them, as a file manager does,
    // then lets the posted work run. Returns whether the drag was taken.
    bool Drop(const QStringList& names, CListBoxEx* target = nullptr)
    {
        QList<QUrl> urls;
        for (const QString& name : names) {
            const QString path = Path(name);
            if (!QFileInfo::exists(path))
                testtools::WriteFile(path, "x");
            urls << QUrl::fromLocalFile(path);
        }
        QMimeData mime;
        mime.setUrls(urls);
        return DropMime(mime, target);
    }

    bool DropMime(const QMimeData& mime, CListBoxEx* target = nullptr)
    {
        if (!SendDrop(mime, target))
            return false;
        for (int i = 0; i < 3; ++i)
            QCoreApplication::sendPostedEvents();
        return true;
    }

    // The drag and the drop alone; what they post is left waiting.
    bool SendDrop(const QMimeData& mime, CListBoxEx* target = nullptr)
    {
        QWidget* viewport = (target ? target : &list)->viewport();
        const QPoint point(10, 10);
        QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        EXPECT_TRUE(drop.isAccepted());
        return true;
    }

    QTemporaryDir folder;
    ScriptedMessageBoxes boxes;
    MessageBoxOverride boxesInPlace{&boxes, SetMessageBoxService};
    QObject page;
    CListBoxEx list;
    QSignalSpy notified{&list, &CListBoxEx::WM_FILES_DROPPED};
};

TEST_F(ListBoxExTest, DroppedFilesAreAppendedInDropOrderAfterTheEntries)
{
    list.AddString(Path("b.doc"));
    list.AddString(Path("a.doc"));
    ASSERT_TRUE(Drop({"z.doc", "c.xls", "m.ppt"}));

    EXPECT_EQ(testtools::ListEntries(list),
              (QStringList{Path("a.doc"), Path("b.doc"), Path("z.doc"), Path("c.xls"), Path("m.ppt")}));
    EXPECT_EQ(notified.count(), 1);
    EXPECT_TRUE(boxes.Boxes().isEmpty());
}

TEST_F(ListBoxExTest, NotificationIsPostedNotSent)
{
    // The files are taken once the drag is over; the page hears of it after that.
    QMimeData mime;
    testtools::WriteFile(Path("a.doc"), "x");
    mime.setUrls({QUrl::fromLocalFile(Path("a.doc"))});
    ASSERT_TRUE(SendDrop(mime));
    EXPECT_EQ(notified.count(), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(testtools::ListEntries(list), QStringList{Path("a.doc")});
    EXPECT_EQ(notified.count(), 0) << "posted by the drop, not sent from it";
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(notified.count(), 1);

    // Nobody to tell: nothing is posted, the file is still taken.
    list.m_hNotifyWnd = nullptr;
    ASSERT_TRUE(Drop({"b.doc"}));
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(notified.count(), 1);
}

TEST_F(ListBoxExTest, DuplicateInAnyLetterCaseIsRefusedWithAWarning)
{
    list.AddString(Path("Report.doc"));
    ASSERT_TRUE(Drop({"REPORT.DOC"}));

    EXPECT_EQ(testtools::ListEntries(list), QStringList{Path("Report.doc")});
    EXPECT_EQ(notified.count(), 0) << "only a duplicate was dropped";
    ASSERT_EQ(boxes.Boxes().size(), 1);
    const MessageBoxRequest box = boxes.Boxes().first().request;
    EXPECT_EQ(box.text, QStringLiteral("Convert File existing."));
    EXPECT_EQ(box.caption, QStringLiteral("Warning"));
    EXPECT_EQ(box.type, MB_ICONINFORMATION);
    EXPECT_EQ(box.owner, &list);

    // One warning per duplicate; the new file of the same drop is still taken.
    ASSERT_TRUE(Drop({"report.doc", "Other.doc", "Report.DOC"}));
    EXPECT_EQ(testtools::ListEntries(list), (QStringList{Path("Report.doc"), Path("Other.doc")}));
    EXPECT_EQ(boxes.Boxes().size(), 3);
    EXPECT_EQ(notified.count(), 1);
}

TEST_F(ListBoxExTest, FolderOrNameWithoutDotEndsTheDrop)
{
    ASSERT_TRUE(Drop({"Sub.folder", "a.doc", "b.doc"}));
    EXPECT_EQ(list.count(), 0) << "a folder first inserts nothing";
    EXPECT_EQ(notified.count(), 0);

    ASSERT_TRUE(Drop({"a.doc", "README", "b.doc"}));
    EXPECT_EQ(testtools::ListEntries(list), QStringList{Path("a.doc")}) << "what came before the name stays";
    EXPECT_EQ(notified.count(), 1);
    EXPECT_TRUE(boxes.Boxes().isEmpty());
}

TEST_F(ListBoxExTest, ExtensionIsCheckedInLowerCase)
{
    ASSERT_TRUE(Drop({"Photo.JPG", "setup.exe", "Notes.Txt", "archive.doc.zip", "a.docx"}));
    EXPECT_EQ(testtools::ListEntries(list),
              (QStringList{Path("Photo.JPG"), Path("Notes.Txt"), Path("a.docx")}));
    EXPECT_TRUE(boxes.Boxes().isEmpty()) << "unsupported files are passed over silently";
}

TEST_F(ListBoxExTest, BusyListRefusesTheDrop)
{
    list.AddString(Path("a.doc"));
    list.m_busy = 1;
    ASSERT_TRUE(Drop({"b.doc", "c.doc"}));

    EXPECT_EQ(testtools::ListEntries(list), QStringList{Path("a.doc")});
    EXPECT_EQ(notified.count(), 0);
    ASSERT_EQ(boxes.Boxes().size(), 1);
    EXPECT_EQ(boxes.Boxes().first().request.text, QStringLiteral("Working now,Hold for a moment!"));
    EXPECT_EQ(boxes.Boxes().first().request.Buttons(), MB_OK);
}

TEST_F(ListBoxExTest, LongPathsAreKeptWholeAndOtherDropsPassedOver)
{
    QString deep = QStringLiteral("d");
    for (int i = 0; i < 30; ++i)
        deep += QStringLiteral("/folder number %1").arg(i);
    ASSERT_TRUE(QDir(folder.path()).mkpath(deep));
    const QString name = deep + QStringLiteral("/Quarterly report.doc");
    ASSERT_GT(Path(name).size(), 520);
    ASSERT_TRUE(Drop({name}));
    EXPECT_EQ(testtools::ListEntries(list), QStringList{Path(name)});

    QMimeData text;
    text.setText(QStringLiteral("just words"));
    EXPECT_FALSE(DropMime(text)) << "only files can be dropped";
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.doc"))});
    ASSERT_TRUE(DropMime(web));
    EXPECT_EQ(list.count(), 1) << "an address is not a file";
}

TEST_F(ListBoxExTest, AddStringSortsIgnoringCaseAndInsertStringDoesNot)
{
    EXPECT_EQ(list.AddString(QStringLiteral("/t/b.doc")), 0);
    EXPECT_EQ(list.AddString(QStringLiteral("/t/C.doc")), 1);
    EXPECT_EQ(list.AddString(QStringLiteral("/t/a.doc")), 0);
    EXPECT_EQ(list.InsertString(1, QStringLiteral("/t/z.doc")), 1);
    EXPECT_EQ(list.InsertString(-1, QStringLiteral("/t/0.doc")), 4);
    EXPECT_EQ(testtools::ListEntries(list),
              (QStringList{"/t/a.doc", "/t/z.doc", "/t/b.doc", "/t/C.doc", "/t/0.doc"}));
}

TEST_F(ListBoxExTest, ListPlacedByThePageTemplateKeepsItsWays)
{
    // The page makes its list 1008 a CListBoxEx through the template builder.
    QWidget pageWindow;
    DialogBuilder::Build(dialogtemplates::kConvertTemplate, &pageWindow,
                         [](const DialogItem& item, QWidget* parent) {
                             return item.id == IDC_FILE_LIST ? new CListBoxEx(parent) : nullptr;
                         });
    auto* placed = DlgItem<CListBoxEx>(&pageWindow, IDC_FILE_LIST);
    ASSERT_NE(placed, nullptr);
    placed->m_extensions = list.m_extensions;
    placed->AddString(Path("b.doc"));
    placed->AddString(Path("A.doc"));
    ASSERT_TRUE(Drop({"c.doc"}, placed));
    EXPECT_EQ(testtools::ListEntries(*placed), (QStringList{Path("A.doc"), Path("b.doc"), Path("c.doc")}));
    EXPECT_EQ(placed->selectionMode(), QAbstractItemView::ExtendedSelection);
}

} // namespace
