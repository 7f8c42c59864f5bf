#pragma once

#include "officehost/HostApplication.h"

class PowerPointPresentations;

// "PowerPoint.Application": Visible, Presentations, ActivePresentation and
// Quit. Its main window is reported with PowerPoint's class and title.
class PowerPointApplication : public HostApplication
{
public:
    PowerPointApplication(LibreOffice& office, PrintSpooler& spooler);

    QList<dispatchprotocol::WindowReport> Windows() const override;

private:
    std::shared_ptr<PowerPointPresentations> m_presentations;
};
