#include "OfficeDocuments.h"
#include "ProcessTree.h"
#include "ScriptedMessageBoxes.h"
#include "TestTools.h"

#include "app/CFoliantDlg.h"
#include "app/DialogTemplates.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "platform/widgets/DialogBuilder.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The real program's window with the real converters: closing it while the
// office host renders a document.
TEST(CloseDuringRunTest, YesStopsTheRunAndLeavesNoProgramOfItRunning)
{
    // The scratch folder's name marks every program the run starts.
    const QString runtimePath = testtools::UsePrivateFolders();
    static QTemporaryDir output;
    ASSERT_TRUE(output.isValid());
    QString why;
    const QString documents = officedocuments::Folder(&why);
    ASSERT_FALSE(documents.isEmpty()) << why.toStdString();

    ScriptedMessageBoxes boxes;
    MessageBoxService* previous = SetMessageBoxService(&boxes);
    {
        CFoliantDlg dialog(DefaultConverters());
        ASSERT_TRUE(dialog.OnInitDialog());
        dialog.show();
        CConvertDlg* page = dialog.m_pConvertDlg;
        page->m_fileList->AddString(QDir(documents).filePath(QStringLiteral("sample.doc")));
        DlgItem<QLineEdit>(page, IDC_OUTPUT_FOLDER)->setText(output.path());
        page->OnConvert();
        ASSERT_EQ(page->m_converting, 1);

        // Wait until the office host of the file runs.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return processtree::Running(runtimePath).join(u' ').contains(u"WINWORD.EXE"); }, 120000));
        boxes.Answer(IDYES);
        dialog.close();
        ASSERT_EQ(boxes.Boxes().size(), 1);
        EXPECT_EQ(boxes.Boxes()[0].request.text, CFoliantDlg::kStopQuestion);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 120000));
        EXPECT_FALSE(page->IsWorkerRunning());
        EXPECT_EQ(processtree::Running(runtimePath), QStringList{})
            << "no office host, office or Ghostscript of the run is left";
        EXPECT_FALSE(QFile::exists(QDir(output.path()).filePath(QStringLiteral("sample.pdf"))));
    }
    SetMessageBoxService(previous);
}

} // namespace
