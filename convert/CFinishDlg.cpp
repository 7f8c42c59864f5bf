#include "convert/CFinishDlg.h"

#include "app/DialogTemplates.h"
#include "controls/Artwork.h"
#include "platform/MessageBoxService.h"
#include "platform/ShellService.h"
#include "platform/widgets/AddString.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QListWidget>

CFinishDlg::CFinishDlg(QWidget* parent) : QDialog(parent)
{
    DialogBuilder::Build(dialogtemplates::kFinishTemplate, this);
    ShowTemplatePictures(this);
    m_resultList = DlgItem<QListWidget>(this, IDC_RESULT_LIST);
    connect(DlgItem<QAbstractButton>(this, IDC_OPEN_FOLDER), &QAbstractButton::clicked, this,
            &CFinishDlg::OnOpenFolder);
    connect(DlgItem<QAbstractButton>(this, IDCANCEL), &QAbstractButton::clicked, this,
            &CFinishDlg::OnCloseButton);
    connect(DlgItem<QAbstractButton>(this, IDC_OPEN_FILE), &QAbstractButton::clicked, this,
            &CFinishDlg::OnOpenFile);
}

int CFinishDlg::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    return exec();
}

bool CFinishDlg::OnInitDialog()
{
    // The window is made anew for every showing: it lists this showing's names only.
    m_resultList->clear();
    for (const QString& name : m_files)
        AddString(m_resultList, name);
    DlgItem<QLabel>(this, IDC_FINISH_MESSAGE)->setText(QStringLiteral("Conversion Completes!"));
    m_resultList->setCurrentRow(0);
    if (!m_folder.endsWith(QDir::separator()))
        m_folder += QDir::separator();
    return true;
}

int CFinishDlg::SelectedRow() const
{
    const QList<QListWidgetItem*> selected = m_resultList->selectedItems();
    return selected.isEmpty() ? -1 : m_resultList->row(selected.first());
}

void CFinishDlg::OnOpenFile()
{
    const int row = SelectedRow();
    if (row < 0) {
        MessageBox(this, QStringLiteral("Please choose one file !"), QStringLiteral("ERROR"), MB_ICONHAND);
        return;
    }
    ShellService::Instance().OpenFile(m_folder + m_resultList->item(row)->text());
}

void CFinishDlg::OnOpenFolder()
{
    const int row = SelectedRow();
    QListWidgetItem* entry = m_resultList->item(row < 0 ? 0 : row);
    // With no entry at all there is nothing to select: the folder alone is shown.
    const QString itemPath = entry ? m_folder + entry->text() : QString();
    ShellService::Instance().ShowItemInFolder(m_folder, itemPath);
}

void CFinishDlg::OnCloseButton()
{
    m_files.clear();
    done(IDCANCEL);
}

void CFinishDlg::reject()
{
    OnCloseButton();
}
