#pragma once

#include <string_view>

namespace unfolio {

// The terminal the tool was started from. The tool leaves it before doing
// anything else: the standard streams then point at /dev/null, so neither the
// tool nor the libraries it loads print there. Only the warning may still use
// the terminal, through the descriptors kept aside for it.
class Console
{
public:
    Console() = default;
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    void Leave();

    // Shows the warning on the terminal when no window can show it. On an
    // interactive terminal the tool waits for Enter; otherwise it goes on.
    void Warn(std::string_view caption, std::string_view text);

    // Gives the kept descriptors up; after this the tool has no terminal at all.
    void Release();

private:
    int m_input = -1;
    int m_error = -1;
};

} // namespace unfolio
