#pragma once

namespace unfolio {

// The steps of one clean-up run, each carried out by the system in the real
// tool; tests put scripted steps in their place.
class CleanupSteps
{
public:
    virtual ~CleanupSteps() = default;
    virtual void LeaveConsole() = 0;
    virtual void Warn() = 0;
    // False when the process table could not be read or was empty.
    virtual bool EndOfficeProcesses() = 0;
    virtual void UnregisterAddin(const char* libraryName) = 0;
    virtual void DeletePrinter(const char* printerName) = 0;
};

} // namespace unfolio
