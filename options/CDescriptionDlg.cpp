#include "options/CDescriptionDlg.h"

#include "app/DialogTemplates.h"

#include <QLineEdit>
#include <QPlainTextEdit>

CDescriptionDlg::CDescriptionDlg(QWidget* parent) : COptionPage(dialogtemplates::kDescriptionTemplate, parent)
{
    UpdateData(false);
}

void CDescriptionDlg::UpdateData(bool saveAndValidate)
{
    auto* title = DlgItem<QLineEdit>(this, IDC_TITLE);
    auto* subject = DlgItem<QLineEdit>(this, IDC_SUBJECT);
    auto* author = DlgItem<QLineEdit>(this, IDC_AUTHOR);
    auto* keywords = DlgItem<QPlainTextEdit>(this, IDC_KEYWORDS);
    if (saveAndValidate) {
        m_title = title->text();
        m_subject = subject->text();
        m_author = author->text();
        m_keywords = keywords->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    } else {
        title->setText(m_title);
        subject->setText(m_subject);
        author->setText(m_author);
        keywords->setPlainText(QString(m_keywords).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}

void CDescriptionDlg::GetSettings(ConversionSettings& settings) const
{
    settings.title = m_title;
    settings.subject = m_subject;
    settings.author = m_author;
    settings.keywords = m_keywords;
}
