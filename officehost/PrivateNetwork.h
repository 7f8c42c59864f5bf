#pragma once

// A network of the process's own with nothing in it (not even a working
// loopback), so no document can make the office reach a server, the
// machine's own services included. Where the kernel refuses (a container
// without the right, user namespaces turned off) the process keeps the
// machine's network, and only the office's own settings hold links back.
namespace PrivateNetwork {

// Must be called while the process has a single thread, before the office
// is loaded. True when the process now has a network of its own.
bool Enter();

} // namespace PrivateNetwork
