// Arbitrary update-service answers through the answer parsing, in both number bases.
#include "net/update_answer.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    CUpdateAnswer::Parse(body, 0x0103, true);
    CUpdateAnswer::Parse(body, 103, false);
    return 0;
}
