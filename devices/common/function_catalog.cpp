#include "devices/common/function_catalog.h"

#include "devices/common/function_tables.h"
#include "devices/common/key_name_table.h"
#include "devices/common/scan_code_table.h"

#include <algorithm>
#include <span>

namespace {

uint8_t UsageOf(const KeyFunctionCode& code) {
    for (uint8_t bit = 0; bit < 8; ++bit) {
        if (code.param1 == 1u << bit) {
            return static_cast<uint8_t>(0xE0 + bit);
        }
    }
    return code.param2;
}

class CCatalogBuilder {
public:
    void Add(std::string_view nameKey, const KeyFunctionCode& code, std::optional<CatalogKey> key = {}) {
        const bool known = std::any_of(entries_.begin(), entries_.end(),
                                       [&](const CatalogEntry& entry) { return entry.code == code; });
        if (!known) {
            entries_.push_back({std::string(nameKey), code, key});
        }
    }
    std::vector<CatalogEntry> Take() { return std::move(entries_); }

private:
    std::vector<CatalogEntry> entries_;
};

}  // namespace

std::vector<CatalogEntry> CFunctionCatalog::All() {
    CCatalogBuilder catalog;
    for (size_t i = 0; i < ScanCodeTable.size(); ++i) {
        const ScanCodeEntry& scan = ScanCodeTable[i];
        catalog.Add(KeyNameTable[i].nameKey, scan.code,
                    CatalogKey{UsageOf(scan.code), scan.scanCode, scan.extended});
    }
    // The panel's tables before the rest of the key table, so consumer and system codes carry the
    // names their key buttons show.
    for (const auto& table :
         {std::span<const NamedCode>(MouseKeyTable), std::span<const NamedCode>(DpiTable),
          std::span<const NamedCode>(MediaTable), std::span<const NamedCode>(SystemTable)}) {
        for (const NamedCode& row : table) {
            catalog.Add(row.nameKey, row.code);
        }
    }
    for (size_t i = ScanCodeTable.size(); i < KeyNameTable.size(); ++i) {
        catalog.Add(KeyNameTable[i].nameKey, KeyNameTable[i].code);
    }
    catalog.Add(SwingNames[0], {FunctionType::kMouseSwing, 0x00, 0x01});
    catalog.Add(SwingNames[1], {FunctionType::kMouseSwing, 0x00, 0x81});
    catalog.Add(WheelNames[0], {FunctionType::kMouseWheel, 0x00, 0x01});
    catalog.Add(WheelNames[1], {FunctionType::kMouseWheel, 0x00, 0xFF});
    for (size_t i = 0; i < ShortcutNames.size(); ++i) {
        catalog.Add(ShortcutNames[i], {FunctionType::kShortcut, 0, static_cast<uint8_t>(i)});
    }
    for (size_t i = 0; i < GunNames.size(); ++i) {
        catalog.Add(GunNames[i], {FunctionType::kGunKey, static_cast<uint8_t>(i), 0});
    }
    // The mouse's own functions; its button rows are left to MouseKeyTable, whose bits are right,
    // and its 0x20 rows are keyboard codes.
    for (const NamedCode& row : MouseFunctionTable) {
        if (row.code.type != FunctionType::kMouseButton && row.code.type != FunctionType::kKeyboardKey) {
            catalog.Add(row.nameKey, row.code);
        }
    }
    return catalog.Take();
}
