#include "FoliantSession.h"

#include "WidgetTestTools.h"

#include "OfficeDocuments.h"
#include "ProcessTree.h"
#include "TestPictures.h"
#include "TestTools.h"

#include "convert/CEnableEdit.h"
#include "converters/CEnterPassWordDlg.h"
#include "converters/Converters.h"
#include "options/CTabCtrlEx.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>

namespace {

// A whole run of office files takes minutes; this only ends a hung test.
constexpr int kRunLimitMs = 15 * 60 * 1000;

} // namespace

void FoliantSession::SetUpTestSuite()
{
    s_marker = testtools::UsePrivateFolders();
}

void FoliantSession::SetUp()
{
    ASSERT_TRUE(m_work.isValid());
    ASSERT_TRUE(QDir(m_work.path()).mkdir(QStringLiteral("in")));
    ASSERT_TRUE(QDir(m_work.path()).mkdir(QStringLiteral("out")));
    m_boxScope = std::make_unique<MessageBoxOverride>(&m_dispatcher, &SetMessageBoxService);
    m_window = std::make_unique<CFoliantDlg>(DefaultConverters());
    ASSERT_TRUE(m_window->OnInitDialog());
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_completion = std::make_unique<pagetest::CompletionWatcher>(*Page());
}

void FoliantSession::TearDown()
{
    if (Page()->IsConverting() || Page()->IsWorkerRunning()) {
        Page()->StopRun();
        pagetest::WaitUntil([this] { return !Page()->IsWorkerRunning(); }, kRunLimitMs);
    }
    m_completion.reset();
    m_window.reset();
    m_boxScope.reset();
    CEnterPassWordDlg::SetResponder({});
    EXPECT_EQ(processtree::Running(s_marker), QStringList{})
        << "no office host, office or Ghostscript is left running";
}

QAbstractButton* FoliantSession::Button(int id) const
{
    return DlgItem<QAbstractButton>(Page(), id);
}

QString FoliantSession::Status() const
{
    return Page()->m_status->text();
}

QString FoliantSession::Source(const QString& name)
{
    const QString path = QDir(InputFolder()).filePath(name);
    const QString extension = QFileInfo(name).suffix().toLower();
    const QImage picture = testpictures::Quadrants(240, 160);
    bool made = false;
    if (extension == u"gif") {
        made = testtools::WriteFile(path, testpictures::Gif({picture}));
    } else if (extension == u"jpg" || extension == u"jpeg") {
        made = picture.save(path, "JPEG");
    } else if (extension == u"bmp" || extension == u"png" || extension == u"webp") {
        made = picture.save(path, extension.toUpper().toLatin1().constData());
    } else if (extension == u"tif" || extension == u"tiff") {
        // Three pages: a scanned letter, say.
        made = testtools::WriteFile(path, testpictures::Tiff({picture, picture.mirrored(), picture}));
    } else {
        QString why;
        const QString documents = officedocuments::Folder(&why);
        EXPECT_FALSE(documents.isEmpty()) << why.toStdString();
        // The documents are sample.<type> and protected.<type>; the copy takes the asked name.
        const QString original = name.startsWith(u"protected") ? QStringLiteral("protected.") + extension
                                                               : QStringLiteral("sample.") + extension;
        QFile::remove(path);
        made = QFile::copy(QDir(documents).filePath(original), path);
    }
    EXPECT_TRUE(made) << name.toStdString();
    return path;
}

QString FoliantSession::PdfOf(const QString& sourceName) const
{
    return QDir(OutputFolder()).filePath(QFileInfo(sourceName).completeBaseName() + QStringLiteral(".pdf"));
}

void FoliantSession::Drop(const QStringList& paths)
{
    const int before = Page()->m_fileList->count();
    QSignalSpy noticed(Page()->m_fileList, &CListBoxEx::WM_FILES_DROPPED);
    ASSERT_TRUE(pagetest::DropFiles(*Page()->m_fileList, paths));
    // The list takes the files in a posted call, and then posts the page its
    // notice, which sets the folder and enables Convert: both are waited for
    // (the spy hears the notice after the page has).
    ASSERT_TRUE(pagetest::WaitUntil([&] { return Page()->m_fileList->count() == before + paths.size(); }));
    ASSERT_TRUE(pagetest::WaitUntil([&] { return noticed.count() == 1; })) << "the page took the drop";
}

void FoliantSession::AddThroughDialog(const QStringList& names)
{
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        seen = true;
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(field, nullptr);
        // The dialog takes the keyboard as the window the user works in.
        QApplication::setActiveWindow(dialog);
        // The folder first (Enter opens it), then the names, quoted, and Enter.
        TypeInto(field, InputFolder());
        QTest::keyClick(field, Qt::Key_Return);
        const bool opened =
            dialog->directory().path() == InputFolder() && testtools::WaitUntilListed(*dialog, names);
        if (!opened)
            dialog->reject();
        ASSERT_TRUE(opened) << "the file dialog opened " << qPrintable(InputFolder())
                            << " and listed its files";
        QStringList quoted;
        for (const QString& name : names)
            quoted << QLatin1Char('"') + name + QLatin1Char('"');
        TypeInto(field, quoted.join(QLatin1Char(' ')));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible()) << "Enter accepted the typed names";
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(10);
    const int before = Page()->m_fileList->count();
    QTest::mouseClick(Button(IDC_ADD_FILES), Qt::LeftButton);
    ASSERT_TRUE(seen) << "Add File(s) opened its file dialog";
    ASSERT_EQ(Page()->m_fileList->count(), before + names.size());
}

void FoliantSession::TypeInto(QWidget* edit, const QString& text)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QCoreApplication::sendEvent(edit, &commit);
    }
}

void FoliantSession::SetOutputFolder(const QString& folder)
{
    TypeInto(GetDlgItem(Page(), IDC_OUTPUT_FOLDER), folder);
    ASSERT_EQ(DlgItem<QLineEdit>(Page(), IDC_OUTPUT_FOLDER)->text(), folder);
}

void FoliantSession::ShowOptionPage(int index)
{
    QAbstractButton* advanced = Button(IDC_SHOW_ADVANCED);
    if (!advanced->isChecked())
        QTest::mouseClick(advanced, Qt::LeftButton);
    ASSERT_TRUE(advanced->isChecked());
    QTabBar* bar = Page()->m_tab->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    ASSERT_EQ(Page()->m_optionTabs.m_curTab, index);
    ASSERT_TRUE(Page()->m_optionTabs.Page(index)->isVisible());
}

void FoliantSession::ConvertAndWait()
{
    QTest::mouseClick(Button(IDC_CONVERT), Qt::LeftButton);
    EXPECT_TRUE(Page()->IsConverting() || Page()->IsWorkerRunning()) << "the run started";
    WaitForRunEnd();
}

void FoliantSession::WaitForRunEnd()
{
    ASSERT_TRUE(pagetest::WaitUntil(
        [this] {
            // The bar is cleared last: at once after a Stop, else once the
            // completion dialog (if any) has been closed.
            return !Page()->IsConverting() && !Page()->IsWorkerRunning() && !Page()->m_progress->m_bDrawn;
        },
        kRunLimitMs))
        << "the run ended";
}

void FoliantSession::WaitForCompletion(int shown)
{
    ASSERT_TRUE(pagetest::WaitUntil([&] { return m_completion->shown >= shown; }))
        << "the completion dialog appeared";
}
