// The office host: serves "Word.Application", "Excel.Application" or
// "PowerPoint.Application" (its one argument) over its standard input and
// output to the program that started it, with LibreOffice rendering.
// Started with --warm-office instead, it is the warm office that forks such
// hosts with LibreOffice already loaded; with --set-up-profile and a folder,
// it sets up a new office profile there.

#include "officehost/HostMain.h"
#include "officehost/HostMemory.h"
#include "officehost/PrivateNetwork.h"
#include "officehost/ProfileSetUp.h"
#include "officehost/WarmOffice.h"
#include "platform/WarmOfficeConnection.h"

#include <csignal>
#include <cstring>

int main(int argc, char** argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    // Before the office starts a thread: the warm office's hosts inherit it.
    PrivateNetwork::Enter();
    HostMemory::KeepFreedBlocks();
    if (argc == 2 && std::strcmp(argv[1], WarmOfficeConnection::kArgument) == 0)
        return WarmOffice::Run(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], profilesetup::kArgument) == 0)
        return profilesetup::Run(QString::fromLocal8Bit(argv[2]));
    return RunHost(argc, argv, argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
}
