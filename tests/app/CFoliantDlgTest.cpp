#include "app/CFoliantDlg.h"
#include "RecordingShell.h"
#include "ScriptedMessageBoxes.h"
#include "app/CAboutDlg.h"
#include "app/DialogTemplates.h"
#include "app/Website.h"
#include "controls/Artwork.h"
#include "controls/CTransParentButton.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "converters/ConversionPage.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <functional>
#include <sys/types.h>

namespace {

// Every file kind is a long-running program the user may stop: the fake
// starts a real child process, hands the page a way to end it, and waits for
// it, as the office converters do with their host.
struct LongRun
{
    std::atomic<qint64> pid{0};
    std::atomic<int> started{0};

    void operator()(ConversionPage& page, const QString&)
    {
        QProcess child;
        child.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        if (!child.waitForStarted())
            return;
        const qint64 id = child.processId();
        pid = id;
        page.SetCurrentProgramEnder([id] { ::kill(static_cast<pid_t>(id), SIGKILL); });
        ++started;
        child.waitForFinished(-1);
        page.SetCurrentProgramEnder({});
    }
};

bool ProcessExists(qint64 pid)
{
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

// Runs check on the modal window that opens next, then closes it.
void OnNextModal(std::function<void(QWidget*)> check)
{
    QTimer::singleShot(0, [check] {
        QWidget* modal = QApplication::activeModalWidget();
        check(modal);
        if (modal)
            modal->close();
    });
}

class FoliantDlgTest : public ::testing::Test
{
protected:
    FoliantDlgTest() : dialog(Converters()) {}

    ConverterSet Converters()
    {
        ConverterSet set;
        set.word = std::ref(longRun);
        set.excel = std::ref(longRun);
        set.powerPoint = std::ref(longRun);
        set.picture = [](ConversionPage&, const QString&) { return false; };
        return set;
    }

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        previousBoxes = SetMessageBoxService(&boxes);
        ASSERT_TRUE(dialog.OnInitDialog());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    void TearDown() override
    {
        if (Page()->IsConverting() || Page()->IsWorkerRunning()) {
            Page()->StopRun();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !Page()->IsWorkerRunning(); }, 60000));
        }
        SetMessageBoxService(previousBoxes);
    }

    CConvertDlg* Page() { return dialog.m_pConvertDlg; }
    QWidget* Host() { return GetDlgItem(&dialog, IDC_HOST); }
    DialogUnits Units() { return DialogUnits(dialog.font(), &dialog); }

    void StartRun()
    {
        const QString source = folder.filePath(QStringLiteral("Report.doc"));
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        Page()->m_fileList->AddString(source);
        DlgItem<QLineEdit>(Page(), IDC_OUTPUT_FOLDER)->setText(folder.path());
        Page()->OnConvert();
        ASSERT_EQ(Page()->m_converting, 1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return longRun.started.load() == 1; }, 30000));
    }

    QList<ScriptedMessageBoxes::Box> Boxes() const { return boxes.Boxes(); }

    QTemporaryDir folder;
    ScriptedMessageBoxes boxes;
    MessageBoxService* previousBoxes = nullptr;
    LongRun longRun;
    RecordingShell shell;
    CFoliantDlg dialog;
};

TEST_F(FoliantDlgTest, OpensCollapsedWithThePageInsetInTheHostArea)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Foliant 3.0"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());

    const DialogUnits units = Units();
    QWidget* host = Host();
    EXPECT_EQ(host->geometry(), units.Map(0, 43, 425, 420));
    ASSERT_EQ(Page()->parentWidget(), host);
    EXPECT_TRUE(Page()->isVisible());
    EXPECT_EQ(Page()->pos(), QPoint(8, 20));
    EXPECT_EQ(Page()->width(), host->width() - 16);

    // Collapsed: the page ends at its separator line, the window as much
    // shorter than its template as the page is.
    const int fullPage = host->height() - 28;
    const int separatorTop = GetDlgItem(Page(), IDC_SEPARATOR)->geometry().top();
    EXPECT_EQ(Page()->height(), separatorTop);
    EXPECT_EQ(dialog.size(), QSize(units.X(425), units.Y(463) - (fullPage - separatorTop)));
    EXPECT_LE(host->y() + Page()->geometry().bottom(), dialog.height());
}

