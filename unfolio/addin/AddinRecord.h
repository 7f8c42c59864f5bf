#pragma once

#include <filesystem>
#include <string>

// The registration record of one of the product's Office add-ins: a small
// text file in the user's data folder,
// $XDG_DATA_HOME/Foliant/addins/<application>.addin (XDG_DATA_HOME defaults
// to ~/.local/share).
class AddinRecord
{
public:
    explicit AddinRecord(std::string application);

    // The record's file; empty when the user has no data folder.
    std::filesystem::path Path() const;

    // Writes the record naming the library; it appears complete or not at all.
    bool Write(const std::filesystem::path& library) const;

    // Removes the record (and the add-in folders once they are empty). A
    // record that is not there counts as removed.
    bool Remove() const;

private:
    static std::filesystem::path DataFolder();

    std::string m_application;
};
