#include "platform/hid/hid_backend.h"

#include "platform/hid/hidraw_backend.h"

#include <mutex>

namespace platform::hid {
namespace {

std::mutex& BackendMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<CHidBackend>& Installed() {
    static std::shared_ptr<CHidBackend> backend;
    return backend;
}

}  // namespace

std::shared_ptr<CHidBackend> ProcessBackend() {
    std::lock_guard lock(BackendMutex());
    if (Installed() == nullptr) {
        Installed() = std::make_shared<CHidrawBackend>();
    }
    return Installed();
}

void SetProcessBackend(std::shared_ptr<CHidBackend> backend) {
    std::lock_guard lock(BackendMutex());
    Installed() = std::move(backend);
}

}  // namespace platform::hid
