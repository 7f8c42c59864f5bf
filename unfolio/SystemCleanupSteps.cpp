#include "SystemCleanupSteps.h"

#include "AddinUnregistrar.h"
#include "PrinterRemover.h"
#include "ProcessReaper.h"
#include "UnfolioNames.h"
#include "WarningBox.h"

namespace unfolio {

void SystemCleanupSteps::LeaveConsole()
{
    m_console.Leave();
}

void SystemCleanupSteps::Warn()
{
    if (!WarningBox::DisplayAvailable() || !WarningBox::ShowInChildProcess())
        m_console.Warn(kWarningCaption, kWarningText);
    m_console.Release();
}

bool SystemCleanupSteps::EndOfficeProcesses()
{
    ProcessReaper reaper;
    if (!reaper.Snapshot())
        return false;
    reaper.EndMatches();
    return true;
}

void SystemCleanupSteps::UnregisterAddin(const char* libraryName)
{
    AddinUnregistrar(AddinUnregistrar::ProgramFolder()).Unregister(libraryName);
}

void SystemCleanupSteps::DeletePrinter(const char* printerName)
{
    PrinterRemover().Delete(printerName);
}

} // namespace unfolio
