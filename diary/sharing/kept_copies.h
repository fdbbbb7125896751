#pragma once

#include <string>

// A folder of this machine's state where files taken out of a diary's
// folder are kept for a number of days before they are removed for good:
// the conflict copies that were folded into their diary.
class KeptCopies {
public:
    KeptCopies(std::string folder, int days);

    // Copies the file at `path` into the folder, under its own name and a
    // digest of its path; false when that could not be done.
    bool Keep(const std::string& path) const;
    // Removes what was kept longer than the days given.
    void RemoveExpired() const;

private:
    std::string m_folder;
    int m_days;
};
