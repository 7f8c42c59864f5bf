#pragma once

#include <QString>

// Keeps the program to one running copy per user: an exclusive flock on a
// file named Foliant in $XDG_RUNTIME_DIR (in the parent of the private
// scratch folder when there is no runtime folder). The lock is held for as
// long as the object lives; the file is never removed, so a copy that starts
// while another ends always finds the same file.
class SingleInstanceLock
{
public:
    enum class Result {
        Acquired,      // this process is the running copy
        HeldByAnother, // another copy holds the lock
        Unavailable,   // no lock could be made; the caller goes on as if alone
    };

    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock at path (the default place when empty); never waits.
    Result Acquire(const QString& path = {});

    // Where the program's lock lives.
    static QString DefaultPath();

    // Why the last Acquire gave Unavailable.
    QString Error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};
