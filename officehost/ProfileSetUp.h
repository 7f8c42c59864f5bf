#pragma once

#include <QString>

// Setting up a new office profile: an office of its own starts in it (which
// fills it and records our settings) and ends, in a process of its own, so
// the office that asked for it can still start in its own profile.
namespace profilesetup {

// The office host program started with this argument and a folder sets the
// profile up there.
constexpr const char* kArgument = "--set-up-profile";

// In the office host: sets the profile up in a new process of this program
// and waits for it; false, with the reason, when it fails.
bool SetUpInNewProcess(const QString& folder, QString* why);

// In that new process: the exit code.
int Run(const QString& folder);

} // namespace profilesetup
