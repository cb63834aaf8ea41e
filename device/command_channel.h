#pragma once

#include "device/hid_device.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

// Results of every channel operation.
namespace channel_result {
inline constexpr int kOk = 1;
inline constexpr int kNoReply = 0;            // channel closed (nothing sent), or no reply read
inline constexpr int kWriteFailed = -1;       // the request report could not be written
inline constexpr int kStatusFailed = -102;    // the reply's status byte was 0xFF
inline constexpr int kStatusRejected = -103;  // the reply's status byte was 0xFE
inline constexpr int kBadPage = -201;         // key table page other than 0
}  // namespace channel_result

// The request/reply transport to a device's firmware over 64-byte reports with report id 0x04
// (layout in device/command_report.h), one per HID interface of a device.
//
// Each command sends its data in chunks of 56 bytes, one report per chunk, each carrying its
// length in byte 4 and its address (start address + offset into the transfer) in bytes 5-6. A
// command stops at the first chunk that fails and returns that chunk's result; the request
// buffer is reused from chunk to chunk, so a short last chunk carries the previous chunk's bytes
// after its payload (the checksum covers them). A closed channel returns kNoReply from every
// command without touching the device; EndTransfer still pauses first.
//
// Before each request the reports queued on the handle are read and dropped, so that input of
// the interface's other collections cannot crowd the reply out of the kernel's queue.
//
// Time-outs: 1000 ms for each write and each read, 5000 ms when the device is reached through a
// wireless receiver. A write time-out gives kWriteFailed, a read time-out kNoReply; the
// interface stays open. A reply that names another command in byte 3 is read once more and the
// second reply is taken whatever it names, which lets a late reply of an earlier exchange be
// passed over.
//
// Threads: the UI thread, the device's light and sync threads and the discovery thread share
// one channel. The exchange lock is held for one request/reply exchange (one chunk), and inside
// it the I/O lock for the single write and again for the single read; Open takes the I/O lock.
// Chunks of commands from two threads may interleave; each report carries its own address.
// Light frames take only the light lock and are dropped while a command is in progress;
// WriteShootBlock takes no exchange lock. Close clears the open flag first and relies on the
// device's abort to cut a waiting transfer short, so it never waits for a slow reply.
//
// Diagnostics: every exchange of Transact is dumped to the debug output as "命令" and "返回",
// each followed by the report as two lines of 32 bytes.
class CommandChannel {
public:
    static constexpr uint16_t kMaxBlockSize = 512;
    static constexpr size_t kInfoSize = 32;
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kWirelessTimeoutMs = 5000;

    // On the process bus, or on the given one.
    CommandChannel() = default;
    explicit CommandChannel(std::shared_ptr<platform::hid::CHidBackend> backend)
        : device_(std::move(backend)) {}
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    // Opens the interface for read and write, overlapped and shared; the channel is open on
    // success. Taken under the I/O lock.
    bool Open(const std::string& path, bool wireless = false);
    // Clears the open flag, then closes the interface; later commands return kNoReply.
    void Close();
    bool IsOpen() const { return open_.load(); }

    void SetWireless(bool wireless) { wireless_.store(wireless); }
    bool IsWireless() const { return wireless_.load(); }
    void SetSynchronisedLighting(bool on) { synchronisedLighting_.store(on); }
    bool SynchronisedLighting() const { return synchronisedLighting_.load(); }
    // True while a Transact is in progress on any thread.
    bool IsBusy() const { return busy_.load() > 0; }

    // The interface itself, for the notification reader that only reads from it.
    HidDevice& Device() { return device_; }
    std::mutex& IoLock() { return ioLock_; }

    // The size that the key table and light order commands move; at most kMaxBlockSize.
    bool SetBlockSize(uint16_t size);
    uint16_t BlockSize() const { return blockSize_.load(); }

    // One exchange: the request (cut or zero-filled to 64 bytes) is written, and a reply of
    // replyLength bytes is read into reply, with the single re-read on a wrong echo. Returns
    // kOk, kNoReply (closed, or the reply could not be read) or kWriteFailed. Marks the channel
    // busy and writes the debug dump.
    int Transact(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                 size_t* bytesRead);
    // The same with one write and one read of 1000 ms each, no busy mark, no echo check and no
    // dump: the light frames' exchange.
    int TransactQuiet(const uint8_t* request, size_t requestLength, uint8_t* reply, size_t replyLength,
                      size_t* bytesRead);

    int BeginTransfer();
    // Sleeps 10 ms first, also when the channel is closed.
    int EndTransfer();
    int ReadInfo(std::span<uint8_t, kInfoSize> info);
    int ReadMemory(uint16_t address, std::span<uint8_t> out);
    int WriteMemory(uint16_t address, std::span<const uint8_t> data);
    // Reads BlockSize() bytes; only as many as fit are kept in out.
    int ReadKeyTable(std::span<uint8_t> out);
    // Sends BlockSize() bytes, zeros after the end of data; kBadPage without sending for a page
    // other than 0.
    int WriteKeyTable(int page, std::span<const uint8_t> data);
    // A chunk is dropped (and counts as sent) while a command is in progress, with the debug
    // text "放弃灯光数据", and never sent over a wireless receiver.
    int WriteLightFrame(std::span<const uint8_t> data);
    int WriteMacroBlock(std::span<const uint8_t> data);
    int WriteShootBlock(std::span<const uint8_t> data);
    // One report of up to 56 bytes at address; only as many as fit are kept in out.
    int ReadRecord(uint8_t length, uint16_t address, std::span<uint8_t> out);
    // Reads BlockSize() / 3 bytes; only as many as fit are kept in out.
    int ReadLightOrder(std::span<uint8_t> out);
    // True only when the exchange succeeded, the status is not an error and byte 8 is 0xFF.
    bool IsOnline();

private:
    enum class Lock { kExchange, kNone };
    // Bounds the emptying of the queue when a device floods it faster than it can be read.
    static constexpr size_t kMaxDiscarded = 256;

    // Moves length bytes in chunks from source (writes) or into sink (reads).
    int Chunked(uint8_t command, uint16_t address, size_t length, const uint8_t* source, uint8_t* sink,
                size_t sinkSize, Lock lock);
    int Exchange(uint8_t* report, uint8_t* reply, Lock lock);
    // Reads and drops what is queued on the handle; called under the I/O lock before a request.
    void DiscardPendingInput();
    int TimeoutMs() const;

    HidDevice device_;
    std::mutex ioLock_;
    std::mutex exchangeLock_;
    std::mutex lightLock_;
    std::atomic<uint16_t> blockSize_{kMaxBlockSize};
    std::atomic<int> busy_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> synchronisedLighting_{false};
    std::atomic<bool> wireless_{false};
};

// Maps a reply's status byte to kStatusFailed / kStatusRejected, or kOk for any other value.
int StatusResult(uint8_t status);
