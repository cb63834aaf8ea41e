#include "platform/ipc/message_registry.h"

#include "platform/text.h"

#include <map>
#include <mutex>
#include <vector>

namespace platform::ipc {
namespace {

struct CRegistry {
    std::mutex mutex;
    std::map<std::string, std::uint32_t> numbers;  // by folded name
    std::vector<std::string> names;                // by number - kFirstRegisteredMessage
};

CRegistry& Registry() {
    static CRegistry registry;
    return registry;
}

}  // namespace

std::uint32_t RegisterWindowMessage(const std::string& name) {
    if (name.empty()) {
        return 0;
    }
    CRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    const std::string folded = ToLower(name);
    if (auto found = registry.numbers.find(folded); found != registry.numbers.end()) {
        return found->second;
    }
    const std::uint32_t number = kFirstRegisteredMessage + static_cast<std::uint32_t>(registry.names.size());
    if (number > kLastRegisteredMessage) {
        return 0;
    }
    registry.numbers.emplace(folded, number);
    registry.names.push_back(name);
    return number;
}

std::uint32_t FindWindowMessage(const std::string& name) {
    CRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    const auto found = registry.numbers.find(ToLower(name));
    return found == registry.numbers.end() ? 0 : found->second;
}

std::string RegisteredMessageName(std::uint32_t message) {
    CRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    if (message < kFirstRegisteredMessage || message - kFirstRegisteredMessage >= registry.names.size()) {
        return {};
    }
    return registry.names[message - kFirstRegisteredMessage];
}

}  // namespace platform::ipc
