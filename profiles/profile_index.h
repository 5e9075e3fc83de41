#pragma once
// One category's slice of its device's index file: the count, the names in list order, the selected
// position and, per position, the application link flag and path. Every call reads or writes the file
// through the private-profile functions; nothing is held in memory here.
#include "profiles/profile_category.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zq::profiles {

// How index numbers read: leading blanks, an optional sign, then digits up to the first other
// character; no digits read as 0, and values beyond int are held at its ends.
int parseIndexNumber(std::string_view text);

class ProfileIndex {
public:
    ProfileIndex(ProfileCategory category, std::filesystem::path indexFile);
    // The index file of the category in its device's data folder (the folder is created when missing).
    static ProfileIndex forCategory(ProfileCategory category);

    ProfileCategory category() const { return category_; }
    const std::filesystem::path& file() const { return file_; }

    int count() const;
    std::string name(int position) const;
    int select() const;
    std::string linkFlag(int position) const;
    std::string linkPath(int position) const;
    // Keys in the name section whatever the count says: a bound for reading a hostile count.
    std::size_t namesPresent() const;

    bool setCount(int count) const;
    bool setName(int position, std::string_view name) const;
    bool setSelect(int position) const;
    bool setLinkFlag(int position, std::string_view flag) const;
    bool setLinkPath(int position, std::string_view path) const;
    // A freshly made list in one atomic write, in this order: count, link flag 0 = "0", the names
    // 0 .. n-1, select = 0.
    bool writeFreshList(const std::vector<std::string>& names) const;

private:
    std::string read(std::string_view section, std::string_view key) const;
    bool write(std::string_view section, std::string_view key, std::string_view value) const;

    ProfileCategory category_;
    std::filesystem::path file_;
};

} // namespace zq::profiles
