#pragma once

namespace unfolio {

class CleanupSteps;

// The tool's one fixed sequence: leave the console, warn, end Word and Excel,
// unregister the Word and then the Excel add-in, delete the printer.
class CleanupTool
{
public:
    // Returns the exit code, which is 0 on every path.
    static int Run(CleanupSteps& steps);
};

} // namespace unfolio
