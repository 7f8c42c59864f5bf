#include "officehost/ProcessTitle.h"

#include <sys/prctl.h>

#include <cstring>

void SetProcessTitle(int argc, char** argv, const char* name)
{
    ::prctl(PR_SET_NAME, name, 0, 0, 0);
    if (argc < 1 || !argv[0])
        return;
    // The arguments lie one after another; their whole area may be reused.
    char* begin = argv[0];
    char* end = argv[argc - 1] + std::strlen(argv[argc - 1]);
    const std::size_t room = static_cast<std::size_t>(end - begin);
    std::memset(begin, 0, room);
    std::strncpy(begin, name, room);
    for (int i = 1; i < argc; ++i)
        argv[i] = end; // the empty string at the end of the area
}
