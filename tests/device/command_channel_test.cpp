#include "device/command_channel.h"

#include "device/command_report.h"
#include "platform/sync/event.h"
#include "sim/mouse_model.h"
#include "sim/sim_hid_bus.h"
#include "sim/simulated_mouse.h"
#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Report = CSimulatedMouse::Report;

// Waits for a condition that another thread makes true; fails the test after five seconds.
template <typename Condition>
bool WaitFor(Condition condition) {
    const auto deadline = Clock::now() + 5s;
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) {
        data[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return data;
}

uint16_t AddressOf(const Report& report) {
    return static_cast<uint16_t>(report[5] | report[6] << 8);
}

long Milliseconds(Clock::duration duration) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
}

// A channel opened on the vendor collection of an emulated mouse on its own simulated bus,
// through the same HidDevice path as the hardware.
class CommandChannelTest : public ::testing::Test {
protected:
    explicit CommandChannelTest(MouseModel model = MouseModel3325())
        : mouse_(std::make_shared<CSimulatedMouse>(std::move(model))), channel_(bus_) {
        handle_ = bus_->Plug(mouse_->Model().name, mouse_);
    }

    void SetUp() override {
        ASSERT_NE(handle_, 0u);
        ASSERT_TRUE(channel_.Open(VendorPath(), mouse_->Model().wireless));
        // The firmware takes writes only inside a transfer.
        ASSERT_EQ(channel_.BeginTransfer(), channel_result::kOk);
        mouse_->ClearRequests();
    }

    std::string VendorPath() {
        std::vector<platform::hid::HidEntryInfo> entries;
        bus_->Enumerate(entries);
        for (const auto& entry : entries) {
            if (entry.collection.usage_page == 0xFF1C && entry.collection.usage == 0x92) {
                return entry.path;
            }
        }
        return {};
    }

    std::vector<uint8_t> MemoryAt(uint16_t address, size_t length) {
        const std::vector<uint8_t> memory = mouse_->Memory();
        return {memory.begin() + address, memory.begin() + address + static_cast<std::ptrdiff_t>(length)};
    }

    std::shared_ptr<CSimHidBus> bus_ = std::make_shared<CSimHidBus>();
    std::shared_ptr<CSimulatedMouse> mouse_;
    CommandChannel channel_;
    uint64_t handle_ = 0;
};

class WirelessChannelTest : public CommandChannelTest {
protected:
    WirelessChannelTest() : CommandChannelTest(MouseModel3389Wireless()) {}
};

TEST(CommandReport, ChecksumIsTheSumOfBytes3To63LowByteFirst) {
    Report report{};
    report[3] = 0xFF;
    report[4] = 0x46;
    std::fill(report.begin() + 8, report.begin() + 8 + 17, 0xFF);  // 0xFF + 0x46 + 17 * 0xFF = 0x1234
    report[0] = 0x04;
    SealCommandReport(report.data());
    EXPECT_EQ(report[1], 0x34);
    EXPECT_EQ(report[2], 0x12);
}

TEST_F(CommandChannelTest, CommandWithoutPayloadHasChecksumOne) {
    EXPECT_EQ(channel_.BeginTransfer(), channel_result::kOk);
    const std::vector<Report> sent = mouse_->Requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][0], 0x04);
    EXPECT_EQ(sent[0][1], 0x01);
    EXPECT_EQ(sent[0][2], 0x00);
    EXPECT_EQ(sent[0][3], 0x01);
}

TEST_F(CommandChannelTest, ReadMemorySplitsIntoChunksAtAddressPlusOffset) {
    struct Case {
        size_t length;
        std::vector<std::pair<uint8_t, uint16_t>> reports;  // length, address
    };
    const Case cases[] = {{49, {{49, 0x0080}}}, {120, {{56, 0x0080}, {56, 0x00B8}, {8, 0x00F0}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        mouse_->ClearRequests();
        std::vector<uint8_t> out(c.length);
        ASSERT_EQ(channel_.ReadMemory(0x0080, out), channel_result::kOk);
        EXPECT_EQ(out, MemoryAt(0x0080, c.length));

        const std::vector<Report> sent = mouse_->Requests();
        ASSERT_EQ(sent.size(), c.reports.size());
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i][3], command_code::kReadMemory);
            EXPECT_EQ(sent[i][4], c.reports[i].first);
            EXPECT_EQ(AddressOf(sent[i]), c.reports[i].second);
        }
    }
}

