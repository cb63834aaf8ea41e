#include "net/update_round.h"

#include "net/curl_transfer.h"

RoundResult CUpdateRound::Run(const CFirmwareList& list, const CUpdateService& service,
                              platform::CEvent* abort) {
    RoundResult round;
    if (!service.IsConfigured()) {
        round.verdict = RoundResult::Verdict::kNoService;
        return round;
    }
    for (const FirmwareRow& row : list.Rows()) {
        if (row.version == 0) {
            continue;
        }
        const std::string key = CFirmwareList::ApplicationKey(row);
        CheckResult result = service.CheckOneRow(key, row.version, row.kind != 0, abort);
        round.checked.push_back({row, key, result});
        if (CCurlTransfer::IsAborted(abort)) {
            round.verdict = RoundResult::Verdict::kStopped;
            return round;
        }
        if (result.path.empty()) {
            continue;
        }
        if (result.Unreachable()) {
            round.verdict = RoundResult::Verdict::kUnreachable;
            return round;
        }
        if (result.status != CheckResult::kStatusUpToDate) {
            round.verdict = RoundResult::Verdict::kSomethingNew;
            return round;
        }
    }
    return round;
}
