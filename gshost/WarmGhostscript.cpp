#include "gshost/WarmGhostscript.h"

#include "gshost/GhostscriptJob.h"
#include "platform/DescriptorMessages.h"
#include "platform/HelperProcess.h"
#include "platform/WarmGhostscriptConnection.h"

#include <ghostscript/iapi.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace WarmGhostscript {
namespace {

constexpr int kControlDescriptor = WarmGhostscriptConnection::kControlDescriptor;

void Answer(const QByteArray& text, int fd = -1)
{
    descriptormessages::Send(kControlDescriptor, text, fd);
}

// The interpreter as the gs program sets it up for a PDF with the given
// device switches: files only where a job permits them, no pause between
// pages. The device writes nowhere until a job names its file.
void* StartInterpreter(int switchCount, char** switches)
{
    std::vector<const char*> arguments{"gs", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite"};
    for (int i = 0; i < switchCount; ++i) {
        if (std::strncmp(switches[i], "-d", 2) != 0)
            return nullptr; // nothing but the device's own switches
        arguments.push_back(switches[i]);
    }
    arguments.push_back("-sOutputFile=/dev/null");
    void* instance = nullptr;
    if (gsapi_new_instance(&instance, nullptr) < 0)
        return nullptr;
    gsapi_set_arg_encoding(instance, GS_ARG_ENCODING_UTF8);
    GhostscriptJob::CaptureMessages(instance);
    if (gsapi_init_with_args(instance, static_cast<int>(arguments.size()),
                             const_cast<char**>(arguments.data())) < 0)
        return nullptr;
    return instance;
}

void Serve(void* instance, const QByteArray& request, int channel, const char* scratch)
{
    if (request != "run" || channel < 0) {
        Answer("no The request could not be read.");
        return;
    }
    helperprocess::ForkForClient(
        kControlDescriptor, [&] { GhostscriptJob::Run(instance, channel, scratch); },
        "The warm Ghostscript could not fork.");
}

} // namespace

int Run(int switchCount, char** switches)
{
    // Nothing of the starting program's but the control socket.
    ::close_range(kControlDescriptor + 1, ~0U, 0);
    if (::fcntl(kControlDescriptor, F_SETFD, FD_CLOEXEC) < 0)
        return 2; // not started by a client
    // The jobs are reaped by the system; each client watches its own.
    std::signal(SIGCHLD, SIG_IGN);
    // The device's scratch files, which every job makes its own.
    const char* scratch = std::getenv("TMPDIR");
    if (!scratch || scratch[0] != '/') {
        Answer("no The warm Ghostscript was given no scratch folder.");
        return 2;
    }
    void* instance = StartInterpreter(switchCount, switches);
    if (!instance) {
        Answer("no Ghostscript's interpreter could not be set up.");
        return 2;
    }
    Answer("ready");
    for (;;) {
        int channel = -1;
        const std::optional<QByteArray> request = descriptormessages::Receive(kControlDescriptor, &channel);
        if (!request)
            break; // the client let go
        Serve(instance, *request, channel, scratch);
        if (channel >= 0)
            ::close(channel);
    }
    // The interpreter is not taken down: nothing of it needs keeping.
    std::fflush(nullptr);
    ::_exit(0);
}

} // namespace WarmGhostscript
