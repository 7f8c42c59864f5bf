#include "officehost/WordDocument.h"

#include "officehost/WordApplication.h"
#include "platform/OfficeDispids.h"

namespace {
// Indexes of PrintOut's arguments.
enum {
    Background,
    Append,
    Range,
    OutputFileName,
    From,
    To,
    Item,
    Copies,
    Pages,
    PageType,
    PrintToFile,
    Collate,
    ActivePrinterMacGX,
    ManualDuplexPrint,
    PrintZoomColumn,
    PrintZoomRow,
    PrintZoomPaperWidth,
    PrintZoomPaperHeight
};
} // namespace

WordDocument::WordDocument(WordApplication& application, std::shared_ptr<OfficeDocument> document)
    : HostDocument(application, std::move(document))
{
    AddMember(
        worddispid::kPrintOut, DISPATCH_METHOD,
        {Integer(), Integer(), Integer(), Text(), Text(), Text(), Integer(), Integer(), Text(), Integer(),
         Integer(), Integer(), Text(), Integer(), Integer(), Integer(), Integer(), Integer()},
        [this](const Arguments& a) {
            // The product's printer prints whole documents into a file:
            // a request for less, or for more copies, is refused rather
            // than answered with something else.
            const bool whole = a.Integer(Range) == 0 && a.Integer(Item) == 0 && a.Integer(PageType) == 0 &&
                               !a.Given(From) && !a.Given(To) && !a.Given(Pages) &&
                               a.Integer(Copies, 1) == 1 && a.Integer(Append) == 0 &&
                               a.Integer(ManualDuplexPrint) == 0;
            if (!whole)
                Fail(QStringLiteral("This printer prints whole documents, one copy, only."));
            if (a.Integer(PrintToFile) == 0 || !a.Given(OutputFileName))
                Fail(QStringLiteral("The printer Foliant prints into a file: name it in OutputFileName."));
            PrintIntoFile(a.Text(OutputFileName), a.Integer(Background, -1) != 0,
                          QStringLiteral("Word could not print the document."));
            return Variant();
        });
    // SaveChanges, OriginalFormat, RouteDocument: nothing is ever saved.
    AddMember(worddispid::kClose, DISPATCH_METHOD, {Integer(), Integer(), Integer()},
              [this](const Arguments&) {
                  CheckOpen(QStringLiteral("The object has been deleted."));
                  CloseDocument();
                  return Variant();
              });
}
