#include <QApplication>
#include <gtest/gtest.h>

#include "TestTools.h"

#include <cstdlib>
#include <unistd.h>
#include <vector>

// Unfolio ends every process named like Word or Excel on the machine it runs
// on. So that the tests can never reach a process they did not start, the
// test program moves itself into a private process namespace with its own
// /proc when it may (as root); otherwise the tests that run the tool check
// for strangers of those names first and are skipped when they find one.
namespace {

constexpr const char* kIsolated = "UNFOLIO_TESTS_ISOLATED";

void MoveIntoPrivateProcessTable(int argc, char** argv)
{
    if (std::getenv(kIsolated) != nullptr || geteuid() != 0)
        return;
    if (std::system("unshare --pid --fork --mount-proc true >/dev/null 2>&1") != 0)
        return;
    // Resolved here: inside unshare, /proc/self/exe would name unshare itself.
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof(self) - 1) <= 0)
        return;
    setenv(kIsolated, "1", 1);
    std::vector<char*> args = {const_cast<char*>("unshare"),
                               const_cast<char*>("--pid"),
                               const_cast<char*>("--fork"),
                               const_cast<char*>("--mount-proc"),
                               const_cast<char*>("--kill-child"),
                               const_cast<char*>("--"),
                               self};
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    execvp("unshare", args.data());
    unsetenv(kIsolated); // could not start it: go on as we are
}

} // namespace

int main(int argc, char** argv)
{
    MoveIntoPrivateProcessTable(argc, argv);
    testtools::UsePrivateHome();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
