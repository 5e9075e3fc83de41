#include "profiles/mouse_lists.h"

#include "platform/data_folders.h"
#include "platform/debug.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"

#include <algorithm>
#include <vector>

namespace zq::profiles {

namespace fs = std::filesystem;

ListEntry makeListEntry(ProfileCategory category, int position, std::string storedName) {
    ListEntry e;
    if (category == ProfileCategory::MouseDevice && position >= 0 &&
        position < static_cast<int>(kMouseLayoutTextIds.size()))
        e.displayTextId = std::string(kMouseLayoutTextIds[static_cast<std::size_t>(position)]);
    else
        e.displayText = storedName;
    e.storedName = std::move(storedName);
    return e;
}

namespace {

std::vector<ListEntry> listFromIndex(const ProfileIndex& index, int count) {
    std::vector<ListEntry> entries;
    const auto present = static_cast<int>(std::min<std::size_t>(index.namesPresent(), 1u << 20));
    if (count > present) {
        platform::debugString("profile count " + std::to_string(count) + " beyond the names present in " +
                              index.file().string());
        count = present;
    }
    for (int i = 0; i < count; ++i) entries.push_back(makeListEntry(index.category(), i, index.name(i)));
    return entries;
}

// The first run of one category: one profile per default file, then the index keys. False (with the
// message added) when a default file cannot be used; what was written so far stays.
bool firstRun(ProfileCategory category, int profiles, const DeviceListsFolders& folders,
              std::vector<ListEntry>& entries, std::vector<std::string>& messages) {
    const auto& info = categoryInfo(category);
    const ProfileIndex index(category, folders.dataFolder / info.indexFile);
    std::vector<std::uint8_t> payload(info.payloadSize);
    std::vector<std::string> names;
    for (int k = 0; k < profiles; ++k) {
        const auto result = readProfileFile(folders.applicationFolder / defaultFileFor(category, k), payload);
        if (result != ProfileReadResult::Ok) {
            messages.emplace_back(result == ProfileReadResult::BadMagic ? kDefaultBadMagicMessage
                                                                        : kDefaultMissingMessage);
            return false;
        }
        std::string name = "profile" + std::to_string(k + 1);
        writeProfileFile(folders.dataFolder / (name + std::string(info.extension)), info.deviceType, payload);
        entries.push_back(makeListEntry(category, k, name));
        names.push_back(std::move(name));
    }
    index.writeFreshList(names);
    return true;
}

} // namespace

std::vector<ListEntry> buildListFromIndex(ProfileCategory category, const fs::path& indexFile) {
    const ProfileIndex index(category, indexFile);
    return listFromIndex(index, index.count());
}

std::vector<ProfileCategory> categoriesOf(platform::DeviceFolder device) {
    std::vector<ProfileCategory> out;
    for (const auto& info : kProfileCategories)
        if (info.folder == device) out.push_back(info.category);
    return out;
}

DeviceLists buildDeviceLists(platform::DeviceFolder device, const DeviceListsFolders& folders) {
    DeviceLists out;
    out.categories = categoriesOf(device);
    out.lists.resize(out.categories.size());
    for (std::size_t l = 0; l < out.categories.size(); ++l) {
        const ProfileCategory category = out.categories[l];
        const ProfileIndex index(category, folders.dataFolder / categoryInfo(category).indexFile);
        const int count = index.count();
        if (count != 0) {
            out.lists[l] = listFromIndex(index, count);
            continue;
        }
        const int profiles = category == ProfileCategory::MouseDevice ? 3 : 1;
        if (!firstRun(category, profiles, folders, out.lists[l], out.messages)) return out;
    }
    out.complete = true;
    return out;
}

DeviceLists buildDeviceLists(platform::DeviceFolder device) {
    return buildDeviceLists(device, {platform::categoryFolder(device), platform::applicationFolder()});
}

MouseLists buildMouseLists(const MouseListsFolders& folders) {
    const DeviceLists built =
        buildDeviceLists(platform::DeviceFolder::Mouse, {folders.mouseFolder, folders.applicationFolder});
    MouseLists out;
    for (std::size_t l = 0; l < out.lists.size() && l < built.lists.size(); ++l)
        out.lists[l] = built.lists[l];
    out.messages = built.messages;
    out.complete = built.complete;
    return out;
}

MouseLists buildMouseLists() {
    return buildMouseLists(
        {platform::categoryFolder(platform::DeviceFolder::Mouse), platform::applicationFolder()});
}

} // namespace zq::profiles
