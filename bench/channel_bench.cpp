// The command channel's cost per report exchange over the simulated transport, beside the
// transport alone: the difference is what framing, locks, echo matching and the debug dump add.

#include "device/command_channel.h"
#include "device/command_report.h"
#include "device/hid_device.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

struct PluggedMouse {
    std::shared_ptr<CSimHidBus> bus = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse = std::make_shared<CSimulatedMouse>(MouseModel3389());
    std::string path;

    PluggedMouse() {
        bus->Plug(mouse->Model().name, mouse);
        std::vector<platform::hid::HidEntryInfo> entries;
        bus->Enumerate(entries);
        for (const auto& entry : entries) {
            if (entry.collection.usage_page == 0xFF1C) {
                path = entry.path;
            }
        }
    }
};

// One 49-byte parameter read as a bare write and read of 64-byte reports.
void BM_TransportExchange(benchmark::State& state) {
    PluggedMouse plugged;
    HidDevice device(plugged.bus);
    if (!device.Open(plugged.path, true, true, true, false)) {
        state.SkipWithError("cannot open the simulated mouse");
        return;
    }
    std::array<uint8_t, kCommandReportSize> request{kCommandReportId,          0,  0,
                                                    command_code::kReadMemory, 49, 0x80};
    SealCommandReport(request.data());
    std::array<uint8_t, kCommandReportSize> reply{};
    for (auto _ : state) {
        if (!device.Write(request.data(), request.size(), 1000) ||
            !device.Read(reply.data(), reply.size(), 1000)) {
            state.SkipWithError("exchange failed");
            return;
        }
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_TransportExchange);

// The same read through CommandChannel::ReadMemory: one report, one exchange.
void BM_ChannelExchange(benchmark::State& state) {
    PluggedMouse plugged;
    CommandChannel channel(plugged.bus);
    if (!channel.Open(plugged.path)) {
        state.SkipWithError("cannot open the simulated mouse");
        return;
    }
    std::vector<uint8_t> record(49);
    for (auto _ : state) {
        if (channel.ReadMemory(0x0080, record) != channel_result::kOk) {
            state.SkipWithError("exchange failed");
            return;
        }
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_ChannelExchange);

}  // namespace
