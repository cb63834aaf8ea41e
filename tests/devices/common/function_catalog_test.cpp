#include "devices/common/function_catalog.h"

#include "devices/common/assigned_name.h"
#include "devices/common/key_name_table.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(FunctionCatalogTest, EveryCodeOnceNamedAsItsKeyButtonNamesIt) {
    const std::vector<CatalogEntry> entries = CFunctionCatalog::All();
    std::set<uint32_t> codes;
    for (const CatalogEntry& entry : entries) {
        SCOPED_TRACE(entry.nameKey);
        EXPECT_TRUE(codes.insert(entry.code.Packed()).second);
        if (entry.code.type == 0x72) {
            continue;
        }
        const AssignedName name = CAssignedName::Name(entry.code, {});
        EXPECT_EQ(name, (AssignedName{AssignedName::Kind::kNameKeys, {entry.nameKey}, {}}));
    }
    // Every named key of the key table is in the list.
    for (const KeyNameEntry& row : KeyNameTable) {
        EXPECT_TRUE(codes.count(row.code.Packed())) << row.nameKey;
    }
}

TEST(FunctionCatalogTest, KeyboardKeysCarryUsageAndScanCode) {
    const std::vector<CatalogEntry> entries = CFunctionCatalog::All();
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].key.has_value(), i < kKeyboardKeyCount) << entries[i].nameKey;
    }
    EXPECT_EQ(entries[0].nameKey, "keyboard_key_LCtrl");
    EXPECT_EQ(entries[0].key->usage, 0xE0);
    EXPECT_EQ(entries[5].key->usage, 0xE5);  // RShift
    EXPECT_EQ(entries[5].key->extended, 1);
    EXPECT_EQ(entries[8].key->usage, 0x04);  // A
    EXPECT_EQ(entries[8].key->scanCode, 0x1E);
}

}  // namespace
