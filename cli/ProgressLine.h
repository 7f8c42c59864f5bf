#pragma once

#include <QString>

#include <cstdio>

// The progress bar of a run on a terminal: one line on standard error,
// redrawn in place, taken away before any other line is written. Shows
// nothing when standard error is not a terminal.
class ProgressLine
{
public:
    ProgressLine();

    void Show(int done, int total);
    // Takes the bar away (before a line is written, and at the end).
    void Clear();

private:
    bool m_terminal = false;
    bool m_shown = false;
    int m_done = 0;
    int m_total = 0;
};
