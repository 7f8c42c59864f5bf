#include "officehost/PowerPointApplication.h"

#include "officehost/HostDocument.h"
#include "officehost/PowerPointPresentations.h"

namespace {
constexpr DISPID kVisible = 0x7EE;
constexpr DISPID kPresentations = 0x7D1;
constexpr DISPID kActivePresentation = 0x7D5;
constexpr DISPID kQuit = 0x7E5;
} // namespace

PowerPointApplication::PowerPointApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_presentations(std::make_shared<PowerPointPresentations>(*this))
{
    AddVisibleAndQuit(kVisible, kQuit);
    AddMember(kPresentations, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_presentations); });
    AddMember(kActivePresentation, DISPATCH_PROPERTYGET, {}, [this](const Arguments&) {
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
