#pragma once

// The warm office: LibreOffice loaded once (LibreOfficeKit's pre-init), then
// a fresh host forked for each request, so a host is ready in milliseconds
// instead of starting the office anew. It runs while its client holds the
// control socket (descriptor 3) and ends when the client lets go of it.
//
// The control socket carries whole messages: "ready" once the office is
// loaded, or "later <reason>" before it ends when the profile has not been
// set up by a host yet; then "fork <ProgID>" with the new host's channel (a socket it takes
// as its standard input and output), answered by "ok <pid>" with a pidfd of
// the host, or "no <reason>".
//
// A fork happens only while this process has a single thread: LibreOffice's
// threads (the configuration writer, for one) end soon after loading, and a
// child forked while another thread held a lock would wait for it forever.
namespace WarmOffice {

// Started with WarmOfficeConnection::kArgument, its control socket at
// WarmOfficeConnection::kControlDescriptor.

int Run(int argc, char** argv);

} // namespace WarmOffice
