#pragma once
// The background of the main window: a picture or a plain colour, chosen in the skin window and carried
// to every registered receiver by one process-wide broadcaster.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zq::shell {

struct SkinChange {
    bool useColour = false;
    std::uint32_t colour = 0; // ARGB, when useColour
    std::string picture;      // a picture reference or a file path, when not useColour
};

inline constexpr const char* kDefaultBackground = "common/background.png";

class ThemeBroadcaster {
public:
    using Receiver = std::function<void(const SkinChange&)>;
    static ThemeBroadcaster& instance();

    // Receivers are called in the order they were added; the number removes one again.
    int add(Receiver receiver);
    void remove(int id);
    void broadcast(const SkinChange& change) const;

private:
    struct Entry {
        int id;
        Receiver receiver;
    };
    std::vector<Entry> receivers_;
    int next_ = 1;
};

// What "main.ini" remembers: FLAGS "1" → the picture of IMAGE; anything else → the layout's own.
struct RememberedSkin {
    bool usePicture = false;
    std::string picture;
};
RememberedSkin readRememberedSkin();
void rememberPicture(const std::string& picture); // FLAGS "1", IMAGE = picture
void rememberReset();                             // FLAGS "0", IMAGE = the default picture

} // namespace zq::shell
