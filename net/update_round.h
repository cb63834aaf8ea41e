#pragma once

#include "net/firmware_list.h"
#include "net/update_service.h"
#include "platform/sync/event.h"

#include <vector>

// One row that a round asked about, with what the service said.
struct CheckedRow {
    FirmwareRow row;
    std::string applicationKey;
    CheckResult result;
};

// What a round of checks found.
struct RoundResult {
    enum class Verdict {
        kNothingNew,    // every checked row is up to date or gave no information
        kSomethingNew,  // the last checked row has a newer version
        kUnreachable,   // the service could not be reached; the round stopped there
        kNoService,     // no service is configured; nothing was asked
        kStopped,       // the abort event was set
    };
    Verdict verdict = Verdict::kNothingNew;
    std::vector<CheckedRow> checked;  // in the order asked
};

// One round of the update check: the rows of the list whose version is not 0, in order, each
// checked once. A row that gives no information (empty path) is passed over; an unreachable
// service ends the round with nothing new; the first row with a newer version ends it with
// something new.
//
// Thread safety: any thread; blocks for the requests.
class CUpdateRound {
public:
    static RoundResult Run(const CFirmwareList& list, const CUpdateService& service,
                           platform::CEvent* abort = nullptr);
};
