#include "PumpWhile.h"
#include "ScriptedMessageBoxes.h"
#include "platform/MessageBoxDispatcher.h"
#include "platform/widgets/QtMessageBoxService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>

namespace {

// Asks for a box on a thread of its own while the GUI thread keeps its event
// loop running; returns the answer the worker got.
int AskFromWorker(const QString& text, const QString& caption, unsigned type)
{
    std::atomic<int> answer{-1};
    testtools::RunOnWorkerWhilePumping([&] { answer = MessageBox(nullptr, text, caption, type); });
    return answer;
}

} // namespace

TEST(MessageBoxTest, WorkerBoxIsShownOnTheGuiThreadAndGetsTheScriptedAnswer)
{
    ScriptedMessageBoxes script;
    MessageBoxDispatcher dispatcher(script);
    MessageBoxOverride scope(&dispatcher, SetMessageBoxService);
    script.Answer(IDNO);
    script.Answer(IDYES);

    const QString text = QStringLiteral(" Are you sure you want to stop the conversion? ");
    EXPECT_EQ(AskFromWorker(text, "Foliant 3.0", MB_YESNO | MB_ICONINFORMATION), IDNO);
    EXPECT_EQ(AskFromWorker("Password is wrong.Do you want to  enter again?", "Warning", MB_YESNO), IDYES);
    // The script is used up: the next box is answered as dismissed.
    EXPECT_EQ(AskFromWorker("Convert File existing.", "Warning", MB_ICONINFORMATION), IDOK);

    const auto boxes = script.Boxes();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[0].request.text, text);
    EXPECT_EQ(boxes[0].request.caption, "Foliant 3.0");
    EXPECT_EQ(boxes[0].request.Buttons(), MB_YESNO);
    EXPECT_EQ(boxes[0].request.Icon(), MB_ICONINFORMATION);
    EXPECT_EQ(boxes[1].request.text, "Password is wrong.Do you want to  enter again?");
    for (const auto& box : boxes)
        EXPECT_EQ(box.thread, qApp->thread());
    EXPECT_EQ(script.Unanswered(), 1);
}

TEST(MessageBoxTest, AfxMessageBoxUsesTheApplicationNameAndTheFrameworkIcons)
{
    ScriptedMessageBoxes script;
    MessageBoxOverride scope(&script, SetMessageBoxService);
    QCoreApplication::setApplicationName("Foliant");
    AfxMessageBox("Working now,Hold for a moment!");
    AfxMessageBox("Stop?", MB_YESNO);
    AfxMessageBox("Info", MB_OK | MB_ICONINFORMATION);
    const auto boxes = script.Boxes();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[0].request.caption, "Foliant");
    EXPECT_EQ(boxes[0].request.type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[1].request.type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(boxes[2].request.type, MB_OK | MB_ICONINFORMATION);
}

TEST(MessageBoxTest, DismissAnswerFollowsTheButtons)
{
    EXPECT_EQ(DismissAnswer(MB_OK), IDOK);
    EXPECT_EQ(DismissAnswer(MB_OKCANCEL | MB_ICONHAND), IDCANCEL);
    EXPECT_EQ(DismissAnswer(MB_YESNO), IDNO);
    EXPECT_EQ(DismissAnswer(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(DismissAnswer(MB_ABORTRETRYIGNORE), IDABORT);
}

TEST(MessageBoxTest, QtBoxFromAWorkerShowsExactTextCaptionButtonsAndIcon)
{
    QtMessageBoxService boxes;
    MessageBoxDispatcher dispatcher(boxes);
    MessageBoxOverride scope(&dispatcher, SetMessageBoxService);

    // Text that looks like markup must show as typed.
    const QString text =
        QStringLiteral("<b>D:\\Reports\\report.xls</b> already exists. Do you want to replace it?");
    QString seenText, seenCaption;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    Qt::TextFormat seenFormat = Qt::AutoText;
    int seenButtons = 0;
    bool onGuiThread = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        onGuiThread = box->thread() == qApp->thread();
        seenText = box->text();
        seenCaption = box->windowTitle();
        seenIcon = box->icon();
        seenFormat = box->textFormat();
        seenButtons = box->buttons().size();
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    poll.start();
    const int answer = AskFromWorker(text, "Foliant 3.0", MB_YESNO | MB_ICONINFORMATION);
    EXPECT_EQ(answer, IDNO);
    EXPECT_TRUE(onGuiThread);
    EXPECT_EQ(seenText, text);
    EXPECT_EQ(seenFormat, Qt::PlainText);
    EXPECT_EQ(seenCaption, "Foliant 3.0");
    EXPECT_EQ(seenIcon, QMessageBox::Information);
    EXPECT_EQ(seenButtons, 2);
}

TEST(MessageBoxTest, EscapeOnAnOkCancelBoxAnswersCancel)
{
    QtMessageBoxService boxes;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box)
            QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(boxes.Show({"Please choose one file !", "ERROR", MB_OKCANCEL | MB_ICONHAND, nullptr}),
              IDCANCEL);
}
