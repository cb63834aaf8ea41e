#include "platform/ipc/message_registry.h"
#include "platform/ipc/shell_messages.h"

#include <gtest/gtest.h>

namespace platform::ipc {
namespace {

TEST(MessageRegistryTest, SameNameGivesSameNumberWithoutRegardToCase) {
    const std::uint32_t first = RegisterWindowMessage("Registry test message");
    EXPECT_GE(first, kFirstRegisteredMessage);
    EXPECT_LE(first, kLastRegisteredMessage);
    EXPECT_EQ(first, RegisterWindowMessage("Registry test message"));
    EXPECT_EQ(first, RegisterWindowMessage("REGISTRY TEST MESSAGE"));
    EXPECT_NE(first, RegisterWindowMessage("Registry test message 2"));
    EXPECT_EQ("Registry test message", RegisteredMessageName(first));
}

TEST(MessageRegistryTest, EmptyAndUnknownNamesHaveNoNumber) {
    EXPECT_EQ(0u, RegisterWindowMessage(""));
    EXPECT_EQ(0u, FindWindowMessage("never registered here"));
    EXPECT_EQ(0u, FindWindowMessage("never registered here"));  // looking up registered nothing
    EXPECT_EQ("", RegisteredMessageName(0x0C11));
    EXPECT_EQ("", RegisteredMessageName(kLastRegisteredMessage));
}

TEST(MessageRegistryTest, ShellMessagesAreDistinctAndStable) {
    const SShellMessages messages = RegisterShellMessages();
    EXPECT_EQ(messages.settingsRelay, RegisterWindowMessage(kSettingsRelayMessageName));
    EXPECT_EQ(messages.lightControlAnnouncement, RegisterWindowMessage(kLightControlAnnouncementName));
    EXPECT_EQ(messages.lightControlCommand, FindWindowMessage("{4695579f-999a-41D4-9faf-effce93ebf17}"));
    EXPECT_NE(messages.settingsRelay, messages.lightControlAnnouncement);
    EXPECT_NE(messages.lightControlAnnouncement, messages.lightControlCommand);
}

}  // namespace
}  // namespace platform::ipc
