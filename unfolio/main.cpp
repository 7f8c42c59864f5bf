#include "CleanupTool.h"
#include "SystemCleanupSteps.h"

// Unfolio, run when the product is removed. It reads no arguments and ends
// with exit code 0 whatever happened.
int main()
{
    try {
        unfolio::SystemCleanupSteps steps;
        return unfolio::CleanupTool::Run(steps);
    } catch (...) {
        return 0;
    }
}
