#include "gshost/WarmGhostscript.h"
#include "platform/WarmGhostscriptConnection.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], WarmGhostscriptConnection::kArgument) == 0)
        return WarmGhostscript::Run(argc - 2, argv + 2);
    std::fprintf(stderr, "gshost is started by Foliant, not on its own.\n");
    return 2;
}
