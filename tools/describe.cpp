#include "device/hid/descriptor_text.h"
#include "tools/hid_tool.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace zq::tools {

std::string collectionsJson(const std::vector<hid::TopLevelCollection>& collections) {
    std::ostringstream s;
    s << "{\"collections\":[";
    for (std::size_t i = 0; i < collections.size(); ++i) {
        const auto& c = collections[i];
        if (i) s << ',';
        s << "{\"usage_page\":" << c.usagePage << ",\"usage\":" << c.usage << ",\"report_ids\":[";
        for (std::size_t k = 0; k < c.reportIds.size(); ++k) s << (k ? "," : "") << unsigned{c.reportIds[k]};
        s << "],\"input_report_length\":" << c.inputReportLength
          << ",\"output_report_length\":" << c.outputReportLength
          << ",\"feature_report_length\":" << c.featureReportLength << '}';
    }
    s << "]}";
    return s.str();
}

int describeContent(const std::string& content, const std::string& name, std::ostream& out,
                    std::ostream& err) {
    const auto bytes = hid::readDescriptorContent(content);
    if (!bytes.ok()) {
        err << "zq70-hid: " << name << ": " << bytes.error << '\n';
        return kExitFailure;
    }
    if (bytes.bytes.empty()) {
        err << "zq70-hid: " << name << ": no descriptor bytes in the file\n";
        return kExitFailure;
    }
    const auto parsed = hid::parseReportDescriptor(bytes.bytes);
    if (!parsed.ok()) {
        err << "zq70-hid: " << name << ": malformed report descriptor: " << parsed.error->message
            << " (at byte " << parsed.error->offset << ")\n";
        return kExitFailure;
    }
    out << collectionsJson(parsed.collections) << '\n';
    return kExitOk;
}

int describeFile(const std::string& file, std::ostream& out, std::ostream& err) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        err << "zq70-hid: cannot open " << file << '\n';
        return kExitFailure;
    }
    // Descriptors are at most a few kilobytes; refuse to swallow something that cannot be one.
    constexpr std::streamsize kMaxFile = 1 << 20;
    std::string content;
    content.resize(static_cast<std::size_t>(kMaxFile) + 1);
    in.read(content.data(), kMaxFile + 1);
    if (in.bad()) {
        err << "zq70-hid: cannot read " << file << '\n';
        return kExitFailure;
    }
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > static_cast<std::size_t>(kMaxFile)) {
        err << "zq70-hid: " << file << " is too large to be a report descriptor\n";
        return kExitFailure;
    }
    return describeContent(content, file, out, err);
}

} // namespace zq::tools
