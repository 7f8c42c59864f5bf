#include "converters/CEnterPassWordDlg.h"

#include "app/Resource.h"
#include "platform/DialogCommandIds.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Runs the prompt modally and lets act play the user once it is on screen.
int RunPrompt(CEnterPassWordDlg& dialog, const std::function<void(CEnterPassWordDlg&)>& act)
{
    QTimer::singleShot(0, &dialog, [&]() {
        // Wait until the dialog is shown and has given its field the focus.
        if (!QTest::qWaitForWindowExposed(&dialog) && !dialog.isVisible())
            return;
        QApplication::processEvents();
        act(dialog);
    });
    return dialog.DoModal();
}

QLineEdit* Field(const CEnterPassWordDlg& dialog)
{
    return DlgItem<QLineEdit>(&dialog, IDC_PASSWORD);
}

QString LabelTexts(const CEnterPassWordDlg& dialog)
{
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts.join(u'|');
}

} // namespace

TEST(PasswordPrompt, ShowsTheFileNameAndAMaskedFocusedFieldAndGivesWhatWasTyped)
{
    CEnterPassWordDlg dialog;
    dialog.m_strFileName = QStringLiteral("report.xls");
    bool looked = false;
    const int answer = RunPrompt(dialog, [&](CEnterPassWordDlg& d) {
        looked = true;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Password Required!"));
        EXPECT_EQ(
            DlgItem<QLabel>(&d, IDC_PASSWORD_MESSAGE)->text(),
            QStringLiteral("The program has detected that File \"report.xls\"  is password protected. Please "
                           "enter the password for the conversion."));
        EXPECT_TRUE(LabelTexts(d).contains(QStringLiteral("Enter Password:")));
        EXPECT_EQ(DlgItem<QAbstractButton>(&d, IDOK)->text(), QStringLiteral("OK"));
        EXPECT_EQ(DlgItem<QAbstractButton>(&d, IDCANCEL)->text(), QStringLiteral("Cancel"));
        EXPECT_EQ(Field(d)->echoMode(), QLineEdit::Password) << "typed characters are masked";
        EXPECT_EQ(QApplication::focusWidget(), Field(d)) << "the field has the focus when the prompt opens";
        d.grab().save(QStringLiteral("/tmp/foliant-password-prompt.png"));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" pa\"ss "));
        QTest::mouseClick(DlgItem<QAbstractButton>(&d, IDOK), Qt::LeftButton);
    });
    ASSERT_TRUE(looked);
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(dialog.m_strPassword, QStringLiteral(" pa\"ss ")) << "taken exactly as typed";
}

TEST(PasswordPrompt, EnterInTheFieldIsOk)
{
    CEnterPassWordDlg dialog;
    dialog.m_strFileName = QStringLiteral("a.doc");
    const int answer = RunPrompt(dialog, [](CEnterPassWordDlg& d) {
        QTest::keyClicks(Field(d), QStringLiteral("secret"));
        QTest::keyClick(Field(d), Qt::Key_Return);
    });
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(dialog.m_strPassword, QStringLiteral("secret"));
}

TEST(PasswordPrompt, CancelEscapeAndTheCloseBoxGiveNoPassword)
{
    const std::function<void(CEnterPassWordDlg&)> ways[] = {
        [](CEnterPassWordDlg& d) {
            QTest::mouseClick(DlgItem<QAbstractButton>(&d, IDCANCEL), Qt::LeftButton);
        },
        [](CEnterPassWordDlg& d) { QTest::keyClick(Field(d), Qt::Key_Escape); },
        [](CEnterPassWordDlg& d) { d.close(); },
    };
    int way = 0;
    for (const auto& dismiss : ways) {
        SCOPED_TRACE(way++);
        CEnterPassWordDlg dialog;
        dialog.m_strFileName = QStringLiteral("a.doc");
        const int answer = RunPrompt(dialog, [&](CEnterPassWordDlg& d) {
            QTest::keyClicks(Field(d), QStringLiteral("typed"));
            dismiss(d);
        });
        EXPECT_EQ(answer, IDCANCEL);
        EXPECT_TRUE(dialog.m_strPassword.isEmpty());
    }
}

TEST(PasswordPrompt, AWorkerAsksAndTheGuiThreadShowsThePrompt)
{
    QThread* const gui = QThread::currentThread();
    std::atomic<QThread*> shownOn{nullptr};
    QString shownText;
    CEnterPassWordDlg::SetResponder([&](CEnterPassWordDlg& d) {
        shownOn = QThread::currentThread();
        shownText = DlgItem<QLabel>(&d, IDC_PASSWORD_MESSAGE)->text();
        Field(d)->setText(QStringLiteral("from the user"));
        d.OnBnClickedOk();
        return IDOK;
    });
    QWidget owner;
    QString password;
    std::atomic<bool> ok{false};
    // A file name is shown as it is, never read as markup.
    QThread* worker = QThread::create(
        [&]() { ok = PromptForPassword(&owner, QStringLiteral("<b>bold</b>.doc"), &password); });
    worker->start();
    while (!worker->wait(5))
        QCoreApplication::processEvents();
    delete worker;
    CEnterPassWordDlg::SetResponder({});
    EXPECT_TRUE(ok);
    EXPECT_EQ(password, QStringLiteral("from the user"));
    EXPECT_EQ(shownOn.load(), gui);
    EXPECT_TRUE(shownText.contains(QStringLiteral("\"<b>bold</b>.doc\"")));
}