TEST_F(FoliantDlgTest, DisplayAdvancedOptionsGivesTheFullSizeAndStaysFixed)
{
    const DialogUnits units = Units();
    auto* show = DlgItem<QAbstractButton>(Page(), IDC_SHOW_ADVANCED);
    ASSERT_TRUE(show);
    show->click();
    EXPECT_EQ(dialog.size(), QSize(units.X(425), units.Y(463)));
    EXPECT_EQ(Page()->size(), Host()->size() - QSize(16, 28));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    show->click();
    EXPECT_LT(dialog.height(), units.Y(463));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(FoliantDlgTest, HeaderIsBitmapTwoWithTheThreeIconButtons)
{
    const QImage image = dialog.grab().toImage();
    const int bottom = GetDlgItem(&dialog, IDC_HEADER_LINE)->geometry().bottom() + 1;
    const QImage expected =
        LoadBitmapResource(IDB_HEADER).toImage().scaled(dialog.width(), bottom - 1, Qt::IgnoreAspectRatio);
    // Left of the buttons and right of them the header shows the stretched bitmap.
    int matching = 0, points = 0;
    for (int y = 1; y < bottom - 2; y += 5)
        for (int x : {2, 40, 90, 150, dialog.width() - 30, dialog.width() - 3}) {
            ++points;
            const QRgb a = image.pixel(x, y), b = expected.pixel(x, y);
            matching += qAbs(qRed(a) - qRed(b)) < 24 && qAbs(qGreen(a) - qGreen(b)) < 24 &&
                        qAbs(qBlue(a) - qBlue(b)) < 24;
        }
    EXPECT_GT(matching, points * 9 / 10);

    const DialogUnits units = Units();
    const struct
    {
        CTransParentButton* button;
        int id;
        const char* caption;
        int x;
    } buttons[] = {{dialog.m_btnWebsite, IDC_WEBSITE_BUTTON, "Website", 189},
                   {dialog.m_btnHelp, IDC_HELP_BUTTON, "Help", 248},
                   {dialog.m_btnAbout, IDC_ABOUT_BUTTON, "About", 307}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.caption);
        ASSERT_TRUE(b.button);
        EXPECT_EQ(GetDlgItem(&dialog, b.id), b.button);
        EXPECT_EQ(b.button->text(), QLatin1String(b.caption));
        EXPECT_EQ(b.button->geometry(), units.Map(b.x, 6, 40, 34));
        EXPECT_TRUE(b.button->HasIcon());
        EXPECT_EQ(b.button->Layout(), 1);
        EXPECT_EQ(b.button->Spacing(), 10);
        // The button shows the header behind it.
        EXPECT_TRUE(b.button->HasBackgroundCopy());
        const QRgb corner = image.pixel(b.button->geometry().topLeft() + QPoint(1, 1));
        const QRgb behind = expected.pixel(b.button->geometry().topLeft() + QPoint(1, 1));
        EXPECT_LT(qAbs(qBlue(corner) - qBlue(behind)), 24);
    }
}

TEST_F(FoliantDlgTest, ClosingWhileIdleAsksNothing)
{
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(FoliantDlgTest, ClosingDuringARunAsksAndYesEndsTheRunAndItsProgram)
{
    StartRun();
    const qint64 child = longRun.pid;
    ASSERT_TRUE(ProcessExists(child));

    boxes.Answer(IDNO);
    dialog.close();
    ASSERT_EQ(Boxes().size(), 1);
    const MessageBoxRequest asked = Boxes()[0].request; // a copy: Boxes() is a temporary
    EXPECT_EQ(asked.text, QStringLiteral(" Are you sure you want to stop the conversion? "));
    EXPECT_EQ(asked.caption, QStringLiteral("Foliant 3.0"));
    EXPECT_EQ(asked.type, MB_YESNO | MB_ICONINFORMATION);
    EXPECT_EQ(asked.owner, &dialog);
    // No: everything goes on.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Page()->m_converting, 1);
    EXPECT_TRUE(ProcessExists(child));

    // Escape is a way of closing too, and asks the same.
    boxes.Answer(IDNO);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(Boxes().size(), 2);
    EXPECT_TRUE(dialog.isVisible());

    boxes.Answer(IDYES);
    dialog.close();
    EXPECT_EQ(Boxes().size(), 3);
    // The window waits for the worker, then goes.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 30000));
    EXPECT_FALSE(Page()->IsWorkerRunning());
    EXPECT_FALSE(ProcessExists(child));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// While the close question is open the run holds, so no question of the run
// comes up over it and nothing more is converted before the answer.
TEST_F(FoliantDlgTest, TheRunHoldsWhileTheCloseQuestionIsOpen)
{
    std::atomic<int> calls{0};
    ConverterSet set = Converters();
    set.picture = [&calls](ConversionPage& page, const QString&) {
        ++calls;
        page.Sleep(200);
        return true;
    };
    CFoliantDlg window(set);
    ASSERT_TRUE(window.OnInitDialog());
    window.show();
    CConvertDlg* page = window.m_pConvertDlg;
    for (const char* name : {"a.png", "b.png", "c.png", "d.png"})
        page->m_fileList->AddString(folder.filePath(QLatin1String(name)));
    DlgItem<QLineEdit>(page, IDC_OUTPUT_FOLDER)->setText(folder.path());

    struct HoldingBoxes : ScriptedMessageBoxes
    {
        std::function<void()> whileShown;
        int Show(const MessageBoxRequest& request) override
        {
            if (whileShown)
                whileShown();
            return ScriptedMessageBoxes::Show(request);
        }
    } holding;
    MessageBoxOverride inPlace(&holding, SetMessageBoxService);
    int atQuestion = -1, afterAWhile = -1;
    holding.whileShown = [&] {
        atQuestion = calls;
        // The event loop runs, as under a real box, until the run holds.
        EXPECT_TRUE(QTest::qWaitFor([&] { return page->IsWorkerHeld(); }, 30000));
        afterAWhile = calls;
    };
    holding.Answer(IDYES);

    page->OnConvert();
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.load() >= 1; }, 30000));
    window.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 30000));
    ASSERT_EQ(holding.Boxes().size(), 1);
    EXPECT_GE(atQuestion, 1);
    // At most the file under way when the question came finishes meanwhile.
    EXPECT_LE(afterAWhile, atQuestion + 1);
    EXPECT_EQ(calls.load(), afterAWhile); // Yes: nothing more after the answer
    EXPECT_FALSE(page->IsWorkerRunning());
}

