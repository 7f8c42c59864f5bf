#include "CleanupTool.h"

#include "CleanupSteps.h"
#include "UnfolioNames.h"

namespace unfolio {

int CleanupTool::Run(CleanupSteps& steps)
{
    steps.LeaveConsole();
    steps.Warn();
    // Without a process table nothing is known about the machine's state, so
    // the add-ins and the printer are left as they are.
    if (!steps.EndOfficeProcesses())
        return 0;
    steps.UnregisterAddin(kWordAddin);
    steps.UnregisterAddin(kExcelAddin);
    steps.DeletePrinter(kPrinterName);
    return 0;
}

} // namespace unfolio
