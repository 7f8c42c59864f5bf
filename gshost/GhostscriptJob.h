#pragma once

// One PDF in a process forked from the warm Ghostscript: reads the request
// from the channel, lets Ghostscript read and write only the files it names,
// runs its PostScript, and sends back what Ghostscript printed and its exit
// code, as the gs program would end.
namespace GhostscriptJob {

// Set before the interpreter starts: where its messages go (nowhere until
// a job has a channel).
void CaptureMessages(void* instance);

// scratch: the warm Ghostscript's scratch folder, where the device it
// opened keeps files every job shares with it until it makes them its own.
[[noreturn]] void Run(void* instance, int channel, const char* scratch);

} // namespace GhostscriptJob