TEST_F(FoliantDlgTest, AboutDuringARunSaysWorkingButTheMenuEntryOpensTheBox)
{
    // Idle: the button opens the about box.
    bool opened = false;
    OnNextModal([&](QWidget* modal) { opened = qobject_cast<CAboutDlg*>(modal) != nullptr; });
    dialog.m_btnAbout->click();
    EXPECT_TRUE(opened);

    StartRun();
    dialog.m_btnAbout->click();
    ASSERT_EQ(Boxes().size(), 1);
    EXPECT_EQ(Boxes()[0].request.text, QStringLiteral("Working now, hold for a moment!"));
    EXPECT_EQ(Boxes()[0].request.Buttons(), MB_OK);

    opened = false;
    OnNextModal([&](QWidget* modal) { opened = qobject_cast<CAboutDlg*>(modal) != nullptr; });
    dialog.OnSysCommand(IDM_ABOUTBOX);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Page()->m_converting, 1);
}

TEST_F(FoliantDlgTest, HeaderMenuHoldsTheAboutEntryAfterASeparator)
{
    QStringList entries;
    bool aboutOpened = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QAction* about = menu->actions().last();
        OnNextModal([&](QWidget* modal) { aboutOpened = qobject_cast<CAboutDlg*>(modal) != nullptr; });
        menu->close();
        about->trigger();
    });
    const QPoint inHeader(20, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inHeader, dialog.mapToGlobal(inHeader));
    QCoreApplication::sendEvent(&dialog, &event);
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries.mid(entries.size() - 2),
              (QStringList{QStringLiteral("-"), QStringLiteral("About Foliant 3.0")}));
    EXPECT_TRUE(aboutOpened);

    // Below the header strip there is no such menu.
    bool popped = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popped = true;
            popup->close();
        }
    });
    const QPoint inPage(20, dialog.height() - 20);
    QContextMenuEvent below(QContextMenuEvent::Mouse, inPage, dialog.mapToGlobal(inPage));
    QCoreApplication::sendEvent(&dialog, &below);
    QCoreApplication::processEvents();
    EXPECT_FALSE(popped);
}

TEST_F(FoliantDlgTest, HelpOpensThePageBesideTheProgramAndWebsiteTheSite)
{
    dialog.m_programFolder = folder.path();
    dialog.m_btnHelp->click();
    EXPECT_TRUE(shell.requests.isEmpty()) << "a missing help page shows nothing";

    const QString help = folder.filePath(CFoliantDlg::kHelpFileName);
    QFile file(help);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    dialog.m_btnHelp->click();
    dialog.m_btnWebsite->click();
    ASSERT_EQ(shell.requests.size(), 2);
    EXPECT_EQ(shell.requests[0], (RecordingShell::Request{QStringLiteral("open file"), help, {}}));
    EXPECT_EQ(shell.requests[1],
              (RecordingShell::Request{QStringLiteral("open address"), WebsiteAddress(), {}}));
    EXPECT_TRUE(help.endsWith(QStringLiteral("/Foliant 3.0 - Help.html")));
}

} // namespace
