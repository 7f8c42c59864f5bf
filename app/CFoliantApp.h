#pragma once

#include "platform/SingleInstanceLock.h"

// The application: keeps the program to one running copy and runs the main
// window for the life of the process.
class CFoliantApp
{
public:
    // The registry key of the design, kept as the organisation name; no
    // setting is ever written under it.
    static inline const QString kRegistryKey = QStringLiteral("Local AppWizard-Generated Applications");

    // Start-up: the single-instance lock, the organisation name, then the
    // main window, run until it closes. A second copy returns at once and
    // shows nothing. Returns false in every case: the process then ends
    // with exit code 0.
    bool InitInstance();

private:
    // Held for the life of the process.
    SingleInstanceLock m_instanceLock;
};
