#include "officehost/ProfileSetUp.h"

#include "officehost/LibreOffice.h"

#include <QProcess>

#include <cstdio>
#include <signal.h>
#include <sys/prctl.h>

namespace profilesetup {
namespace {

// A first start fills the profile: seconds, rarely more.
constexpr int kSetUpLimit = 180 * 1000;

} // namespace

bool SetUpInNewProcess(const QString& folder, QString* why)
{
    QProcess setUp;
    setUp.setProgram(QStringLiteral("/proc/self/exe"));
    setUp.setArguments({QString::fromLatin1(kArgument), folder});
    setUp.setProcessChannelMode(QProcess::ForwardedChannels);
    setUp.setInputChannelMode(QProcess::ForwardedInputChannel);
    // Ends with this host when the host is ended, so no office is left in
    // the profile while the next one sets it up.
    setUp.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    setUp.start();
    if (!setUp.waitForFinished(kSetUpLimit)) {
        setUp.kill();
        setUp.waitForFinished(-1);
        *why = QStringLiteral("The office profile could not be set up in %1.").arg(folder);
        return false;
    }
    if (setUp.exitStatus() != QProcess::NormalExit || setUp.exitCode() != 0) {
        *why = QStringLiteral("The office profile could not be set up in %1.").arg(folder);
        return false;
    }
    return true;
}

int Run(const QString& folder)
{
    QString why;
    std::unique_ptr<LibreOffice> office = LibreOffice::Start(folder, &why);
    if (!office) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    office.reset(); // ending the office writes the profile's settings
    return 0;
}

} // namespace profilesetup
