#include "app/CFoliantDlg.h"

#include "app/CAboutDlg.h"
#include "app/DialogTemplates.h"
#include "app/ResourceStrings.h"
#include "app/Website.h"
#include "controls/Artwork.h"
#include "controls/CTransParentButton.h"
#include "convert/CConvertDlg.h"
#include "platform/MessageBoxService.h"
#include "platform/ShellService.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>

CFoliantDlg::CFoliantDlg(ConverterSet converters, QWidget* parent)
    : QDialog(parent), m_hIcon(LoadIconResource(IDR_MAINFRAME)),
      m_programFolder(QCoreApplication::applicationDirPath()), m_converters(std::move(converters))
{
    // A window of its own on the task bar, with a minimise box and no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    DialogBuilder::Build(dialogtemplates::kMainTemplate, this, [](const DialogItem& item, QWidget* owner) {
        const bool header =
            item.id == IDC_HELP_BUTTON || item.id == IDC_ABOUT_BUTTON || item.id == IDC_WEBSITE_BUTTON;
        return header ? new CTransParentButton(item.text.toString(), owner) : nullptr;
    });
    m_btnHelp = DlgItem<CTransParentButton>(this, IDC_HELP_BUTTON);
    m_btnAbout = DlgItem<CTransParentButton>(this, IDC_ABOUT_BUTTON);
    m_btnWebsite = DlgItem<CTransParentButton>(this, IDC_WEBSITE_BUTTON);
    connect(m_btnHelp, &QAbstractButton::clicked, this, &CFoliantDlg::OnHelpButton);
    connect(m_btnAbout, &QAbstractButton::clicked, this, &CFoliantDlg::OnAboutButton);
    connect(m_btnWebsite, &QAbstractButton::clicked, this, &CFoliantDlg::OnWebsiteButton);
}

// The page is a child of the host area and goes with the window.
CFoliantDlg::~CFoliantDlg() = default;

int CFoliantDlg::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CFoliantDlg::OnInitDialog()
{
    if (m_pConvertDlg)
        return true;
    m_hasAboutEntry = !LoadResourceString(IDS_ABOUTBOX).isEmpty();
    setWindowIcon(m_hIcon);
    m_headerBitmap = LoadBitmapResource(IDB_HEADER);

    m_pConvertDlg = new CConvertDlg(m_converters);
    m_pConvertDlg->m_hMainWnd = this;
    QWidget* host = GetDlgItem(this, IDC_HOST);
    m_pConvertDlg->setParent(host);
    m_pConvertDlg->setGeometry(host->rect().adjusted(8, 20, -8, -8));
    // The switch is clear: the page and this window take their collapsed heights.
    m_pConvertDlg->OnShowAdvanced();
    m_pConvertDlg->show();

    m_btnWebsite->ApplyHeaderSettings(LoadIconResource(IDI_WEBSITE));
    m_btnHelp->ApplyHeaderSettings(LoadIconResource(IDI_HELP));
    m_btnAbout->ApplyHeaderSettings(LoadIconResource(IDI_ABOUT));
    return true;
}

int CFoliantDlg::HeaderBottom() const
{
    return GetDlgItem(this, IDC_HEADER_LINE)->geometry().bottom() + 1;
}

void CFoliantDlg::paintEvent(QPaintEvent* event)
{
    if (!m_headerBitmap.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(QRect(0, 0, width(), HeaderBottom() - 1), m_headerBitmap, m_headerBitmap.rect());
    }
    QDialog::paintEvent(event);
}

void CFoliantDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->pos().y() >= HeaderBottom()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("Minimize"), this, [this] { OnSysCommand(SC_MINIMIZE); });
    menu.addAction(QStringLiteral("Close"), this, [this] { OnSysCommand(SC_CLOSE); });
    if (m_hasAboutEntry) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("About Foliant 3.0"), this, [this] { OnSysCommand(IDM_ABOUTBOX); });
    }
    menu.exec(event->globalPos());
}

void CFoliantDlg::OnSysCommand(int nID)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        // Even during a run.
        CAboutDlg(this).DoModal();
        return;
    }
    if (nID == SC_CLOSE) {
        OnClose();
        return;
    }
    if (nID == SC_MINIMIZE)
        showMinimized();
}

void CFoliantDlg::reject()
{
    OnClose();
}

void CFoliantDlg::OnClose()
{
    if (m_waitingForWorker)
        return;
    if (m_pConvertDlg && m_pConvertDlg->m_converting == 1) {
        // The run holds while the question is open, so no box of the run
        // comes up over it.
        if (m_pConvertDlg->AskToStop(this, kStopQuestion) != IDYES)
            return;
    }
    // The window goes only once the worker has ended, so it never outlives
    // the page it works on; the event loop runs on meanwhile.
    if (m_pConvertDlg && m_pConvertDlg->IsWorkerRunning()) {
        m_waitingForWorker = true;
        connect(
            m_pConvertDlg, &CConvertDlg::workerFinished, this,
            [this] {
                m_waitingForWorker = false;
                QDialog::reject();
            },
            Qt::SingleShotConnection);
        return;
    }
    QDialog::reject();
}

void CFoliantDlg::OnHelpButton()
{
    const QString path = m_programFolder + QLatin1Char('/') + kHelpFileName;
    // A missing help page shows nothing.
    if (!QFileInfo(path).isFile())
        return;
    ShellService::Instance().OpenFile(path);
}

void CFoliantDlg::OnAboutButton()
{
    if (m_pConvertDlg && m_pConvertDlg->m_converting == 1) {
        AfxMessageBox(kWorkingNow, MB_OK);
        return;
    }
    CAboutDlg(this).DoModal();
}

void CFoliantDlg::OnWebsiteButton()
{
    ShellService::Instance().OpenWebAddress(WebsiteAddress());
}
