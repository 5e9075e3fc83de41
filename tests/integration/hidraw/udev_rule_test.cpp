// The udev rule grants the seat's user the three devices' hidraw nodes, and nothing more.
#include "sim/device_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace zq::test {
namespace {

std::string hex4(unsigned v) {
    char b[8];
    std::snprintf(b, sizeof b, "%04x", v);
    return b;
}

TEST(UdevRule, EachLineTagsOneOfTheThreeDevicesHidrawNodesForTheSeatUserOnly) {
    std::ifstream in(std::string(ZQ_SOURCE_DIR) + "/packaging/70-zephran-q70.rules");
    ASSERT_TRUE(in) << "packaging/70-zephran-q70.rules is missing";
    const std::regex pair(R"(([A-Z]+(?:\{[A-Za-z]+\})?)(==|\+=)\"([^\"]*)\")");
    std::multiset<std::string> products;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        SCOPED_TRACE(line);
        std::map<std::string, std::string> keys;
        std::string rest = line;
        for (std::smatch m; std::regex_search(rest, m, pair); rest = m.suffix()) {
            EXPECT_TRUE(keys.emplace(m[1].str() + m[2].str(), m[3]).second) << "key repeated";
            const std::string between = m.prefix();
            EXPECT_TRUE(between.empty() || between == ", ") << "unexpected text: " << between;
        }
        EXPECT_TRUE(rest.empty()) << "unexpected text: " << rest;
        // Nothing beyond the match and the tag: no MODE, GROUP, OWNER or RUN.
        EXPECT_EQ(keys.size(), 4u);
        EXPECT_EQ(keys["SUBSYSTEM=="], "hidraw");
        EXPECT_EQ(keys["ATTRS{idVendor}=="], hex4(sim::kVendorId));
        EXPECT_EQ(keys["TAG+="], "uaccess");
        products.insert(keys["ATTRS{idProduct}=="]);
    }
    EXPECT_EQ(products, (std::multiset<std::string>{hex4(sim::kMouseProductId), hex4(sim::kPadProductId),
                                                    hex4(sim::kKeyboardProductId)}));
}

} // namespace
} // namespace zq::test
