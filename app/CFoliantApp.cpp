#include "app/CFoliantApp.h"

#include "app/CFoliantDlg.h"

#include <QCoreApplication>

bool CFoliantApp::InitInstance()
{
    // A lock that cannot be made does not stop the program; one held by
    // another copy ends this one, silently, leaving the other as it is.
    if (m_instanceLock.Acquire() == SingleInstanceLock::Result::HeldByAnother)
        return false;
    QCoreApplication::setOrganizationName(kRegistryKey);

    CFoliantDlg dialog(DefaultConverters());
    dialog.DoModal();
    return false;
}
