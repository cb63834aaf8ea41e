#include "platform/hid/hidraw_backend.h"
#include "platform/hid/hidraw_connection.h"

#include "tests/support/mouse_interface_descriptor.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

using namespace platform::hid;
using platform::CEvent;

namespace {

namespace fs = std::filesystem;

class CFakeNodeSource : public CHidrawNodeSource {
public:
    explicit CFakeNodeSource(std::vector<HidrawNode>* nodes, int* changes)
        : nodes_(nodes), changes_(changes) {}
    bool List(std::vector<HidrawNode>& nodes) override {
        ++lists;
        nodes = *nodes_;
        return true;
    }
    int ChangeFd() const override { return -1; }
    int DrainChanges() override { return std::exchange(*changes_, 0); }
    int lists = 0;

private:
    std::vector<HidrawNode>* nodes_;
    int* changes_;
};

// A /dev and /sys of our own: hidraw3 belongs to the HID device 0003:320F:21FD.0005.
class HidrawBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = home_.Root();
        fs::create_directories(root_ / "dev");
        fs::create_directories(root_ / "sys/class/hidraw/hidraw3");
        ASSERT_EQ(::mkfifo((root_ / "dev/hidraw3").c_str(), 0600), 0);
        LinkDevice("0003:320F:21FD.0005");
        nodes_.push_back(HidrawNode{(root_ / "dev/hidraw3").string(), "0003:320F:21FD.0005",
                                    HidAttributes{0x320F, 0x21FD, 0x0103}, 1, kMouseInterfaceDescriptor});
        auto source = std::make_unique<CFakeNodeSource>(&nodes_, &changes_);
        source_ = source.get();
        backend_ = std::make_unique<CHidrawBackend>(std::move(source), (root_ / "sys").string());
    }

    void LinkDevice(const std::string& identity) {
        const fs::path link = root_ / "sys/class/hidraw/hidraw3/device";
        std::error_code ignored;
        fs::remove(link, ignored);
        fs::create_directory_symlink("../../../devices/" + identity, link);
    }

    CTempDataHome home_;
    fs::path root_;
    std::vector<HidrawNode> nodes_;
    int changes_ = 0;
    CFakeNodeSource* source_ = nullptr;
    std::unique_ptr<CHidrawBackend> backend_;
};

TEST_F(HidrawBackendTest, OffersOneEntryPerCollectionWithAWindowsStylePath) {
    std::vector<HidEntryInfo> entries;
    ASSERT_TRUE(backend_->Enumerate(entries));
    ASSERT_EQ(entries.size(), 4u);
    const std::string node = (root_ / "dev/hidraw3").string();
    EXPECT_EQ(entries[3].path, node + "#vid_320f&pid_21fd&mi_01&col04#0003:320F:21FD.0005");
    EXPECT_EQ(entries[3].collection.caps.usage_page, 0xFF1C);
    EXPECT_EQ(entries[3].attributes.version, 0x0103);
    EXPECT_EQ(entries[2].collection.caps.usage_page, 0x0C);

    // Single-collection interfaces carry no "&col"; unparsable descriptors offer nothing.
    nodes_.push_back(
        HidrawNode{"/dev/hidraw9",
                   "0003:1234:0001.0007",
                   HidAttributes{0x1234, 1, 0},
                   0,
                   {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0}});
    nodes_.push_back(
        HidrawNode{"/dev/hidraw8", "0003:1234:0002.0008", HidAttributes{0x1234, 2, 0}, 0, {0xC0}});
    ASSERT_TRUE(backend_->Enumerate(entries));
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[4].path, "/dev/hidraw9#vid_1234&pid_0001&mi_00#0003:1234:0001.0007");
}

// Node numbers are reused: a replugged device on the same node is another device.
TEST_F(HidrawBackendTest, TheExistenceProbeChecksTheNodeAndTheDeviceBehindIt) {
    std::vector<HidEntryInfo> entries;
    ASSERT_TRUE(backend_->Enumerate(entries));
    const std::string path = entries[3].path;
    EXPECT_TRUE(backend_->Exists(path));
    LinkDevice("0003:320F:21FD.0006");
    EXPECT_FALSE(backend_->Exists(path));
    EXPECT_EQ(backend_->Open(path, {}), nullptr);
    LinkDevice("0003:320F:21FD.0005");
    fs::remove(root_ / "dev/hidraw3");
    EXPECT_FALSE(backend_->Exists(path));
    EXPECT_FALSE(backend_->Exists("not a path"));
}

TEST_F(HidrawBackendTest, OpenGivesAHandleOnTheCollectionOfThePath) {
    std::vector<HidEntryInfo> entries;
    ASSERT_TRUE(backend_->Enumerate(entries));
    auto connection = backend_->Open(entries[2].path, OpenMode{true, true});
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->Info().collection.caps.usage_page, 0x0C);
    EXPECT_EQ(connection->Info().collection.index, 3);
}

TEST_F(HidrawBackendTest, ChangeCountGrowsOnlyWithReportedChanges) {
    const uint64_t first = backend_->ChangeCount();
    EXPECT_EQ(backend_->ChangeCount(), first);
    changes_ = 2;
    EXPECT_EQ(backend_->ChangeCount(), first + 2);
}