TEST_F(CommandChannelTest, WriteChunksKeepThePreviousChunksBytesAfterAShortPayload) {
    const std::vector<uint8_t> block = Pattern(86, 3);
    ASSERT_EQ(channel_.WriteMacroBlock(block), channel_result::kOk);
    const std::vector<uint8_t> memory = mouse_->MacroMemory();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.begin()));

    const std::vector<Report> sent = mouse_->Requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1][4], 30);
    EXPECT_EQ(AddressOf(sent[1]), 56);
    // Bytes after the 30-byte payload still hold the first chunk's data, and the checksum
    // (which the firmware checked) covers them.
    EXPECT_TRUE(std::equal(sent[1].begin() + 8 + 30, sent[1].end(), block.begin() + 30));
    EXPECT_EQ(sent[1][1] | sent[1][2] << 8, CommandChecksum(sent[1].data()));

    mouse_->ClearRequests();
    ASSERT_EQ(channel_.WriteMacroBlock(Pattern(10, 9)), channel_result::kOk);
    const Report first = mouse_->Requests().at(0);
    EXPECT_TRUE(std::all_of(first.begin() + 18, first.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(CommandChannelTest, KeyTableMovesTheBlockSize) {
    EXPECT_FALSE(channel_.SetBlockSize(513));
    EXPECT_EQ(channel_.BlockSize(), 512);
    const std::vector<uint8_t> factory = mouse_->KeyTable();
    ASSERT_TRUE(channel_.SetBlockSize(static_cast<uint16_t>(factory.size())));

    std::vector<uint8_t> table(512, 0xEE);
    ASSERT_EQ(channel_.ReadKeyTable(table), channel_result::kOk);
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), table.begin()));
    EXPECT_EQ(table[21], 0xEE);

    std::vector<uint8_t> changed = mouse_->KeyTable();
    changed[0] = 0xA0;
    changed[1] = 0x1B;
    ASSERT_EQ(channel_.WriteKeyTable(0, changed), channel_result::kOk);
    EXPECT_EQ(mouse_->KeyTable(), changed);
}

TEST_F(CommandChannelTest, KeyTablePageOtherThanZeroIsRefusedWithoutSending) {
    EXPECT_EQ(channel_.WriteKeyTable(1, mouse_->KeyTable()), channel_result::kBadPage);
    EXPECT_TRUE(mouse_->Requests().empty());
}

TEST_F(CommandChannelTest, ErrorStatusStopsTheRemainingChunks) {
    struct Case {
        FaultKind fault;
        int result;
    };
    for (const Case& c : {Case{FaultKind::kStatusRejected, channel_result::kStatusRejected},
                          Case{FaultKind::kStatusFailed, channel_result::kStatusFailed}}) {
        mouse_->ClearRequests();
        const std::vector<uint8_t> before = mouse_->MacroMemory();
        mouse_->Faults().Add(c.fault, 1);
        EXPECT_EQ(channel_.WriteMacroBlock(Pattern(150, 1)), c.result);
        EXPECT_EQ(mouse_->Requests().size(), 2u);
        const std::vector<uint8_t> after = mouse_->MacroMemory();
        EXPECT_TRUE(std::equal(after.begin() + 56, after.end(), before.begin() + 56));
    }
}

TEST_F(CommandChannelTest, AReplyOfAnotherCommandIsPassedOverOnce) {
    std::vector<uint8_t> info(32);
    mouse_->Faults().Add(FaultKind::kStrayReply);
    ASSERT_EQ(channel_.ReadMemory(0x0080, std::span(info).first(20)), channel_result::kOk);
    EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.begin() + 20), MemoryAt(0x0080, 20));
    EXPECT_EQ(mouse_->Requests().size(), 1u);
}

TEST_F(CommandChannelTest, TheSecondReplyIsTakenWhateverItNames) {
    mouse_->Faults().Add(FaultKind::kStrayReply);
    mouse_->Faults().Add(FaultKind::kStrayReply);
    std::vector<uint8_t> out(20, 0xEE);
    EXPECT_EQ(channel_.ReadMemory(0x0080, out), channel_result::kOk);
    EXPECT_EQ(out, std::vector<uint8_t>(20, 0));  // the second stray's empty payload

    // The real reply is still queued; the next command drops it before its request.
    std::array<uint8_t, 32> info{};
    ASSERT_EQ(channel_.ReadInfo(info), channel_result::kOk);
    EXPECT_EQ(info[9] | info[10] << 8, 0x3325);
}

