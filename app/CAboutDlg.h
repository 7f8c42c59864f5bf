#pragma once

#include <QDialog>
#include <QFont>

class CEnableTextEdit;
class QLabel;

// The about box (template 100): the about bitmap over the top, the product
// title, the web site as a link and the copyright notice.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    // The link's colour.
    static inline const QColor kLinkColour{8, 68, 170};
    // The notice in edit 1028, with its own spelling and line break.
    static inline const QString kNotice = QStringLiteral(
        " Waring: This computer program is protected by copyright law\r\n and international treaties.");

    explicit CAboutDlg(QWidget* parent = nullptr);

    int DoModal();
    // The set-up alone, for a box shown without its own loop.
    bool OnInitDialog();

    CEnableTextEdit* m_noticeEdit = nullptr; // edit 1028
    QFont m_linkFont;                        // the link's font, underlined

    void OnWebsiteLink();

protected:
    // A click into the notice is swallowed, so it never takes the caret.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FitWebsiteLabel();

    QLabel* m_link = nullptr; // static 1029
};
