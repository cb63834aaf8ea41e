#include "net/firmware_catalogue.h"

#include "platform/product.h"

const std::array<FirmwareRow, CFirmwareCatalogue::kRowCount>& CFirmwareCatalogue::Rows() {
    static const std::array<FirmwareRow, kRowCount> rows{{
        {1, 0, 0, "QUORL", "NV4001M", platform::kProductName, platform::kProductName, "Ver1.0"},
        {2, 0, 0, "QUORL", "NV4001K", "Norvik Gaming Keyboard", "Norvik Gaming Keyboard", ""},
        {2, 1, 0, "QUORL", "NV4001P", "Norvik Gaming Mouse Pad", "Norvik Gaming Mouse Pad", ""},
        {2, 0, 0, "QUORL", "NV4001H", "Norvik HS6533 Headset", "Norvik HS6533 Headset", "V1"},
        {1, 1, 0, "QUORL", "NV4001M3389", "Norvik 400100 Gaming Mouse 3389",
         "Norvik 400100 Gaming Mouse 3389", ""},
        {0, 0, 0, "QUORL", "ALL", platform::kProductName, platform::kProductName, "Ver1.0"},
    }};
    return rows;
}
