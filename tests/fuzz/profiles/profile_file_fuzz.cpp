// Profile files of any content: the magic decides, the payload is the bytes after the header, zero-filled,
// and nothing beyond the payload size is read.
#include "profiles/profile_file.h"
#include "tests/fuzz/scratch_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {
void check(bool ok) {
    if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zq::profiles;
    const zq::fuzz::ScratchFile scratch(".config", data, size);
    const std::filesystem::path& file = scratch.path();
    const bool magic = size >= 2 && data[0] == 0xAA && data[1] == 0x55;
    for (const std::size_t payloadSize : {std::size_t{64}, std::size_t{576}}) {
        std::vector<std::uint8_t> payload(payloadSize, 0xEE);
        const ProfileReadResult r = readProfileFile(file, payload);
        check(r == (magic ? ProfileReadResult::Ok : ProfileReadResult::BadMagic));
        for (std::size_t i = 0; i < payloadSize; ++i) {
            const std::size_t at = kProfileHeaderSize + i;
            const std::uint8_t want = (magic && size >= kProfileHeaderSize && at < size) ? data[at] : 0;
            check(payload[i] == want);
        }
    }
    return 0;
}
