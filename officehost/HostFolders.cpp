#include "officehost/HostFolders.h"

#include "platform/LinkSafeFiles.h"
#include "platform/ScratchFolder.h"

#include <unistd.h>

namespace hostfolders {
namespace {

// Inside the program's private scratch folder, so the host's temporary
// files get the same protection as the spool file.
QString ScratchBase()
{
    return ScratchFolder::Path();
}

} // namespace

QString MakeScratchFolder()
{
    const QString base = ScratchBase();
    if (base.isEmpty())
        return {};
    // Folders of hosts that were killed: their process is gone.
    ScratchFolder::RemoveLeftovers(ScratchFolder::kOfficeHostPrefix);
    const QString folder =
        base + QLatin1Char('/') + ScratchFolder::kOfficeHostPrefix + QString::number(::getpid());
    return LinkSafeFiles::MakeFreshFolder(folder) ? folder : QString();
}

void RemoveScratchFolder(const QString& folder)
{
    if (!folder.isEmpty())
        LinkSafeFiles::RemoveFolder(folder);
}

} // namespace hostfolders