TEST_F(CommandChannelTest, AWrongEchoWithNothingBehindItEndsAfterTheSecondRead) {
    mouse_->Faults().Add(FaultKind::kWrongEcho);
    std::array<uint8_t, 32> info{};
    const auto start = Clock::now();
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kNoReply);
    EXPECT_GE(Milliseconds(Clock::now() - start), 900);
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kOk);
}

// Typing with a button assigned to a key fills the handle's queue with keyboard reports; the
// kernel keeps 64 and drops the newest, which would be the reply.
TEST_F(CommandChannelTest, UnrelatedInputOfTheInterfaceDoesNotCrowdOutTheReply) {
    std::array<uint8_t, 32> info{};
    std::vector<uint8_t> memory(200);
    const auto start = Clock::now();
    for (int round = 0; round < 3; ++round) {
        mouse_->TypeKeys(3 * CSimHidBus::kQueuedReports);
        ASSERT_EQ(channel_.ReadInfo(info), channel_result::kOk) << round;
        EXPECT_EQ(info[9] | info[10] << 8, 0x3325);
        mouse_->TypeKeys(CSimHidBus::kQueuedReports + 1);
        ASSERT_EQ(channel_.ReadMemory(0x0080, memory), channel_result::kOk) << round;
        EXPECT_EQ(memory, MemoryAt(0x0080, memory.size()));
    }
    EXPECT_LT(Milliseconds(Clock::now() - start), 900);
}

TEST_F(CommandChannelTest, LostReplyTimesOutAndTheChannelStaysUsable) {
    mouse_->Faults().Add(FaultKind::kNoReply);
    std::array<uint8_t, 32> info{};
    const auto start = Clock::now();
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kNoReply);
    const long elapsed = Milliseconds(Clock::now() - start);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 3000);
    EXPECT_TRUE(channel_.IsOpen());
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kOk);
}

