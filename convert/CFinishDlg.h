#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QListWidget;

// The dialog shown after a run that made at least one PDF (template 136): it
// lists the PDFs by name and opens one with its default application, or
// shows the output folder with one of them selected. The conversion page
// keeps one for its whole life; the worker records the names in m_files.
class CFinishDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFinishDlg(QWidget* parent = nullptr);

    // Runs the dialog modally; the answer is IDCANCEL, the only way out.
    int DoModal();

    QString m_folder;                    // output folder of the run; ends in a separator once shown
    QStringList m_files;                 // names of the PDFs made (Report.pdf); emptied by Close
    QListWidget* m_resultList = nullptr; // list 1024

    void OnOpenFile();
    void OnOpenFolder();
    void OnCloseButton();

protected:
    bool OnInitDialog();
    // Escape and the title bar's close button arrive here, as IDCANCEL does.
    void reject() override;

private:
    // The selected entry's row, or -1.
    int SelectedRow() const;
};
