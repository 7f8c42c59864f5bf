#pragma once

#include <QString>

// The scratch folder of a host: private to this process (mode 0700;
// LibreOffice's temporary files go there too), removed at the end. The
// office profiles are OfficeProfiles'.
namespace hostfolders {

// Makes this process's scratch folder and removes those of hosts that ended
// without cleaning up. Empty when none could be made.
QString MakeScratchFolder();
void RemoveScratchFolder(const QString& folder);

} // namespace hostfolders
