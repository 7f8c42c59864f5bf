#pragma once

#include <QString>

// The folders of a host: the office profile of the program's own (per user,
// made on first use and kept), and a private scratch folder for this process
// (mode 0700; LibreOffice's temporary files go there too), removed at the end.
namespace hostfolders {

// ~/.cache/foliant/office-profile (under $XDG_CACHE_HOME when set).
QString OfficeProfile();

// Makes this process's scratch folder and removes those of hosts that ended
// without cleaning up. Empty when none could be made.
QString MakeScratchFolder();
void RemoveScratchFolder(const QString& folder);

} // namespace hostfolders
