#include "officehost/ExcelWorkbooks.h"

#include "officehost/ExcelApplication.h"
#include "officehost/ExcelWorkbook.h"
#include "platform/OfficeDispids.h"

ExcelWorkbooks::ExcelWorkbooks(ExcelApplication& application) : m_application(application)
{
    // Filename, UpdateLinks, ReadOnly, Format, Password, WriteResPassword,
    // IgnoreReadOnlyRecommended, Origin, Delimiter, Editable, Notify,
    // Converter, AddToMru. The workbook is always opened read-only, links
    // never updated, never added to a recent list.
    AddMember(exceldispid::kOpen, DISPATCH_METHOD,
              {Text(true), Integer(), Integer(), Integer(), Text(), Text(), Integer(), Integer(), Text(),
               Integer(), Integer(), Integer(), Integer()},
              [this](const Arguments& a) {
                  LibreOffice::OpenRequest request;
                  request.path = a.Text(0);
                  request.password = a.Text(4);
                  auto workbook = std::make_shared<ExcelWorkbook>(
                      m_application, m_application.OpenDocument(
                                         request, OfficeDocument::Kind::Spreadsheet,
                                         QStringLiteral("The password you supplied is not correct, or "
                                                        "the file cannot be opened.")));
                  m_application.Track(workbook);
                  return Variant::Dispatch(workbook);
              });
}
