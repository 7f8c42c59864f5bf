#include "options/OptionTabs.h"

#include "options/CAdvancedDlg.h"
#include "options/CDescriptionDlg.h"
#include "options/CSecurityDlg.h"
#include "options/CTabCtrlEx.h"

#include <QApplication>
#include <QMouseEvent>

OptionTabs::OptionTabs(QObject* parent) : QObject(parent) {}

void OptionTabs::SetUp(CTabCtrlEx* tab, QWidget* groupBox)
{
    m_tab = tab;
    tab->setParent(groupBox);
    tab->setGeometry(groupBox->rect().adjusted(10, 30, -10, -10));
    tab->show();

    tab->InsertItem(0, QStringLiteral("Description"));
    tab->InsertItem(1, QStringLiteral("Security"));
    tab->InsertItem(2, QStringLiteral("Advanced"));

    m_descriptionPage = new CDescriptionDlg(tab);
    m_descriptionPage->setGeometry(tab->PageRect());
    m_descriptionPage->show();
    // Hidden, and not placed until first shown.
    m_securityPage = new CSecurityDlg(tab);
    m_advancedPage = new CAdvancedDlg(tab);

    // A tab chosen with the keyboard shows its page too; after a press the
    // page is already shown and this changes nothing.
    connect(tab, &CTabCtrlEx::SelChange, this, &OptionTabs::ShowPage);
}

QWidget* OptionTabs::Page(int index) const
{
    switch (index) {
    case 0:
        return m_descriptionPage;
    case 1:
        return m_securityPage;
    case 2:
        return m_advancedPage;
    default:
        return nullptr;
    }
}

void OptionTabs::OnLButtonDown(const QPoint& globalPos)
{
    if (!m_tab)
        return;
    ShowPage(m_tab->HitTest(m_tab->mapFromGlobal(globalPos)));
}

void OptionTabs::ShowPage(int index)
{
    QWidget* page = Page(index);
    if (!page || index == m_curTab)
        return;
    m_curTab = index;
    for (int other = 0; other < 3; ++other)
        if (other != index)
            Page(other)->hide();
    page->setGeometry(m_tab->PageRect());
    page->show();
}

void OptionTabs::UpdateData(ConversionSettings& settings)
{
    // The Advanced page exchanges no values; its combos are read by the PDF step.
    m_securityPage->UpdateData(true);
    m_descriptionPage->UpdateData(true);
    m_securityPage->GetSettings(settings);
    m_descriptionPage->GetSettings(settings);
}

void OptionTabs::EnablePages(bool enable)
{
    m_securityPage->setEnabled(enable);
    m_descriptionPage->setEnabled(enable);
    m_advancedPage->setEnabled(enable);
}

void OptionTabs::InstallClickFilter(QWidget* scope)
{
    m_clickScope = scope;
    qApp->installEventFilter(this);
}

bool OptionTabs::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && m_clickScope) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (widget && mouse->button() == Qt::LeftButton &&
            (widget == m_clickScope || m_clickScope->isAncestorOf(widget)))
            OnLButtonDown(mouse->globalPosition().toPoint());
    }
    return QObject::eventFilter(watched, event);
}
