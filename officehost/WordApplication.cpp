#include "officehost/WordApplication.h"

#include "officehost/PrintSpooler.h"
#include "officehost/WordDocuments.h"

namespace {
constexpr DISPID kVisible = 23;
constexpr DISPID kActivePrinter = 66;
constexpr DISPID kDocuments = 6;
constexpr DISPID kBackgroundPrintingStatus = 86;
constexpr DISPID kQuit = 1105;
} // namespace

WordApplication::WordApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_documents(std::make_shared<WordDocuments>(*this))
{
    // Quit takes SaveChanges, OriginalFormat, RouteDocument: nothing is ever saved.
    AddVisibleAndQuit(kVisible, kQuit, {Integer(), Integer(), Integer()});
    AddMember(kActivePrinter, DISPATCH_PROPERTYPUT, {Text(true)}, [](const Arguments& a) {
        if (a.Text(0) != PrintSpooler::PrinterName())
            Fail(QStringLiteral("There is a printer error."));
        return Variant();
    });
    AddMember(kDocuments, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_documents); });
    AddMember(kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::I4(Spooler().RunningJobs()); });
}
