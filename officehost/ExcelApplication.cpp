#include "officehost/ExcelApplication.h"

#include "officehost/ExcelWorkbooks.h"

namespace {
constexpr DISPID kVisible = 0x22E;
constexpr DISPID kWorkbooks = 0x23C;
constexpr DISPID kQuit = 0x12E;
} // namespace

ExcelApplication::ExcelApplication(LibreOffice& office, PrintSpooler& spooler)
    : HostApplication(office, spooler), m_workbooks(std::make_shared<ExcelWorkbooks>(*this))
{
    AddVisibleAndQuit(kVisible, kQuit);
    AddMember(kWorkbooks, DISPATCH_PROPERTYGET, {},
              [this](const Arguments&) { return Variant::Dispatch(m_workbooks); });
}
