#include "converters/CEnterPassWordDlg.h"

#include "app/DialogTemplates.h"
#include "platform/GuiThreadCall.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>

namespace {
QMutex g_responderMutex;
CEnterPassWordDlg::Responder g_responder;
} // namespace

CEnterPassWordDlg::CEnterPassWordDlg(QWidget* parent) : QDialog(parent)
{
    DialogBuilder::Build(dialogtemplates::kPasswordTemplate, this);
    connect(DlgItem<QAbstractButton>(this, IDOK), &QAbstractButton::clicked, this,
            &CEnterPassWordDlg::OnBnClickedOk);
    connect(DlgItem<QAbstractButton>(this, IDCANCEL), &QAbstractButton::clicked, this, &QDialog::reject);
}

CEnterPassWordDlg::Responder CEnterPassWordDlg::SetResponder(Responder responder)
{
    QMutexLocker lock(&g_responderMutex);
    std::swap(g_responder, responder);
    return responder;
}

int CEnterPassWordDlg::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    Responder responder;
    {
        QMutexLocker lock(&g_responderMutex);
        responder = g_responder;
    }
    if (responder)
        return responder(*this);
    // QDialog answers Accepted (1) and Rejected (0); the callers speak IDOK and IDCANCEL.
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CEnterPassWordDlg::OnInitDialog()
{
    // The message is plain text: a file name is never read as markup.
    auto* message = DlgItem<QLabel>(this, IDC_PASSWORD_MESSAGE);
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setText(QStringLiteral("The program has detected that File \"%1\"  is password protected. "
                                    "Please enter the password for the conversion.")
                         .arg(m_strFileName));
    DlgItem<QLineEdit>(this, IDC_PASSWORD)->setFocus();
    return true;
}

void CEnterPassWordDlg::OnBnClickedOk()
{
    m_strPassword = DlgItem<QLineEdit>(this, IDC_PASSWORD)->text();
    accept();
}

bool PromptForPassword(QWidget* owner, const QString& fileName, QString* password)
{
    int answer = IDCANCEL;
    QString typed;
    // A page that is gone gives no password.
    RunInThreadOf(owner, [&]() {
        CEnterPassWordDlg dialog(owner);
        dialog.m_strFileName = fileName;
        answer = dialog.DoModal();
        typed = dialog.m_strPassword;
    });
    if (answer != IDOK)
        return false;
    if (password)
        *password = typed;
    return true;
}
