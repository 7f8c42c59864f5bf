#pragma once

#include <QString>

// LibreOffice fills a new profile on its first start, and two offices doing
// that at once in the same profile break it (the second host ends during
// start-up). While the profile has not been started in once, this lock makes
// the hosts that start in it (of any run, window or command line) take their
// turns; afterwards it costs nothing.
class ProfileStartLock
{
public:
    explicit ProfileStartLock(const QString& profileFolder);
    ~ProfileStartLock();
    ProfileStartLock(const ProfileStartLock&) = delete;
    ProfileStartLock& operator=(const ProfileStartLock&) = delete;

    // The office started in the profile: later hosts need not wait.
    void MarkStarted();
    // Whether an office has started in the profile once.
    static bool IsStarted(const QString& profileFolder);
    // The name of the file inside the profile that says so.
    static QString MarkerName();

private:
    QString m_marker;
    int m_fd = -1;
};
