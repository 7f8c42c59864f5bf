#include "officehost/PowerPointPresentation.h"

#include "officehost/PowerPointApplication.h"
#include "platform/OfficeDispids.h"

namespace {
// Indexes of PrintOut's arguments.
enum { From, To, PrintToFile, Copies, Collate };

const QString kPrintFailure = QStringLiteral("Presentation.PrintOut : PowerPoint could not print.");
} // namespace

PowerPointPresentation::PowerPointPresentation(PowerPointApplication& application,
                                               std::shared_ptr<OfficeDocument> document)
    : HostDocument(application, std::move(document))
{
    AddMember(powerpointdispid::kPrintOut, DISPATCH_METHOD,
              {Integer(), Integer(), Text(), Integer(), Integer()}, [this](const Arguments& a) {
                  // From = To = -1 (or omitted): every slide, one copy.
                  if (a.Integer(From, -1) != -1 || a.Integer(To, -1) != -1 || a.Integer(Copies, 1) != 1)
                      Fail(kPrintFailure);
                  PrintIntoFile(a.Text(PrintToFile), false, kPrintFailure);
                  return Variant();
              });
    AddMember(powerpointdispid::kClose, DISPATCH_METHOD, {}, [this](const Arguments&) {
        CheckOpen(QStringLiteral("Presentation (unknown member) : Object does not exist."));
        CloseDocument();
        return Variant();
    });
}
