#include "officehost/PowerPointApplication.h"

#include "officehost/HostDocument.h"
#include "officehost/PowerPointPresentations.h"
#include "platform/OfficeDispids.h"

PowerPointApplication::PowerPointApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_presentations(std::make_shared<PowerPointPresentations>(*this))
{
    AddVisibleAndQuit(powerpointdispid::kVisible, powerpointdispid::kQuit);
    AddMember(powerpointdispid::kPresentations, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_presentations); });
    AddMember(powerpointdispid::kActivePresentation, DISPATCH_PROPERTYGET, {}, [this](const Arguments&) {
        // The presentation opened last and still open is the active one.
        LPDISPATCH active = LastOpened();
        if (!active)
            Fail(QStringLiteral(
                "Application.ActivePresentation : Invalid request. There is no currently active "
                "document window."));
        return Variant::Dispatch(active);
    });
}

QList<dispatchprotocol::WindowReport> PowerPointApplication::Windows() const
{
    return {{QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint")}};
}
