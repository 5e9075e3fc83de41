// Stand-alone driver for the fuzz targets when no libFuzzer is at hand: runs every corpus file, then a
// fixed number of deterministic mutations of them (bit flips, truncations, splices, random bytes).
// Any crash or sanitizer report fails the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::vector<std::uint8_t>> corpus;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::filesystem::path p(argv[i]);
        auto add = [&](const std::filesystem::path& f) {
            std::ifstream in(f, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        };
        if (std::filesystem::is_directory(p, ec)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(p, ec))
                if (e.is_regular_file()) add(e.path());
        } else if (std::filesystem::is_regular_file(p, ec)) {
            add(p);
        } else {
            // The committed corpus is what the run replays: without it the run would test nothing.
            std::fprintf(stderr, "fuzz driver: corpus %s is missing\n", argv[i]);
            return 1;
        }
    }
    if (corpus.empty()) corpus.push_back({});
    for (const auto& c : corpus) LLVMFuzzerTestOneInput(c.data(), c.size());

    const char* env = std::getenv("ZQ_FUZZ_RUNS");
    const long runs = env ? std::atol(env) : 20000;
    std::mt19937 rng(12345);
    for (long r = 0; r < runs; ++r) {
        std::vector<std::uint8_t> d = corpus[rng() % corpus.size()];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            switch (rng() % 5) {
            case 0:
                if (!d.empty()) d[rng() % d.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
                break;
            case 1:
                if (!d.empty()) d.resize(rng() % d.size());
                break;
            case 2:
                d.insert(d.begin() + static_cast<long>(d.empty() ? 0 : rng() % d.size()),
                         static_cast<std::uint8_t>(rng()));
                break;
            case 3:
                if (!d.empty()) d[rng() % d.size()] = static_cast<std::uint8_t>(rng());
                break;
            default: {
                const auto& o = corpus[rng() % corpus.size()];
                if (!o.empty()) d.insert(d.end(), o.begin() + static_cast<long>(rng() % o.size()), o.end());
            }
            }
        }
        LLVMFuzzerTestOneInput(d.data(), d.size());
    }
    std::printf("fuzz driver: %zu corpus inputs, %ld mutations, no fault\n", corpus.size(), runs);
    return 0;
}
