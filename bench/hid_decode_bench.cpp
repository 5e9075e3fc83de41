// Decoding input reports of hostile devices: the cost of one report and the memory of an opened
// collection, for the worst descriptors within the kernel's 4096-byte limit.
//
// Target: any descriptor decodes a report in well under a millisecond, and an opened collection holds
// memory in proportion to its descriptor and to what its reports set, never to the square of it.
#include "device/hid/hid_device_record.h"
#include "device/hid/report_descriptor.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {
using namespace zq::hid;

constexpr std::size_t kMaxDescriptor = 4096; // what hidraw hands on at most

std::vector<std::uint8_t> application(std::vector<std::uint8_t> body) {
    body.insert(body.begin(), {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01});
    body.push_back(0xC0);
    return body;
}

// Report id 1; one array field of 4096 one-byte slots whose usage list is made of single usages, as many
// as the descriptor has room for (each one a 2-byte local item). Every slot of a report is an index.
std::vector<std::uint8_t> arrayOfSingleUsages() {
    std::vector<std::uint8_t> d = {0x85, 0x01, 0x05, 0x07, 0x15, 0x00, 0x26,
                                   0xFF, 0x00, 0x75, 0x08, 0x96, 0x00, 0x10};
    const std::size_t room = (kMaxDescriptor - d.size() - 6 - 1 - 2) / 2;
    for (std::size_t u = 0; u < room; ++u) d.insert(d.end(), {0x09, static_cast<std::uint8_t>(u % 255 + 1)});
    d.insert(d.end(), {0x81, 0x00});
    return application(d);
}

// One-bit variable buttons, each its own main item, all with usage 1: every set bit is a usage that
// every item's range holds, the most copies a descriptor can ask for.
std::vector<std::uint8_t> overlappingButtons() {
    std::vector<std::uint8_t> d = {0x05, 0x09, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01};
    while (d.size() + 4 + 7 <= kMaxDescriptor) d.insert(d.end(), {0x09, 0x01, 0x81, 0x02});
    return application(d);
}

// One-bit variable buttons, each its own main item with a usage of its own (the 66 MB open of before).
std::vector<std::uint8_t> separateButtons() {
    std::vector<std::uint8_t> d = {0x05, 0x09, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01};
    for (std::uint16_t u = 1; d.size() + 5 + 7 <= kMaxDescriptor; ++u)
        d.insert(d.end(),
                 {0x0A, static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), 0x81, 0x02});
    return application(d);
}

struct Opened {
    TopLevelCollection collection;
    std::vector<DataItem> items;
    InputDecoder decoder;
    std::vector<std::vector<std::uint8_t>> reports;
};

Opened open(const std::vector<std::uint8_t>& descriptor, benchmark::State& state) {
    Opened o;
    auto parsed = parseReportDescriptor(descriptor);
    if (!parsed.ok() || parsed.collections.empty()) {
        state.SkipWithError("descriptor refused");
        return o;
    }
    o.collection = std::move(parsed.collections[0]);
    o.items = buildDataItems(o.collection, ReportType::Input);
    o.decoder = InputDecoder(o.collection, o.items);
    std::mt19937 random(7);
    const std::uint8_t id = o.collection.reportIds.empty() ? 0 : o.collection.reportIds[0];
    for (int r = 0; r < 16; ++r) {
        std::vector<std::uint8_t> report(o.collection.inputReportLength);
        for (auto& b : report) b = r == 0 ? 0xFF : static_cast<std::uint8_t>(random());
        report[0] = id;
        o.reports.push_back(std::move(report));
    }
    return o;
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void decodeReports(benchmark::State& state, const std::vector<std::uint8_t>& descriptor) {
    const std::size_t before = heapInUse();
    Opened o = open(descriptor, state);
    const std::size_t opened = heapInUse();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(o.decoder.decode(o.collection, o.items, o.reports[next]));
        next = (next + 1) % o.reports.size();
    }
    state.counters["descriptor_B"] = static_cast<double>(descriptor.size());
    state.counters["items"] = static_cast<double>(o.items.size());
    state.counters["open_KiB"] = static_cast<double>(opened - before) / 1024.0;
    state.counters["decoded_KiB"] = static_cast<double>(heapInUse() - before) / 1024.0;
}

void BM_DecodeArrayOfSingleUsages(benchmark::State& state) {
    decodeReports(state, arrayOfSingleUsages());
}
BENCHMARK(BM_DecodeArrayOfSingleUsages)->Unit(benchmark::kMicrosecond);

void BM_DecodeOverlappingButtons(benchmark::State& state) {
    decodeReports(state, overlappingButtons());
}
BENCHMARK(BM_DecodeOverlappingButtons)->Unit(benchmark::kMicrosecond);

void BM_DecodeSeparateButtons(benchmark::State& state) {
    decodeReports(state, separateButtons());
}
BENCHMARK(BM_DecodeSeparateButtons)->Unit(benchmark::kMicrosecond);

// Opening: parsing, the data items and the decoder, for the largest of the layouts above.
void BM_OpenSeparateButtons(benchmark::State& state) {
    const auto descriptor = separateButtons();
    for (auto _ : state) {
        Opened o = open(descriptor, state);
        benchmark::DoNotOptimize(o.items.data());
    }
}
BENCHMARK(BM_OpenSeparateButtons)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
