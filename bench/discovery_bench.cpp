// A discovery pass with nothing new, over a fake sysfs tree of 30 hidraw nodes: one bound mouse
// (two collections in use) and 29 other HID devices, or 30 other devices. What an idle pass costs is what the
// discovery thread spends every 100 ms for the life of the program.
//
//   cmake --preset release && cmake --build --preset release --target discovery_bench
//   build-release/bench/discovery_bench

#include "device/device_discovery.h"
#include "platform/hid/hidraw_backend.h"
#include "sim/mouse_descriptor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

// A boot keyboard: one collection, generic desktop / keyboard.
const std::vector<uint8_t> kKeyboardDescriptor = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25,
    0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

// Nodes listed from a fixed table, with a change monitor that has seen nothing.
class CFixedNodeSource : public platform::hid::CHidrawNodeSource {
public:
    explicit CFixedNodeSource(std::vector<platform::hid::HidrawNode> nodes) : nodes_(std::move(nodes)) {}
    bool List(std::vector<platform::hid::HidrawNode>& nodes) override {
        nodes = nodes_;
        return true;
    }
    int ChangeFd() const override { return -1; }
    int DrainChanges() override { return 0; }

private:
    std::vector<platform::hid::HidrawNode> nodes_;
};

// /dev/hidrawN stand-ins and /sys/class/hidraw/hidrawN/device links in a temporary folder.
class CFakeSysfs {
public:
    static constexpr int kNodes = 30;

    explicit CFakeSysfs(bool withMouse) {
        std::string pattern = (fs::temp_directory_path() / "norvik-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary folder");
        }
        root_ = pattern;
        fs::create_directories(root_ / "dev");
        for (int index = 0; index < kNodes; ++index) {
            const bool mouse = withMouse && index == 7;
            platform::hid::HidrawNode node;
            const std::string name = "hidraw" + std::to_string(index);
            char identity[32];
            std::snprintf(identity, sizeof(identity), "0003:%04X:%04X.%04X", mouse ? 0x320F : 0x046D,
                          mouse ? 0x21FD : 0xC300 + index, index + 1);
            node.devnode = (root_ / "dev" / name).string();
            std::ofstream(node.devnode).put('\0');
            node.identity = identity;
            node.attributes = {static_cast<uint16_t>(mouse ? 0x320F : 0x046D),
                               static_cast<uint16_t>(mouse ? 0x21FD : 0xC300 + index), 0x0100};
            node.interface_number = mouse ? 1 : 0;
            node.descriptor = mouse ? MouseInterface1Descriptor() : kKeyboardDescriptor;
            const fs::path device = root_ / "sys/devices/usb" / identity;
            fs::create_directories(device);
            fs::create_directories(root_ / "sys/class/hidraw" / name);
            fs::create_directory_symlink(device, root_ / "sys/class/hidraw" / name / "device");
            nodes_.push_back(std::move(node));
        }
    }
    ~CFakeSysfs() {
        std::error_code error;
        fs::remove_all(root_, error);
    }

    std::shared_ptr<platform::hid::CHidBackend> Backend() const {
        return std::make_shared<platform::hid::CHidrawBackend>(std::make_unique<CFixedNodeSource>(nodes_),
                                                               (root_ / "sys").string());
    }

private:
    fs::path root_;
    std::vector<platform::hid::HidrawNode> nodes_;
};

class CCountingListener : public CDiscoveryListener {
public:
    void InterfaceArrived(int, const InterfaceSlot&) override { ++arrived; }
    void InterfaceRemoved(int, const InterfaceSlot&) override { ++removed; }
    int arrived = 0;
    int removed = 0;
};

void BM_IdleDiscoveryPass(benchmark::State& state) {
    const bool withMouse = state.range(0) != 0;
    CFakeSysfs sysfs(withMouse);
    CCountingListener listener;
    CDeviceDiscovery discovery(listener, sysfs.Backend());
    discovery.RunPass();  // binds the mouse's two collections
    if (listener.arrived != (withMouse ? 2 : 0)) {
        state.SkipWithError("the mouse of the fake tree was not bound");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(discovery.RunPass());
    }
    if (listener.removed != 0) {
        state.SkipWithError("an idle pass lost the mouse");
    }
}
// 1: a bound mouse, whose two collections get the existence probe; 0: nothing bound.
BENCHMARK(BM_IdleDiscoveryPass)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
