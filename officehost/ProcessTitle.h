#pragma once

// Names the process as the application it stands for: the kernel's process
// name (what `ps`, `top` and /proc/PID/comm show) and the command line
// (what `ps -f` shows), written over the program's own argument area.
void SetProcessTitle(int argc, char** argv, const char* name);
