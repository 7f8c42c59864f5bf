#include "officehost/ExcelApplication.h"

#include "officehost/ExcelWorkbooks.h"
#include "platform/OfficeDispids.h"

ExcelApplication::ExcelApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_workbooks(std::make_shared<ExcelWorkbooks>(*this))
{
    AddVisibleAndQuit(exceldispid::kVisible, exceldispid::kQuit);
    AddMember(exceldispid::kWorkbooks, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_workbooks); });
}
