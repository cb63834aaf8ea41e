#include "device/command_channel.h"

#include "device/command_report.h"
#include "platform/debug.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using Report = std::array<uint8_t, kCommandReportSize>;

constexpr uint8_t kOnlineMarker = 0xFF;

// Writes a 64-byte report as two lines of 32 bytes in the dump's fixed grouping.
void DumpReport(const char* title, const uint8_t* report) {
    if (!platform::DebugEnabled()) {
        return;
    }
    platform::DebugFormat("%s\n", title);
    for (size_t line = 0; line < 2; ++line) {
        const uint8_t* b = report + line * 32;
        platform::DebugFormat(
            "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x  "
            "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x\n",
            b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
            b[15], b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23], b[24], b[25], b[26], b[27], b[28],
            b[29], b[30], b[31]);
    }
}

Report RequestFrom(const uint8_t* request, size_t length) {
    Report report{};
    std::memcpy(report.data(), request, std::min(length, report.size()));
    return report;
}

// Fills in a chunk's header fields and seals it; the payload area is left as it is.
void PrepareChunk(Report& report, uint8_t command, size_t length, uint16_t address) {
    report[0] = kCommandReportId;
    report[kCommandCodeByte] = command;
    report[4] = static_cast<uint8_t>(length);
    report[5] = static_cast<uint8_t>(address & 0xFF);
    report[6] = static_cast<uint8_t>(address >> 8);
    report[kCommandStatusByte] = 0;
    SealCommandReport(report.data());
}

}  // namespace

int StatusResult(uint8_t status) {
    if (status == kStatusFailed) {
        return channel_result::kStatusFailed;
    }
    if (status == kStatusRejected) {
        return channel_result::kStatusRejected;
    }
    return channel_result::kOk;
}

bool CommandChannel::Open(const std::string& path, bool wireless) {
    std::lock_guard lock(ioLock_);
    if (!device_.Open(path, true, true, true, false)) {
        return false;
    }
    wireless_.store(wireless);
    open_.store(true);
    return true;
}

void CommandChannel::Close() {
    open_.store(false);
    device_.Close();
}

bool CommandChannel::SetBlockSize(uint16_t size) {
    if (size > kMaxBlockSize) {
        return false;
    }
    blockSize_.store(size);
    return true;
}

int CommandChannel::TimeoutMs() const {
    return wireless_.load() ? kWirelessTimeoutMs : kTimeoutMs;
}

int CommandChannel::Transact(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                             size_t* bytesRead) {
    struct BusyMark {
        std::atomic<int>& busy;
        explicit BusyMark(std::atomic<int>& b) : busy(b) { ++busy; }
        ~BusyMark() { --busy; }
    } mark(busy_);

    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    if (!open_.load()) {
        return channel_result::kNoReply;
    }
    const Report report = RequestFrom(request, requestLength);
    DumpReport("命令", report.data());

    const int timeout = TimeoutMs();
    {
        std::lock_guard lock(ioLock_);
        DiscardPendingInput();
        if (!device_.Write(report.data(), report.size(), timeout, nullptr)) {
            return channel_result::kWriteFailed;
        }
    }
    bool read = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        {
            std::lock_guard lock(ioLock_);
            read = device_.Read(reply, replyLength, timeout, bytesRead);
        }
        const bool echoMatches =
            replyLength > kCommandCodeByte && reply[kCommandCodeByte] == report[kCommandCodeByte];
        if (!read || echoMatches) {
            break;
        }
    }

    Report dump{};
    std::memcpy(dump.data(), reply, std::min(replyLength, dump.size()));
    DumpReport("返回", dump.data());
    return read ? channel_result::kOk : channel_result::kNoReply;
}

int CommandChannel::TransactQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply,
                                  size_t replyLength, size_t* bytesRead) {
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    if (!open_.load()) {
        return channel_result::kNoReply;
    }
    const Report report = RequestFrom(request, requestLength);
    {
        std::lock_guard lock(ioLock_);
        DiscardPendingInput();
        if (!device_.Write(report.data(), report.size(), kTimeoutMs, nullptr)) {
            return channel_result::kWriteFailed;
        }
    }
    std::lock_guard lock(ioLock_);
    return device_.Read(reply, replyLength, kTimeoutMs, bytesRead) ? channel_result::kOk
                                                                   : channel_result::kNoReply;
}

// The handle receives every input report of the interface (the keyboard, consumer and system
// reports of the device's other collections too) and the kernel keeps only 64 of them, dropping
// new ones when full. Emptying the queue before each request leaves room for the reply and
// throws away late replies of earlier exchanges with it.
void CommandChannel::DiscardPendingInput() {
    device_.DiscardPendingInput(kMaxDiscarded);
}

int CommandChannel::Exchange(uint8_t* report, uint8_t* reply, Lock lock) {
    int result = channel_result::kNoReply;
    if (lock == Lock::kExchange) {
        std::lock_guard guard(exchangeLock_);
        result = Transact(report, kCommandReportSize, reply, kCommandReportSize, nullptr);
    } else {
        result = Transact(report, kCommandReportSize, reply, kCommandReportSize, nullptr);
    }
    if (result != channel_result::kOk) {
        return result;
    }
    return StatusResult(reply[kCommandStatusByte]);
}

