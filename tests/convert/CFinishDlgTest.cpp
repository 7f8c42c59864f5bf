#include "convert/CFinishDlg.h"
#include "RecordingShell.h"
#include "ScriptedMessageBoxes.h"
#include "app/Resource.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "WidgetTestTools.h"

namespace {

class FinishDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dialog.m_folder = folder;
        dialog.m_files = {QStringLiteral("B.pdf"), QStringLiteral("A.pdf")};
    }

    // Runs the dialog modally and does what the user does while it is shown.
    // Returns the dialog's answer, or -1 when the steps left it open.
    int Run(const std::function<void()>& user)
    {
        bool closed = false;
        QTimer::singleShot(0, &dialog, [&] {
            user();
            if (dialog.isVisible()) {
                closed = false;
                dialog.done(-1);
            } else {
                closed = true;
            }
        });
        const int answer = dialog.DoModal();
        return closed ? answer : -1;
    }

    QAbstractButton* Button(int id) { return DlgItem<QAbstractButton>(&dialog, id); }

    const QString folder = QDir::toNativeSeparators(QStringLiteral("/srv/out"));
    const QString folderWithSeparator = folder + QDir::separator();
    ScriptedMessageBoxes boxes;
    MessageBoxOverride boxesInPlace{&boxes, SetMessageBoxService};
    RecordingShell shell;
    CFinishDlg dialog;
};

TEST_F(FinishDlgTest, ListsTheNamesSortedWithTheFirstSelected)
{
    Run([&] {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Foliant 3.0"));
        EXPECT_EQ(testtools::ListEntries(*dialog.m_resultList), (QStringList{"A.pdf", "B.pdf"}));
        ASSERT_EQ(dialog.m_resultList->selectedItems().size(), 1);
        EXPECT_EQ(dialog.m_resultList->selectedItems().first()->text(), QStringLiteral("A.pdf"));
        EXPECT_EQ(DlgItem<QLabel>(&dialog, IDC_FINISH_MESSAGE)->text(),
                  QStringLiteral("Conversion Completes!"));
        EXPECT_EQ(dialog.m_folder, folderWithSeparator);
        bool picture = false;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            picture =
                picture || (label->property("imageId").toInt() == IDB_FINISH && !label->pixmap().isNull());
        EXPECT_TRUE(picture) << "bitmap 139 is shown";
    });
}

TEST_F(FinishDlgTest, OpenFolderSelectsTheChosenOrTheFirstFile)
{
    const int answer = Run([&] {
        dialog.m_resultList->setCurrentRow(1);
        Button(IDC_OPEN_FOLDER)->click();
        dialog.m_resultList->clearSelection();
        Button(IDC_OPEN_FOLDER)->click();
    });
    EXPECT_EQ(answer, -1) << "the dialog stays open";
    EXPECT_EQ(shell.requests, (QList<RecordingShell::Request>{
                                  {"show item", folderWithSeparator, folderWithSeparator + "B.pdf"},
                                  {"show item", folderWithSeparator, folderWithSeparator + "A.pdf"},
                              }));
}

TEST_F(FinishDlgTest, EnterOpensTheFolderAndKeepsTheDialogOpen)
{
    const int answer = Run([&] { QTest::keyClick(dialog.m_resultList, Qt::Key_Return); });
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(shell.requests, (QList<RecordingShell::Request>{
                                  {"show item", folderWithSeparator, folderWithSeparator + "A.pdf"}}));
}

TEST_F(FinishDlgTest, OpenFileNeedsASelection)
{
    const int answer = Run([&] {
        dialog.m_resultList->clearSelection();
        Button(IDC_OPEN_FILE)->click();
        ASSERT_EQ(boxes.Boxes().size(), 1);
        const MessageBoxRequest box = boxes.Boxes().first().request;
        EXPECT_EQ(box.text, QStringLiteral("Please choose one file !"));
        EXPECT_EQ(box.caption, QStringLiteral("ERROR"));
        EXPECT_EQ(box.type, MB_ICONHAND);
        EXPECT_EQ(box.owner, &dialog);
        EXPECT_TRUE(shell.requests.isEmpty());

        dialog.m_resultList->setCurrentRow(1);
        Button(IDC_OPEN_FILE)->click();
    });
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(shell.requests,
              (QList<RecordingShell::Request>{{"open file", folderWithSeparator + "B.pdf", {}}}));
}

TEST_F(FinishDlgTest, EveryWayOfClosingEmptiesTheNames)
{
    const std::function<void()> ways[] = {
        [&] { Button(IDCANCEL)->click(); }, [&] { QTest::keyClick(dialog.m_resultList, Qt::Key_Escape); },
        [&] { dialog.close(); }, // the title bar's close button
    };
    for (const auto& close : ways) {
        dialog.m_files = {QStringLiteral("B.pdf"), QStringLiteral("A.pdf")};
        EXPECT_EQ(Run(close), IDCANCEL);
        EXPECT_TRUE(dialog.m_files.isEmpty());
    }

    // The next run's dialog lists only that run's files.
    dialog.m_files = {QStringLiteral("C.pdf")};
    Run([&] { EXPECT_EQ(testtools::ListEntries(*dialog.m_resultList), QStringList{"C.pdf"}); });
    EXPECT_TRUE(shell.requests.isEmpty());
}

} // namespace
