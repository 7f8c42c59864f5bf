#include "officehost/ExcelWorkbook.h"

#include "officehost/ExcelApplication.h"
#include "officehost/PrintSpooler.h"
#include "platform/OfficeDispids.h"

namespace {
// Indexes of PrintOut's arguments.
enum { From, To, Copies, Preview, ActivePrinter, PrintToFile, Collate, PrToFileName };

const QString kPrintFailure = QStringLiteral("PrintOut method of Workbook class failed");
} // namespace

ExcelWorkbook::ExcelWorkbook(ExcelApplication& application, std::shared_ptr<OfficeDocument> document)
    : HostDocument(application, std::move(document))
{
    AddMember(exceldispid::kPrintOut, DISPATCH_METHOD,
              {Integer(), Integer(), Integer(), Integer(), Text(), Integer(), Integer(), Text()},
              [this](const Arguments& a) {
                  // The whole workbook, one copy, on the product's printer,
                  // into the file named by PrToFileName.
                  if (a.Given(From) || a.Given(To) || a.Integer(Copies, 1) != 1 || a.Integer(Preview) != 0)
                      Fail(kPrintFailure);
                  if (a.Given(ActivePrinter) && a.Text(ActivePrinter) != PrintSpooler::PrinterName())
                      Fail(kPrintFailure);
                  if (a.Given(PrintToFile) && a.Integer(PrintToFile) == 0)
                      Fail(kPrintFailure);
                  PrintIntoFile(a.Text(PrToFileName), false, kPrintFailure);
                  return Variant();
              });
    // SaveChanges, Filename, RouteWorkbook: nothing is ever saved.
    AddMember(exceldispid::kClose, DISPATCH_METHOD, {Integer(), TextOrInteger(), Integer()},
              [this](const Arguments&) {
                  CheckOpen(QStringLiteral("Object required"));
                  CloseDocument();
                  return Variant();
              });
}
