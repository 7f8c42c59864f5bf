#include "gshost/GhostscriptJob.h"

#include "gshost/InheritedScratchFiles.h"
#include "platform/DescriptorMessages.h"
#include "platform/WarmGhostscriptConnection.h"

#include <QByteArray>

#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace GhostscriptJob {
namespace {

int g_channel = -1;

void SendFrame(char tag, const char* bytes, std::uint32_t length)
{
    if (g_channel < 0)
        return;
    std::string frame(1, tag);
    frame.append(reinterpret_cast<const char*>(&length), sizeof length);
    frame.append(bytes, length);
    // A client that is gone reads nothing more.
    descriptormessages::SendAll(g_channel, frame.data(), static_cast<qsizetype>(frame.size()));
}

int NoInput(void*, char*, int)
{
    return 0;
}

int StandardOutput(void*, const char* bytes, int length)
{
    SendFrame(WarmGhostscriptConnection::kStandardOutput, bytes, static_cast<std::uint32_t>(length));
    return length;
}

int StandardError(void*, const char* bytes, int length)
{
    SendFrame(WarmGhostscriptConnection::kStandardError, bytes, static_cast<std::uint32_t>(length));
    return length;
}

std::string ReadRequest(int channel)
{
    std::string request;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(channel, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return request;
        request.append(buffer, static_cast<std::size_t>(n));
    }
}

bool Failed(int code)
{
    return code < 0 && code != gs_error_Quit;
}

} // namespace

void CaptureMessages(void* instance)
{
    gsapi_set_stdio(instance, NoInput, StandardOutput, StandardError);
}

void Run(void* instance, int channel, const char* scratch)
{
    ::close(WarmGhostscriptConnection::kControlDescriptor);
    std::signal(SIGCHLD, SIG_DFL);
    g_channel = channel;
    const std::string request = ReadRequest(channel);
    const char* program = nullptr;
    for (std::size_t at = 0; at < request.size();) {
        const std::size_t end = request.find('\0', at);
        if (end == std::string::npos)
            break;
        const char tag = request[at];
        const char* value = request.c_str() + at + 1;
        switch (tag) {
        case WarmGhostscriptConnection::kTemporaryFolder:
            ::setenv("TMPDIR", value, 1);
            break;
        case WarmGhostscriptConnection::kWritable:
            gsapi_add_control_path(instance, GS_PERMIT_FILE_WRITING, value);
            break;
        case WarmGhostscriptConnection::kReadable:
            gsapi_add_control_path(instance, GS_PERMIT_FILE_READING, value);
            break;
        case WarmGhostscriptConnection::kProgram:
            program = value;
            break;
        default:
            break;
        }
        at = end + 1;
    }
    int status = 0;
    const char* ownFolder = std::getenv("TMPDIR");
    std::string why;
    if (!ownFolder || ownFolder == std::string(scratch))
        why = "The job was given no scratch folder of its own.";
    else if (!InheritedScratchFiles::MakeOwn(scratch, ownFolder, &why))
        why = "Ghostscript's scratch files could not be made the job's own: " + why + ".";
    else if (!program)
        why = "The request named nothing to run.";
    if (!why.empty()) {
        why += '\n';
        StandardError(nullptr, why.data(), static_cast<int>(why.size()));
        status = 1;
    } else {
        // Run as the gs program runs its -c code: an error is reported by
        // Ghostscript's own handler ("Error: /undefined in ...") and ends
        // the job with exit code 1.
        const QByteArray run = '<' + QByteArray(program).toHex() + "> .runstring\n";
        int exitCode = 0;
        const int code = gsapi_run_string(instance, run.constData(), 0, &exitCode);
        if (Failed(code) || (code == gs_error_Quit && exitCode != 0))
            status = 1;
        // Closing the device writes the rest of the PDF.
        if (Failed(gsapi_exit(instance)))
            status = 1;
    }
    const std::string code = std::to_string(status);
    SendFrame(WarmGhostscriptConnection::kExitCode, code.data(), static_cast<std::uint32_t>(code.size()));
    std::_Exit(0);
}

} // namespace GhostscriptJob
