#pragma once

#include "pdf/ConversionSettings.h"

#include <QObject>
#include <QPointer>

class CAdvancedDlg;
class CDescriptionDlg;
class CSecurityDlg;
class CTabCtrlEx;
class QWidget;

// The tab control with its three option pages, as the conversion page holds
// them: set-up, page switching and the pages' data exchange. The owner calls
// OnLButtonDown from its event filter for every left-button press it sees
// (InstallClickFilter does that for a window without a filter of its own).
// A conversion page built from its template creates control 1006 as a
// CTabCtrlEx through the builder's ControlFactory and hands it to SetUp.
class OptionTabs : public QObject
{
    Q_OBJECT
public:
    explicit OptionTabs(QObject* parent = nullptr);

    // Moves tab into groupBox (inset 10, 30, 10, 10), inserts "Description",
    // "Security" and "Advanced", creates the three pages as children of the
    // tab control and shows the Description page in the page rectangle.
    void SetUp(CTabCtrlEx* tab, QWidget* groupBox);

    // A left-button press at a screen position: over a tab header other than
    // the shown one, that tab's page is shown and the others hidden. The
    // press is never consumed.
    void OnLButtonDown(const QPoint& globalPos);

    // Shows the page of index in the page rectangle and hides the two
    // others, unless it is the page shown already.
    void ShowPage(int index);

    QWidget* Page(int index) const;

    // Convert's data exchange: the Advanced, Security and Description pages in
    // that order; the Security and Description values go into settings.
    void UpdateData(ConversionSettings& settings);

    // Enables or disables the three pages (around a run).
    void EnablePages(bool enable);

    // Lets this object see the left-button presses aimed at scope or any
    // window inside it.
    void InstallClickFilter(QWidget* scope);

    CTabCtrlEx* m_tab = nullptr;
    CDescriptionDlg* m_descriptionPage = nullptr;
    CSecurityDlg* m_securityPage = nullptr;
    CAdvancedDlg* m_advancedPage = nullptr;
    int m_curTab = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_clickScope;
};