// The connection over a datagram socket pair: one read gives one report, as hidraw does.
class HidrawConnectionTest : public ::testing::Test {
protected:
    void Connect(uint16_t collection_index,
                 const std::vector<uint8_t>& descriptor = kMouseInterfaceDescriptor) {
        int fds[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK, 0, fds), 0);
        std::vector<HidEntryInfo> entries;
        ASSERT_TRUE(
            CHidrawBackend::EntriesOfNode(HidrawNode{"/dev/hidraw0", "x", {}, 1, descriptor}, entries));
        connection_ = std::make_unique<CHidrawConnection>(fds[0], entries.at(collection_index - 1));
        peer_ = fds[1];
    }
    void TearDown() override {
        if (peer_ >= 0) {
            ::close(peer_);
        }
    }
    void DeviceSends(const std::vector<uint8_t>& report) {
        ASSERT_EQ(::write(peer_, report.data(), report.size()), static_cast<ssize_t>(report.size()));
    }

    std::unique_ptr<CHidrawConnection> connection_;
    int peer_ = -1;
    CEvent abort_{CEvent::Mode::kAutoReset};
};

TEST_F(HidrawConnectionTest, ReadsSkipOtherCollectionsReportsAndPadToTheReportLength) {
    Connect(3);
    DeviceSends(std::vector<uint8_t>(64, 0x04));
    DeviceSends({0x03, 0x01, 0x04});
    uint8_t report[16] = {};
    size_t got = 0;
    ASSERT_EQ(connection_->Read(report, sizeof report, 1000, abort_, got), IoResult::kOk);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(report[0], 0x03);
    EXPECT_EQ(report[2], 0x04);
    DeviceSends({0x03, 0x01});  // short: zero-filled to the collection's length
    report[2] = 0xAA;
    ASSERT_EQ(connection_->Read(report, sizeof report, 1000, abort_, got), IoResult::kOk);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(report[2], 0);
}

TEST_F(HidrawConnectionTest, UnnumberedReportsGetIdZeroInFront) {
    Connect(1, {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0});
    DeviceSends({0x11, 0x22});
    uint8_t report[8] = {};
    size_t got = 0;
    ASSERT_EQ(connection_->Read(report, sizeof report, 1000, abort_, got), IoResult::kOk);
    EXPECT_EQ(std::vector<uint8_t>(report, report + got), (std::vector<uint8_t>{0x00, 0x11, 0x22}));
}

TEST_F(HidrawConnectionTest, TimeOutAbortShutdownAndHangUpEndAWait) {
    Connect(4);
    uint8_t report[64];
    size_t got = 7;
    EXPECT_EQ(connection_->Read(report, sizeof report, 20, abort_, got), IoResult::kTimeout);
    EXPECT_EQ(got, 0u);
    abort_.Set();
    EXPECT_EQ(connection_->Read(report, sizeof report, platform::kInfinite, abort_, got), IoResult::kAborted);
    std::thread closer([&] { connection_->Shutdown(); });
    EXPECT_EQ(connection_->Read(report, sizeof report, platform::kInfinite, abort_, got), IoResult::kClosed);
    closer.join();

    Connect(4);
    const uint8_t request[64] = {0x04, 0x01};
    size_t sent = 0;
    EXPECT_EQ(connection_->Write(request, sizeof request, 1000, abort_, sent), IoResult::kOk);
    EXPECT_EQ(sent, 64u);
    ::close(peer_);
    peer_ = -1;
    EXPECT_EQ(connection_->Read(report, sizeof report, platform::kInfinite, abort_, got), IoResult::kClosed);
}

// A wedged device stops taking reports: the write waits, and its time-out, the abort event and
// Shutdown each end the wait instead of leaving it blocked with the caller's lock held.
TEST_F(HidrawConnectionTest, AWriteTheDeviceDoesNotTakeEndsOnTimeOutAbortOrShutdown) {
    Connect(4);
    const uint8_t request[64] = {0x04, 0x01};
    size_t sent = 0;
    int taken = 0;
    while (connection_->Write(request, sizeof request, 0, abort_, sent) == IoResult::kOk) {
        ASSERT_LT(++taken, 100000) << "the peer never filled up";
    }
    const int64_t start = platform::SteadyMs();
    EXPECT_EQ(connection_->Write(request, sizeof request, 80, abort_, sent), IoResult::kTimeout);
    const int64_t waited = platform::SteadyMs() - start;
    EXPECT_GE(waited, 70);
    EXPECT_LT(waited, 1000);
    EXPECT_EQ(sent, 0u);

    std::thread aborter([&] { abort_.Set(); });
    EXPECT_EQ(connection_->Write(request, sizeof request, platform::kInfinite, abort_, sent),
              IoResult::kAborted);
    aborter.join();
    std::thread closer([&] { connection_->Shutdown(); });
    EXPECT_EQ(connection_->Write(request, sizeof request, platform::kInfinite, abort_, sent),
              IoResult::kClosed);
    closer.join();
}

}  // namespace
