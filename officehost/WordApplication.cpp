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
    // Nothing is ever shown; the value is accepted and has no effect.
    AddMember(kVisible, DISPATCH_PROPERTYPUT, {Integer(true)}, [](const Arguments&) { return Variant(); });
    AddMember(kActivePrinter, DISPATCH_PROPERTYPUT, {Text(true)}, [](const Arguments& a) {
        if (a.Text(0) != PrintSpooler::PrinterName())
            Fail(QStringLiteral("There is a printer error."));
        return Variant();
    });
    AddMember(kDocuments, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_documents); });
    AddMember(kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::I4(Spooler().RunningJobs()); });
    // SaveChanges, OriginalFormat, RouteDocument: nothing is ever saved.
    AddMember(kQuit, DISPATCH_METHOD, {Integer(), Integer(), Integer()}, [this](const Arguments&) {
        Quit();
        return Variant();
    });
}