TEST_F(CommandChannelTest, ClosedChannelSendsNothingAndReturnsZero) {
    channel_.Close();
    std::vector<uint8_t> buffer(64);
    std::array<uint8_t, 32> info{};
    EXPECT_EQ(channel_.BeginTransfer(), channel_result::kNoReply);
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kNoReply);
    EXPECT_EQ(channel_.ReadMemory(0, buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.WriteMemory(0, buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.ReadKeyTable(buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.WriteKeyTable(0, buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.WriteLightFrame(buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.WriteMacroBlock(buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.WriteShootBlock(buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.ReadRecord(6, 0, buffer), channel_result::kNoReply);
    EXPECT_EQ(channel_.ReadLightOrder(buffer), channel_result::kNoReply);
    EXPECT_FALSE(channel_.IsOnline());
    const auto start = Clock::now();
    EXPECT_EQ(channel_.EndTransfer(), channel_result::kNoReply);
    EXPECT_GE(Milliseconds(Clock::now() - start), 10);
    EXPECT_TRUE(mouse_->Requests().empty());
}

TEST_F(CommandChannelTest, DumpsEachExchange) {
    CDebugCapture capture;
    ASSERT_EQ(channel_.BeginTransfer(), channel_result::kOk);
    const std::string zeros =
        "00 00 00 00   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 "
        "00 "
        "00\n";
    const std::string first =
        "04 01 00 01   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 "
        "00 "
        "00\n";
    // The reply echoes the request and, with status 0, carries the same checksum.
    const std::string expected = "命令\n" + first + zeros + "返回\n" + first + zeros;
    EXPECT_EQ(capture.Text(), expected);
}

TEST_F(CommandChannelTest, LightFrameIsDroppedWhileACommandIsInProgress) {
    mouse_->SetReplyDelay(300ms);
    auto command = std::async(std::launch::async, [this] { return channel_.BeginTransfer(); });
    ASSERT_TRUE(WaitFor([this] { return channel_.IsBusy(); }));
    {
        CDebugCapture capture;
        const auto start = Clock::now();
        EXPECT_EQ(channel_.WriteLightFrame(Pattern(18, 0)), channel_result::kOk);
        EXPECT_LT(Milliseconds(Clock::now() - start), 100);
        EXPECT_NE(capture.Text().find("放弃灯光数据"), std::string::npos);
    }
    EXPECT_EQ(command.get(), channel_result::kOk);
    EXPECT_EQ(mouse_->LightFrameCount(), 0u);

    mouse_->SetReplyDelay(0ms);
    CDebugCapture quiet;
    EXPECT_EQ(channel_.WriteLightFrame(Pattern(18, 0)), channel_result::kOk);
    EXPECT_EQ(mouse_->LightFrameCount(), 1u);
    EXPECT_EQ(quiet.Text(), "");  // light frames are not dumped
}

TEST_F(CommandChannelTest, LightFrameChunkStatusIsChecked) {
    mouse_->Faults().Add(FaultKind::kStatusRejected, 1);
    EXPECT_EQ(channel_.WriteLightFrame(Pattern(126 * 3, 0)), channel_result::kStatusRejected);
    EXPECT_EQ(mouse_->Requests().size(), 2u);
}

TEST_F(CommandChannelTest, UnplugDuringAMultiReportWriteEndsWithAResult) {
    mouse_->Faults().Add(FaultKind::kUnplug, 3);
    const auto start = Clock::now();
    const int result = channel_.WriteMacroBlock(Pattern(1000, 5));
    EXPECT_TRUE(result == channel_result::kNoReply || result == channel_result::kWriteFailed) << result;
    EXPECT_LT(Milliseconds(Clock::now() - start), 900);
    EXPECT_EQ(mouse_->Requests().size(), 3u);

    std::array<uint8_t, 32> info{};
    EXPECT_NE(channel_.ReadInfo(info), channel_result::kOk);
}

TEST_F(CommandChannelTest, CloseFromAnotherThreadCutsAWaitingCommandShort) {
    mouse_->Faults().Add(FaultKind::kNoReply);
    auto command = std::async(std::launch::async, [this] {
        std::array<uint8_t, 32> info{};
        return channel_.ReadInfo(info);
    });
    ASSERT_TRUE(WaitFor([this] { return channel_.Device().ReadPending(); }));
    const auto start = Clock::now();
    channel_.Close();
    EXPECT_EQ(command.get(), channel_result::kNoReply);
    EXPECT_LT(Milliseconds(Clock::now() - start), 500);
}

TEST_F(CommandChannelTest, RecordsAndUnknownCommands) {
    std::vector<uint8_t> power(6);
    ASSERT_EQ(channel_.ReadRecord(6, 0, power), channel_result::kOk);
    EXPECT_EQ(power, (std::vector<uint8_t>{100, 0, 0, 0, 0, 0}));
    EXPECT_EQ(mouse_->Requests().back()[4], 6);

    // The mouse has no light order; its firmware fails the command.
    std::vector<uint8_t> order(170);
    EXPECT_EQ(channel_.ReadLightOrder(order), channel_result::kStatusFailed);
    EXPECT_TRUE(channel_.IsOnline());
}

TEST_F(WirelessChannelTest, WaitsFiveSecondsForAReply) {
    mouse_->SetReplyDelay(1500ms);
    std::array<uint8_t, 32> info{};
    EXPECT_EQ(channel_.ReadInfo(info), channel_result::kOk);
    EXPECT_EQ(info[9] | info[10] << 8, 0x3389);

    // A wired channel gives up after one second; the late reply then waits in the queue and the
    // next exchange passes over it.
    channel_.SetWireless(false);
    EXPECT_EQ(channel_.BeginTransfer(), channel_result::kNoReply);
    mouse_->SetReplyDelay(0ms);
    channel_.SetWireless(true);
    EXPECT_EQ(channel_.EndTransfer(), channel_result::kOk);
}

TEST_F(WirelessChannelTest, OnlineCheckAndLightFrames) {
    EXPECT_TRUE(channel_.IsOnline());
    mouse_->SetOnline(false);
    EXPECT_FALSE(channel_.IsOnline());
    mouse_->SetOnline(true);
    mouse_->Faults().Add(FaultKind::kStatusFailed);
    EXPECT_FALSE(channel_.IsOnline());

    mouse_->ClearRequests();
    EXPECT_EQ(channel_.WriteLightFrame(Pattern(18, 0)), channel_result::kOk);
    EXPECT_TRUE(mouse_->Requests().empty());
}

}  // namespace
