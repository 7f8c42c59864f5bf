#pragma once

#include <string>

// The files a forked job shares with the warm Ghostscript: the scratch files
// its device opened before the fork. A shared open file shares its offset,
// so jobs writing them at once, or one after another, would mix their
// pages. Each job puts a private copy (same contents, same offset) in place
// of each, under the same descriptor, before Ghostscript runs.
namespace InheritedScratchFiles {

// inherited: the warm Ghostscript's scratch folder; ownFolder: where the
// copies go. False, with *why set, when a copy could not be made.
bool MakeOwn(const std::string& inherited, const std::string& ownFolder, std::string* why);

} // namespace InheritedScratchFiles
