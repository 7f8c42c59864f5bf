#pragma once

#include "PageTestTools.h"

#include "convert/CEnableEdit.h"
#include "convert/CListBoxEx.h"
#include "options/CAdvancedDlg.h"
#include "options/CDescriptionDlg.h"
#include "options/CSecurityDlg.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace pagetest {

// The scratch folder of these tests is a private one, so the spool file they
// write or delete is nobody else's.
class PrivateRuntimeFolder : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_folder.path()));
    }

private:
    QTemporaryDir m_folder;
};

// The real page with fake converters, shown, with scripted message boxes.
class PageFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previous = SetMessageBoxService(&boxes);
        page = std::make_unique<CConvertDlg>(fakes.Set());
        page->resize(page->size());
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    void TearDown() override
    {
        fakes.Release();
        page.reset();
        SetMessageBoxService(previous);
    }

    QAbstractButton* Button(int id) const { return DlgItem<QAbstractButton>(page.get(), id); }
    QLineEdit* FolderEdit() const { return DlgItem<QLineEdit>(page.get(), IDC_OUTPUT_FOLDER); }
    QString Status() const { return page->m_status->text(); }
    CBmpProgCtrl* Bar() const { return page->m_progress; }
    QStringList Entries() const { return testtools::ListEntries(*page->m_fileList); }
    QString Folder() const { return dir.path() + QLatin1Char('/'); }
    QString PathOf(const QString& name) const { return dir.filePath(name); }
    void Click(int id) { QTest::mouseClick(Button(id), Qt::LeftButton); }

    // Files in the list as a drop or the file dialog would put them there,
    // with the output folder set; each file exists.
    void List(const QStringList& names, const QString& folder = {})
    {
        for (const QString& name : names) {
            QFile file(PathOf(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("source");
            page->m_fileList->InsertString(-1, PathOf(name));
        }
        page->OnFilesDropped();
        if (!folder.isNull())
            FolderEdit()->setText(folder);
    }

    // Convert, then the run to its end, the completion dialog closed.
    void RunToEnd()
    {
        Click(IDC_CONVERT);
        ASSERT_TRUE(WaitUntil([&] { return !page->IsWorkerRunning() && !page->IsConverting(); }));
    }

    bool WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(PathOf(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QByteArray ReadFile(const QString& name) const
    {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    InspectingBoxes boxes;
    MessageBoxService* previous = nullptr;
    FakeConverters fakes;
    std::unique_ptr<CConvertDlg> page;
};

} // namespace pagetest