int CommandChannel::Chunked(uint8_t command, uint16_t address, size_t length, const uint8_t* source,
                            uint8_t* sink, size_t sinkSize, Lock lock) {
    if (!open_.load()) {
        return channel_result::kNoReply;
    }
    Report report{};
    Report reply{};
    size_t offset = 0;
    do {
        const size_t chunk = std::min(length - offset, kCommandChunkSize);
        if (source != nullptr) {
            std::memcpy(report.data() + kCommandPayloadOffset, source + offset, chunk);
        }
        PrepareChunk(report, command, chunk, static_cast<uint16_t>(address + offset));
        reply.fill(0);
        const int result = Exchange(report.data(), reply.data(), lock);
        if (result != channel_result::kOk) {
            return result;
        }
        if (sink != nullptr && offset < sinkSize) {
            std::memcpy(sink + offset, reply.data() + kCommandPayloadOffset,
                        std::min(chunk, sinkSize - offset));
        }
        offset += chunk;
    } while (offset < length);
    return channel_result::kOk;
}

int CommandChannel::BeginTransfer() {
    return Chunked(command_code::kBeginTransfer, 0, 0, nullptr, nullptr, 0, Lock::kExchange);
}

int CommandChannel::EndTransfer() {
    // The firmware needs a moment to commit what the transfer wrote before it takes the end.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Chunked(command_code::kEndTransfer, 0, 0, nullptr, nullptr, 0, Lock::kExchange);
}

int CommandChannel::ReadInfo(std::span<uint8_t, kInfoSize> info) {
    return Chunked(command_code::kReadInfo, 0, kInfoSize, nullptr, info.data(), info.size(), Lock::kExchange);
}

int CommandChannel::ReadMemory(uint16_t address, std::span<uint8_t> out) {
    return Chunked(command_code::kReadMemory, address, out.size(), nullptr, out.data(), out.size(),
                   Lock::kExchange);
}

int CommandChannel::WriteMemory(uint16_t address, std::span<const uint8_t> data) {
    return Chunked(command_code::kWriteMemory, address, data.size(), data.data(), nullptr, 0,
                   Lock::kExchange);
}

int CommandChannel::ReadKeyTable(std::span<uint8_t> out) {
    return Chunked(command_code::kReadKeyTable, 0, BlockSize(), nullptr, out.data(), out.size(),
                   Lock::kExchange);
}

int CommandChannel::WriteKeyTable(int page, std::span<const uint8_t> data) {
    if (page != 0) {
        return channel_result::kBadPage;
    }
    std::array<uint8_t, kMaxBlockSize> table{};
    const size_t size = BlockSize();
    std::memcpy(table.data(), data.data(), std::min(data.size(), size));
    return Chunked(command_code::kWriteKeyTable, 0, size, table.data(), nullptr, 0, Lock::kExchange);
}

int CommandChannel::WriteLightFrame(std::span<const uint8_t> data) {
    if (!open_.load()) {
        return channel_result::kNoReply;
    }
    Report report{};
    Report reply{};
    for (size_t offset = 0; offset < data.size(); offset += kCommandChunkSize) {
        const size_t chunk = std::min(data.size() - offset, kCommandChunkSize);
        if (IsBusy()) {
            platform::DebugOutput("放弃灯光数据\n");
            continue;
        }
        if (wireless_.load()) {
            continue;
        }
        std::memcpy(report.data() + kCommandPayloadOffset, data.data() + offset, chunk);
        PrepareChunk(report, command_code::kWriteLightFrame, chunk, static_cast<uint16_t>(offset));
        reply.fill(0);
        std::lock_guard lock(lightLock_);
        const int result = TransactQuiet(report.data(), report.size(), reply.data(), reply.size(), nullptr);
        if (result != channel_result::kOk) {
            return result;
        }
        const int status = StatusResult(reply[kCommandStatusByte]);
        if (status != channel_result::kOk) {
            return status;
        }
    }
    return channel_result::kOk;
}

int CommandChannel::WriteMacroBlock(std::span<const uint8_t> data) {
    return Chunked(command_code::kWriteMacroBlock, 0, data.size(), data.data(), nullptr, 0, Lock::kExchange);
}

int CommandChannel::WriteShootBlock(std::span<const uint8_t> data) {
    return Chunked(command_code::kWriteShootBlock, 0, data.size(), data.data(), nullptr, 0, Lock::kNone);
}

int CommandChannel::ReadRecord(uint8_t length, uint16_t address, std::span<uint8_t> out) {
    const size_t size = std::min<size_t>(length, kCommandChunkSize);
    return Chunked(command_code::kReadRecord, address, size, nullptr, out.data(), out.size(),
                   Lock::kExchange);
}

int CommandChannel::ReadLightOrder(std::span<uint8_t> out) {
    return Chunked(command_code::kReadLightOrder, 0, BlockSize() / 3, nullptr, out.data(), out.size(),
                   Lock::kExchange);
}

bool CommandChannel::IsOnline() {
    if (!open_.load()) {
        return false;
    }
    Report report{};
    Report reply{};
    PrepareChunk(report, command_code::kIsOnline, 0, 0);
    return Exchange(report.data(), reply.data(), Lock::kExchange) == channel_result::kOk &&
           reply[kCommandPayloadOffset] == kOnlineMarker;
}
