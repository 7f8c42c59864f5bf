#pragma once

#include "CleanupSteps.h"
#include "Console.h"

namespace unfolio {

// The clean-up steps carried out on this machine.
class SystemCleanupSteps : public CleanupSteps
{
public:
    void LeaveConsole() override;
    void Warn() override;
    bool EndOfficeProcesses() override;
    void UnregisterAddin(const char* libraryName) override;
    void DeletePrinter(const char* printerName) override;

private:
    Console m_console;
};

} // namespace unfolio
