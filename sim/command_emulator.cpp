#include "sim/command_emulator.h"

#include "device/command_report.h"
#include "sim/mouse_descriptor.h"

#include <algorithm>
#include <utility>

namespace {

bool Has(const std::vector<FaultKind>& faults, FaultKind kind) {
    return std::find(faults.begin(), faults.end(), kind) != faults.end();
}

uint8_t OtherCommand(uint8_t command) {
    return command == command_code::kBeginTransfer ? command_code::kEndTransfer
                                                   : command_code::kBeginTransfer;
}

std::vector<uint8_t> Bytes(const CCommandEmulator::Report& report) {
    return {report.begin(), report.end()};
}

// What a late reply of an earlier exchange looks like: another command's echo, no data.
CCommandEmulator::Report Stray(const CCommandEmulator::Report& request) {
    CCommandEmulator::Report stray{};
    stray[0] = kCommandReportId;
    stray[kCommandCodeByte] = OtherCommand(request[kCommandCodeByte]);
    SealCommandReport(stray.data());
    return stray;
}

}  // namespace

// A refusal played on purpose (in the firmware's framing, without carrying the request out), or
// what the firmware answers.
std::optional<CCommandEmulator::Report> CCommandEmulator::Answer(const Report& request,
                                                                 std::span<const uint8_t> raw,
                                                                 const std::vector<FaultKind>& faults) {
    const bool failed = Has(faults, FaultKind::kStatusFailed);
    if (failed || Has(faults, FaultKind::kStatusRejected)) {
        Report reply{};
        std::copy_n(request.begin(), kCommandStatusByte, reply.begin());
        reply[kCommandStatusByte] = failed ? kStatusFailed : kStatusRejected;
        SealCommandReport(reply.data());
        return reply;
    }
    return HandleRequest(raw);
}

bool CCommandEmulator::OnOutputReport(std::span<const uint8_t> report) {
    if (report.empty() || report[0] != kCommandReportId) {
        return true;
    }
    Report request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    const std::vector<FaultKind> faults = faults_.Take();
    if (Has(faults, FaultKind::kUnplug)) {
        RequestUnplug();
        return true;
    }
    std::optional<Report> reply;
    bool stateChanged = false;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (requests_.size() > kRequestLogSize) {
            requests_.pop_front();
        }
        reply = Answer(request, report, faults);
        const uint8_t command = request[kCommandCodeByte];
        dirty_ = dirty_ || (reply && (*reply)[kCommandStatusByte] == 0 && ChangesState(command));
        stateChanged = command == command_code::kEndTransfer && std::exchange(dirty_, false);
    }
    std::vector<std::vector<uint8_t>> replies;
    // Played in the plan's order: two strays send two late replies.
    for (const FaultKind fault : faults) {
        if (fault == FaultKind::kStrayReply) {
            replies.push_back(Bytes(Stray(request)));
        }
        if (fault == FaultKind::kNoReply) {
            reply.reset();
        }
        if (fault == FaultKind::kWrongEcho && reply) {
            (*reply)[kCommandCodeByte] = OtherCommand((*reply)[kCommandCodeByte]);
            SealCommandReport(reply->data());
        }
    }
    if (reply) {
        replies.push_back(Bytes(*reply));
    }
    Deliver(std::move(replies));
    if (stateChanged) {
        NotifyStateChanged();
    }
    return true;
}

void CCommandEmulator::Deliver(std::vector<std::vector<uint8_t>> replies) {
    for (std::vector<uint8_t>& reply : replies) {
        SendInputReport(std::move(reply));
    }
}

void CCommandEmulator::SendUsage(uint16_t usage) {
    SendInputReport(
        {kConsumerReportId, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)});
}

std::vector<CCommandEmulator::Report> CCommandEmulator::Requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void CCommandEmulator::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}
