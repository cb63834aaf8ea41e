#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Clears the named environment variables for the life of the object and restores them after,
// so a test sees neither the user's proxy nor their update service.
class CEnvironmentGuard {
public:
    explicit CEnvironmentGuard(std::vector<std::string> names) {
        for (const std::string& name : names) {
            const char* value = std::getenv(name.c_str());
            saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(name.c_str());
        }
    }
    ~CEnvironmentGuard() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    CEnvironmentGuard(const CEnvironmentGuard&) = delete;
    CEnvironmentGuard& operator=(const CEnvironmentGuard&) = delete;

    static std::vector<std::string> NetworkVariables() {
        return {"http_proxy", "HTTP_PROXY", "https_proxy",      "HTTPS_PROXY",
                "no_proxy",   "NO_PROXY",   "NORVIK_UPDATE_URL"};
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};
