#include "officehost/WordApplication.h"

#include "officehost/PrintSpooler.h"
#include "officehost/WordDocuments.h"
#include "platform/OfficeDispids.h"

WordApplication::WordApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_documents(std::make_shared<WordDocuments>(*this))
{
    // Quit takes SaveChanges, OriginalFormat, RouteDocument: nothing is ever saved.
    AddVisibleAndQuit(worddispid::kVisible, worddispid::kQuit, {Integer(), Integer(), Integer()});
    AddMember(worddispid::kActivePrinter, DISPATCH_PROPERTYPUT, {Text(true)}, [](const Arguments& a) {
        if (a.Text(0) != PrintSpooler::PrinterName())
            Fail(QStringLiteral("There is a printer error."));
        return Variant();
    });
    AddMember(worddispid::kDocuments, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_documents); });
    AddMember(worddispid::kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::I4(Spooler().RunningJobs()); });
}
