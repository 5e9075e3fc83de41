#pragma once
// Sets or clears environment variables for the length of a test and puts the old values back after.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace zq::test {

class EnvOverride {
public:
    EnvOverride() = default;
    ~EnvOverride() {
        for (const auto& [name, old] : saved_) {
            if (old)
                ::setenv(name.c_str(), old->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

    void set(const std::string& name, const std::string& value) {
        remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    void clear(const std::string& name) {
        remember(name);
        ::unsetenv(name.c_str());
    }

private:
    void remember(const std::string& name) {
        if (saved_.count(name)) return;
        const char* v = std::getenv(name.c_str());
        saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

} // namespace zq::test
