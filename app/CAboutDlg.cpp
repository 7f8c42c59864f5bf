#include "app/CAboutDlg.h"

#include "app/DialogTemplates.h"
#include "app/Website.h"
#include "controls/Artwork.h"
#include "controls/CEnableTextEdit.h"
#include "platform/ShellService.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    DialogBuilder::Build(dialogtemplates::kAboutTemplate, this, [](const DialogItem& item, QWidget* owner) {
        return item.id == IDC_NOTICE ? new CEnableTextEdit(owner) : nullptr;
    });
    m_noticeEdit = DlgItem<CEnableTextEdit>(this, IDC_NOTICE);
    m_link = DlgItem<QLabel>(this, IDC_WEBSITE_LINK);
    m_link->setText(WebsiteAddress());
    // The notice is only read: it takes no focus by Tab or click.
    m_noticeEdit->setFocusPolicy(Qt::NoFocus);
    m_noticeEdit->viewport()->installEventFilter(this);
    m_noticeEdit->installEventFilter(this);
    m_link->installEventFilter(this);
    connect(DlgItem<QAbstractButton>(this, IDOK), &QAbstractButton::clicked, this, &QDialog::accept);
}

int CAboutDlg::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CAboutDlg::OnInitDialog()
{
    // The edit breaks lines at a line feed alone.
    m_noticeEdit->setPlainText(QString(kNotice).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_linkFont = m_link->font();
    m_linkFont.setUnderline(true);
    m_link->setFont(m_linkFont);
    QPalette colours = m_link->palette();
    colours.setColor(QPalette::WindowText, kLinkColour);
    m_link->setPalette(colours);
    m_link->setCursor(Qt::PointingHandCursor);
    FitWebsiteLabel();
    return true;
}

void CAboutDlg::FitWebsiteLabel()
{
    // "Website :" is written on one line; where the desktop's font runs wider
    // than the template's, the label grows into the gap before the link.
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->text() != QStringLiteral("Website :"))
            continue;
        label->setWordWrap(false);
        const int room = m_link->x() - label->x() - 2;
        label->resize(std::min(std::max(label->width(), label->sizeHint().width()), room), label->height());
    }
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event)
{
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_noticeEdit || watched == m_noticeEdit->viewport())
            return true;
        if (watched == m_link) {
            OnWebsiteLink();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CAboutDlg::OnWebsiteLink()
{
    // The desktop chooses the browser, so there is no browser window to own
    // the request: the address opens without an owner.
    ShellService::Instance().OpenWebAddress(WebsiteAddress());
}

void CAboutDlg::paintEvent(QPaintEvent* event)
{
    // Loaded for each paint, stretched over the width down to the line.
    const QPixmap bitmap = LoadBitmapResource(IDB_ABOUT_HEADER);
    if (!bitmap.isNull()) {
        const QWidget* line = GetDlgItem(this, IDC_ABOUT_LINE);
        const int bottom = line->geometry().bottom() + 1;
        QPainter(this).drawPixmap(QRect(0, 0, width(), bottom), bitmap, bitmap.rect());
    }
    QDialog::paintEvent(event);
}
