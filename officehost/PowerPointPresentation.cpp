#include "officehost/PowerPointPresentation.h"

#include "officehost/PowerPointApplication.h"

namespace {
constexpr DISPID kPrintOut = 0x7F2;
constexpr DISPID kClose = 0x7F7;

// Indexes of PrintOut's arguments.
enum { From, To, PrintToFile, Copies, Collate };

const QString kPrintFailure = QStringLiteral("Presentation.PrintOut : PowerPoint could not print.");
} // namespace

PowerPointPresentation::PowerPointPresentation(PowerPointApplication& application,
                                               std::shared_ptr<OfficeDocument> document)
    : HostDocument(application, std::move(document))
{
    AddMember(kPrintOut, DISPATCH_METHOD, {Integer(), Integer(), Text(), Integer(), Integer()},
              [this](const Arguments& a) {
                  // From = To = -1 (or omitted): every slide, one copy.
                  if (a.Integer(From, -1) != -1 || a.Integer(To, -1) != -1 || a.Integer(Copies, 1) != 1)
                      Fail(kPrintFailure);
                  PrintIntoFile(a.Text(PrintToFile), false, kPrintFailure);
                  return Variant();
              });
    AddMember(kClose, DISPATCH_METHOD, {}, [this](const Arguments&) {
        CheckOpen(QStringLiteral("Presentation (unknown member) : Object does not exist."));
        CloseDocument();
        return Variant();
    });
}
