// Arbitrary bytes as NORVIK_SIM_FAULTS: a plan is taken whole or not at all, and playing it never

#include "platform/json_file.h"
// fails. The same bytes go through the writer's unescaping of styled JSON text.

#include "profile/json_document.h"
#include "sim/fault_plan.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CFaultPlan plan;
    std::string error;
    const bool taken = plan.AddFromText(text, &error);
    if (taken != error.empty()) {
        std::abort();  // a plan either adds its faults or says why not
    }
    for (int request = 0; request < 8; ++request) {
        plan.Take();
    }
    const std::string unescaped = CJsonFile::UnescapeNonAscii(std::string(text));
    if (unescaped.size() > text.size()) {
        std::abort();  // UTF-8 of an escape is never longer than the escape
    }
    return 0;
}
