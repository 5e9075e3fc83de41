#pragma once
// Just enough JSON to read the expected-collection files that come with the reference descriptors.
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zq::hid::test {

struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, std::vector<Json>, std::map<std::string, Json>> v;

    const Json& operator[](const std::string& key) const {
        const auto& m = std::get<std::map<std::string, Json>>(v);
        auto it = m.find(key);
        if (it == m.end()) throw std::runtime_error("missing key " + key);
        return it->second;
    }
    const std::vector<Json>& array() const { return std::get<std::vector<Json>>(v); }
    const std::string& str() const { return std::get<std::string>(v); }
    double number() const { return std::get<double>(v); }
    // Numbers written either as numbers or as "0x..." strings.
    std::uint32_t asUint() const {
        if (auto* s = std::get_if<std::string>(&v))
            return static_cast<std::uint32_t>(std::stoul(*s, nullptr, 0));
        return static_cast<std::uint32_t>(number());
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : s_(text) {}
    Json parse() {
        Json j = value();
        skipSpace();
        if (p_ != s_.size()) throw std::runtime_error("trailing text in JSON");
        return j;
    }

private:
    void skipSpace() {
        while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\n' || s_[p_] == '\r' || s_[p_] == '\t')) ++p_;
    }
    char peek() {
        skipSpace();
        if (p_ >= s_.size()) throw std::runtime_error("unexpected end of JSON");
        return s_[p_];
    }
    void expect(char c) {
        if (peek() != c) throw std::runtime_error(std::string("expected ") + c);
        ++p_;
    }
    std::string string() {
        expect('"');
        std::string out;
        while (p_ < s_.size() && s_[p_] != '"') {
            if (s_[p_] == '\\' && p_ + 1 < s_.size()) ++p_; // escapes are kept as the escaped character
            out += s_[p_++];
        }
        expect('"');
        return out;
    }
    Json value() {
        const char c = peek();
        if (c == '{') {
            ++p_;
            std::map<std::string, Json> m;
            if (peek() == '}') return ++p_, Json{m};
            for (;;) {
                std::string k = string();
                expect(':');
                m.emplace(std::move(k), value());
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                expect('}');
                return Json{std::move(m)};
            }
        }
        if (c == '[') {
            ++p_;
            std::vector<Json> a;
            if (peek() == ']') return ++p_, Json{a};
            for (;;) {
                a.push_back(value());
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                expect(']');
                return Json{std::move(a)};
            }
        }
        if (c == '"') return Json{string()};
        if (s_.substr(p_, 4) == "true") return p_ += 4, Json{true};
        if (s_.substr(p_, 5) == "false") return p_ += 5, Json{false};
        if (s_.substr(p_, 4) == "null") return p_ += 4, Json{nullptr};
        std::size_t used = 0;
        const double d = std::stod(std::string(s_.substr(p_, 32)), &used);
        p_ += used;
        return Json{d};
    }

    std::string_view s_;
    std::size_t p_ = 0;
};

} // namespace zq::hid::test
