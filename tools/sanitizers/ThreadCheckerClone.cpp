// Linked into every program and test program of the thread-checked build
// only (foliant_thread_checked in the top CMakeLists.txt).
//
// QProcess starts a child with clone(CLONE_VM | CLONE_VFORK): the child
// shares the parent's memory, and so the thread checker's per-thread state,
// until it runs its program. The checker treats the clone as a fork and, in
// that child, marks the process as forked while threads ran: the marks land
// in the parent's own state, and from then on the parent's thread is blind
// (its accesses and its lock order ignored, its next thread refused). Such a
// request is made a plain fork here, which the checker follows; the child
// runs the same function and the same program, and the parent gets the same
// process id and process descriptor. Any other clone goes to the next one.

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <sched.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...)
{
    va_list rest;
    va_start(rest, arg);
    pid_t* parentTid = va_arg(rest, pid_t*);
    void* tls = va_arg(rest, void*);
    pid_t* childTid = va_arg(rest, pid_t*);
    va_end(rest);

    const int vforkLike = CLONE_VM | CLONE_VFORK;
    if ((flags & vforkLike) != vforkLike || (flags & ~(vforkLike | CLONE_PIDFD | CSIGNAL)) != 0 ||
        (flags & CSIGNAL) != SIGCHLD) {
        using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
        static const auto next = reinterpret_cast<Clone>(::dlsym(RTLD_NEXT, "clone"));
        if (!next) {
            errno = ENOSYS;
            return -1;
        }
        return next(fn, stack, flags, arg, parentTid, tls, childTid);
    }
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(fn(arg));
    if (child > 0 && (flags & CLONE_PIDFD) != 0)
        *reinterpret_cast<int*>(parentTid) = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    return child;
}
