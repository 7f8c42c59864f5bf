#pragma once

#include <QString>

#include <functional>

// The office profiles of a user's live offices. LibreOffice does not expect
// two of itself on one profile (one writes its settings while the other reads
// them, and the other ends during start-up), so every live office (a host
// started on its own, the warm office, and each host the warm office forks)
// holds a profile no other live office uses: a copy of one profile set up once per
// user, held by a lock for the life of the office and kept for the next one.
class OfficeProfiles
{
public:
    // Sets up the profile at the given folder (starts an office in it and
    // ends it); false, with the reason, when it cannot.
    using SetUp = std::function<bool(const QString& folder, QString* why)>;

    // A profile held for this process (and the processes it forks) until the
    // lease ends. Folder() is empty when none could be had.
    class Lease
    {
    public:
        Lease() = default;
        Lease(QString folder, int fd) : m_folder(std::move(folder)), m_fd(fd) {}
        ~Lease();
        Lease(Lease&& other) noexcept;
        Lease& operator=(Lease&& other) noexcept;

        const QString& Folder() const { return m_folder; }
        // The office could not start in it: the next office gets a new copy.
        void Discard();
        // A path-only descriptor of the folder (closed on exec); -1 when it
        // cannot be opened.
        int OpenFolder() const;

    private:
        QString m_folder;
        int m_fd = -1;
    };

    // The profile every other one is copied from (made by setUp under a
    // lock, by the first office of the user that needs it), and the folder
    // the copies live in.
    OfficeProfiles(QString setUpProfile, QString copiesFolder);

    // Whether the profile has been set up.
    bool IsSetUp() const;
    // Sets the profile up unless it is; false, with the reason, when it cannot.
    bool EnsureSetUp(const SetUp& setUp, QString* why) const;
    // A profile of the set-up one's that no other live office holds; none,
    // with the reason, while the set-up profile is missing or none can be made.
    Lease Take(QString* why) const;

    // ~/.cache/foliant/office-profile and office-profiles (under
    // $XDG_CACHE_HOME when set).
    static OfficeProfiles OfTheUser();
    // The name an office loaded with a profile descriptor reaches it by.
    static QString DescriptorPath(int descriptor);

private:
    QString m_setUp;
    QString m_copies;
};
