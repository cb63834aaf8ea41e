#include "audio/osconf/os_conf_lib.h"

#include "audio/osconf/os_conf_chip.h"

#include <cstring>
#include <mutex>
#include <string>

// The exported entry points: one chip per process, behind one lock.

#define OSCONF_EXPORT __attribute__((visibility("default")))

namespace {

std::mutex chipMutex;
COsConfChip chip;
bool initialised = false;

}  // namespace

extern "C" {

OSCONF_EXPORT int ConfLibInit() {
    std::lock_guard lock(chipMutex);
    initialised = chip.Init();
    return initialised ? 0 : -1;
}

OSCONF_EXPORT int ConfLibUnInit() {
    std::lock_guard lock(chipMutex);
    initialised = false;
    return 0;
}

OSCONF_EXPORT int CreateDeviceList() {
    return 0;
}

OSCONF_EXPORT int GetDeviceCount(int flow, int* count) {
    std::lock_guard lock(chipMutex);
    if (count == nullptr) {
        return -1;
    }
    *count = initialised ? chip.DeviceCount(flow) : 0;
    return 0;
}

OSCONF_EXPORT int GetDeviceById(int flow, int index, AudioDeviceDescriptor* descriptor) {
    std::lock_guard lock(chipMutex);
    if (descriptor == nullptr || !initialised) {
        return -1;
    }
    const std::optional<AudioDeviceDescriptor> device = chip.Device(flow, index);
    if (!device) {
        return -1;
    }
    *descriptor = *device;
    return 0;
}

OSCONF_EXPORT int PropertyControl(AudioDeviceDescriptor descriptor, const char* name, void** value,
                                  void** index, int write) {
    std::lock_guard lock(chipMutex);
    if (!initialised || name == nullptr || value == nullptr || *value == nullptr) {
        return -1;
    }
    int32_t firstIndex = 0;
    if (index != nullptr && *index != nullptr) {
        std::memcpy(&firstIndex, *index, sizeof firstIndex);
    }
    if (write != 0) {
        return chip.Write(descriptor, name, *value, firstIndex);
    }
    std::string text;
    const int result = chip.Read(descriptor, name, text);
    if (result == 0) {
        const size_t length = std::min(text.size(), static_cast<size_t>(kOsConfValueBufferSize - 1));
        std::memcpy(*value, text.data(), length);
        static_cast<char*>(*value)[length] = '\0';
    }
    return result;
}

OSCONF_EXPORT int RegisterCallbackFunction(void (*)(int, void*), void*) {
    return 0;
}

OSCONF_EXPORT int ShowAsioPanel() {
    return -1;
}

OSCONF_EXPORT int PlayTestSound(AudioDeviceDescriptor) {
    return -1;
}

OSCONF_EXPORT int StopTestSound(AudioDeviceDescriptor) {
    return -1;
}

OSCONF_EXPORT int CloseTestSound(AudioDeviceDescriptor) {
    return -1;
}
}
