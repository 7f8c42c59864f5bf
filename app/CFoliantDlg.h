#pragma once

#include "converters/Converters.h"

#include <QDialog>
#include <QIcon>
#include <QPixmap>

class CConvertDlg;
class CTransParentButton;

// The main window (template 102): a header strip with the header bitmap and
// the Website, Help and About buttons, above the host area that holds the
// conversion page. It has a fixed size; only the page's advanced-options
// switch changes its height.
class CFoliantDlg : public QDialog
{
    Q_OBJECT

public:
    // The window's system commands, as the header strip's menu sends them.
    static constexpr int SC_MINIMIZE = 0xF020;
    static constexpr int SC_CLOSE = 0xF060;

    static inline const QString kStopQuestion =
        QStringLiteral(" Are you sure you want to stop the conversion? ");
    static inline const QString kWorkingNow = QStringLiteral("Working now, hold for a moment!");
    static inline const QString kHelpFileName = QStringLiteral("Foliant 3.0 - Help.html");

    // converters go to the conversion page, which runs them.
    explicit CFoliantDlg(ConverterSet converters, QWidget* parent = nullptr);
    ~CFoliantDlg() override;

    // Sets the window up (page, icons, header buttons) and runs it until it closes.
    int DoModal();
    // The set-up alone, for a window shown without its own loop.
    bool OnInitDialog();

    void OnSysCommand(int nID);
    void OnHelpButton();
    void OnAboutButton();
    void OnWebsiteButton();

    QIcon m_hIcon;                              // icon 128
    QPixmap m_headerBitmap;                     // bitmap 2
    CTransParentButton* m_btnHelp = nullptr;    // 1022
    CTransParentButton* m_btnAbout = nullptr;   // 1023
    CConvertDlg* m_pConvertDlg = nullptr;       // the page, a child of host 1001
    CTransParentButton* m_btnWebsite = nullptr; // 1025

    // The folder the help page is looked for in: the program's own.
    QString m_programFolder;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The header strip's menu stands in for the window's system menu.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Every way of closing (close box, Alt+F4, the window manager, Escape)
    // arrives here.
    void reject() override;

private:
    void OnClose();
    // The header strip: everything above the bottom of line 1000.
    int HeaderBottom() const;

    const ConverterSet m_converters;
    bool m_hasAboutEntry = false;
    bool m_waitingForWorker = false;
};
