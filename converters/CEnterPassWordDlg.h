#pragma once

#include <QDialog>
#include <QString>

#include <functional>

// The "Password Required!" prompt (template 160): asks for the open password
// of an Office document that would not open. The caller sets m_strFileName,
// runs it, and reads m_strPassword when the answer is IDOK.
class CEnterPassWordDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CEnterPassWordDlg(QWidget* parent = nullptr);

    // Runs the dialog modally: IDOK, or IDCANCEL for Cancel, Escape and the
    // close box.
    int DoModal();

    QString m_strPassword; // the field's text as typed, filled by OK
    QString m_strFileName; // the bare file name the message names

    void OnBnClickedOk();

    // Tests answer the prompt through this hook instead of a user: it gets
    // the dialog ready to be shown and returns its answer. Empty: shown.
    using Responder = std::function<int(CEnterPassWordDlg& dialog)>;
    static Responder SetResponder(Responder responder);

protected:
    bool OnInitDialog();
};

// Shows the prompt for fileName on the thread of owner (the GUI thread) and
// waits; true on OK with the typed text in *password. Callable from a worker.
bool PromptForPassword(QWidget* owner, const QString& fileName, QString* password);
