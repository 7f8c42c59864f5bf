#pragma once

#include <functional>

class COleDispatchDriver;
class ConversionPage;

// Lets the page end the office host of the file being converted from the GUI
// thread (the user's Stop) for as long as the host runs: set when the
// converter has started it, cleared before the converter lets it go.
class CurrentProgramEnder
{
public:
    CurrentProgramEnder(ConversionPage& page, const COleDispatchDriver& application);
    ~CurrentProgramEnder();
    CurrentProgramEnder(const CurrentProgramEnder&) = delete;
    CurrentProgramEnder& operator=(const CurrentProgramEnder&) = delete;

    // The page can no longer end the host.
    void Clear();
    // Ends the host now: one that failed a call is not trusted to quit.
    void EndProgram();

private:
    ConversionPage& m_page;
    std::function<void()> m_ender;
    bool m_set = false;
};
