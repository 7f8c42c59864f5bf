#pragma once

// The warm Ghostscript: sets up Ghostscript's interpreter and its pdfwrite
// device (with the -d switches it is given) once, answers
// "ready" on the control socket, then forks a process for each "run" request
// (which comes with the job's channel) and answers with its process id and a
// pidfd. It ends when the control socket closes.
namespace WarmGhostscript {

int Run(int switchCount, char** switches);

} // namespace WarmGhostscript
