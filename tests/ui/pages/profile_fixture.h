#pragma once
// The profile lists in the running window: index, profile files and list controls of each category.
#include "page_fixture.h"
#include "platform/data_folders.h"
#include "profiles/pages/profile_controls.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"

#include <numeric>
#include <string>
#include <vector>

namespace zq::test {

class ProfileFixture : public PageFixture {
protected:
    using Category = profiles::ProfileCategory;

    ui::ListLike list(Category c) { return page().list(profiles::categoryInfo(c).listControl); }
    profiles::ProfileIndex index(Category c) const { return profiles::ProfileIndex::forCategory(c); }
    std::filesystem::path file(Category c, const std::string& name) const {
        const auto& info = profiles::categoryInfo(c);
        return platform::categoryFolder(info.folder) / (name + std::string(info.extension));
    }
    std::vector<std::string> names(Category c) {
        std::vector<std::string> out;
        for (int i = 0; i < list(c).count(); ++i) out.push_back(list(c).itemData(i));
        return out;
    }
    std::vector<std::string> indexNames(Category c) const {
        std::vector<std::string> out;
        for (int i = 0; i < index(c).count(); ++i) out.push_back(index(c).name(i));
        return out;
    }
    static std::vector<std::uint8_t> pattern(std::size_t n, std::uint8_t start) {
        std::vector<std::uint8_t> v(n);
        std::iota(v.begin(), v.end(), start);
        return v;
    }
    std::vector<std::uint8_t> payloadOf(const std::filesystem::path& path, std::size_t size) const {
        std::vector<std::uint8_t> p(size);
        EXPECT_EQ(profiles::readProfileFile(path, p), profiles::ProfileReadResult::Ok) << path;
        return p;
    }
    std::vector<std::uint8_t> payloadOf(Category c, const std::string& name) const {
        return payloadOf(file(c, name), profiles::categoryInfo(c).payloadSize);
    }
    void writeProfile(Category c, const std::string& name, const std::vector<std::uint8_t>& payload) {
        ASSERT_TRUE(profiles::writeProfileFile(file(c, name), profiles::categoryInfo(c).deviceType, payload));
    }
    // The category's list holds these profiles (index and files), as if made in an earlier run; the
    // lists are built again as at start.
    void makeList(Category c, const std::vector<std::string>& profileNames, std::uint8_t fill = 0x10) {
        const auto idx = index(c);
        idx.setCount(static_cast<int>(profileNames.size()));
        for (std::size_t i = 0; i < profileNames.size(); ++i) {
            idx.setName(static_cast<int>(i), profileNames[i]);
            writeProfile(c, profileNames[i],
                         pattern(profiles::categoryInfo(c).payloadSize, static_cast<std::uint8_t>(fill + i)));
        }
        profilePages().start();
    }
    // As the user picks an entry.
    void pick(Category c, int position) {
        list(c).select(position, ui::Notify::Yes);
        settle();
    }
};

} // namespace zq::test
