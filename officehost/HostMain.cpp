#include "officehost/HostMain.h"

#include "officehost/ApplicationCatalog.h"
#include "officehost/ContentGuard.h"
#include "officehost/HostApplication.h"
#include "officehost/HostChannel.h"
#include "officehost/HostFolders.h"
#include "officehost/LibreOffice.h"
#include "officehost/OfficeHost.h"
#include "officehost/OfficeProfiles.h"
#include "officehost/PrintSpooler.h"
#include "officehost/ProcessTitle.h"
#include "officehost/ProfileSetUp.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

int Refuse(HostChannel& channel, const QString& why)
{
    dispatchprotocol::Message hello;
    hello.type = dispatchprotocol::MessageType::Hello;
    hello.status = CO_E_SERVER_EXEC_FAILURE;
    hello.processId = ::getpid();
    hello.description = why;
    channel.Send(hello, {});
    return 2;
}

// The office loaded in the warm office reads and writes its settings through
// /proc/self/fd/descriptor (the path it was loaded with): pointed at this
// host's own profile, they go there, not into the warm office's.
bool PointAt(int descriptor, const OfficeProfiles::Lease& profile)
{
    const int own = profile.OpenFolder();
    const bool pointed = own >= 0 && ::dup3(own, descriptor, O_CLOEXEC) >= 0;
    if (own >= 0)
        ::close(own);
    if (pointed)
        ContentGuard::AllowFolder(OfficeProfiles::DescriptorPath(descriptor));
    return pointed;
}

} // namespace

int RunHost(int argc, char** argv, const QString& progId, HostStart start, int profileDescriptor)
{
    // The protocol gets descriptors of its own; whatever LibreOffice prints
    // on standard output goes to standard error instead of into the pipe.
    const int input = ::fcntl(0, F_DUPFD_CLOEXEC, 3);
    const int output = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    ::dup2(null, 0);
    ::dup2(2, 1);
    ::close(null);
    HostChannel channel(input, output);

    const std::optional<ServedApplication> served = FindServedApplication(progId);
    if (!served)
        return Refuse(channel, QStringLiteral("Invalid class string: %1").arg(progId));

    static char processName[16];
    std::strncpy(processName, served->processName.toLatin1().constData(), sizeof processName - 1);
    SetProcessTitle(argc, argv, processName);
    int qtArgc = 1;
    char* qtArgv[] = {processName, nullptr};
    QCoreApplication app(qtArgc, qtArgv);

    const QString scratch = hostfolders::MakeScratchFolder();
    if (scratch.isEmpty())
        return Refuse(channel, QStringLiteral("The office host has no scratch folder."));
    qputenv("TMPDIR", QFile::encodeName(scratch));

    int exitCode = 2;
    {
        QString why;
        // A profile no other live office uses, the warm office this host
        // may be forked from included (it runs only once the profile is set up).
        OfficeProfiles::Lease lease;
        const OfficeProfiles profiles = OfficeProfiles::OfTheUser();
        if (start == HostStart::Forked || profiles.EnsureSetUp(profilesetup::SetUpInNewProcess, &why))
            lease = profiles.Take(&why);
        const QString profile = lease.Folder();
        if (!profile.isEmpty() && profileDescriptor >= 0 && !PointAt(profileDescriptor, lease)) {
            lease = OfficeProfiles::Lease();
            why = QStringLiteral("The office profile %1 could not be opened.").arg(profile);
        }
        std::unique_ptr<LibreOffice> office =
            lease.Folder().isEmpty() ? nullptr : LibreOffice::Start(profile, &why);
        if (!office) {
            lease.Discard();
            hostfolders::RemoveScratchFolder(scratch);
            return Refuse(channel, why);
        }
        {
            PrintSpooler spooler;
            OfficeHost host(channel, served->create(*office, spooler));
            QObject::connect(&host, &OfficeHost::finished, &app, &QCoreApplication::exit,
                             Qt::QueuedConnection);
            host.Greet();
            channel.Start();
            exitCode = app.exec();
        } // the application, its documents and the print jobs go first, then the office ends
        if (start == HostStart::Forked) {
            // Taking the office down would only tidy up what goes with this
            // process and its scratch folder anyway: a tenth of a second saved.
            hostfolders::RemoveScratchFolder(scratch);
            std::fflush(nullptr);
            ::_exit(exitCode);
        }
    }
    hostfolders::RemoveScratchFolder(scratch);
    return exitCode;
}
