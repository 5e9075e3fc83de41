#pragma once
// Where the UI tests find their skins, and a recorder for the notifications a page raises.
#include "ui/notification.h"
#include "ui/page.h"

#include <string>
#include <vector>

namespace zq::test {

// The facade's own small skin (every control kind once, the dialogs).
inline std::string testSkinFolder() {
    return std::string(ZQ_SOURCE_DIR) + "/tests/data/ui";
}
// The program's skin.
inline std::string realSkinFolder() {
    return std::string(ZQ_SOURCE_DIR) + "/skin";
}

struct Recorder {
    std::vector<ui::Notification> seen;
    void attach(ui::Page& page) {
        page.setHandler([this](const ui::Notification& n) { seen.push_back(n); });
    }
    std::vector<std::string> types() const {
        std::vector<std::string> out;
        for (const auto& n : seen) out.push_back(n.type);
        return out;
    }
    int count(const std::string& type) const {
        int c = 0;
        for (const auto& n : seen) c += n.type == type;
        return c;
    }
};

} // namespace zq::test
