// The catalogue's entries, texts and addresses, and the codes that show nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <string>

#include "ui/framework/win_app.h"
#include "ui/notification_catalogue.h"
#include "ui/text_buffer.h"
#include "ui/web_addresses.h"

namespace {

using Ui::NotificationKind;

TEST(NotificationCatalogue, EveryEntryHasItsKindTextsAndCaption)
{
    const struct {
        std::int32_t code;
        NotificationKind kind;
        std::wstring message;
        std::wstring caption;
    } expected[] = {
        {103, NotificationKind::Install,
         L"Tarvo Game Center is required to update this game.\n"
         L"Please install the application using the installer.",
         L"Install Tarvo Game Center"},
        {105, NotificationKind::Install,
         L"Tarvo Game Center is required to uninstall this game.\n"
         L"Please install the application using the installer.",
         L"Install Tarvo Game Center"},
        {106, NotificationKind::Install,
         L"Tarvo Game Center is required to change client type for this game.\n"
         L"Please install the application using the installer.",
         L"Install Tarvo Game Center"},
        {108, NotificationKind::Install,
         L"Your version of Tarvo Game Center is outdated.\n"
         L"Please reinstall the application using the installer.",
         L"Reinstall Tarvo Game Center"},
        {110, NotificationKind::Install,
         L"Tarvo Game Center is required.\n"
         L"Please install the application using the installer.",
         L"Install Tarvo Game Center"},
        {111, NotificationKind::Support,
         L"The game is already running. You can continue the current game session or close it.\n"
         L"Can't see the game? Go to Player Support.",
         L"Close"},
        {112, NotificationKind::Support,
         L"Another game is running. To launch this game, first close the running one.\n"
         L"Can't see the game? Go to Player Support.",
         L"Close"},
    };
    for (const auto& e : expected) {
        const Ui::NotificationEntry* entry = Ui::FindNotification(e.code);
        ASSERT_NE(entry, nullptr) << e.code;
        EXPECT_EQ(entry->code, e.code);
        EXPECT_EQ(entry->kind, e.kind) << e.code;
        EXPECT_EQ(Ui::NotificationMessage(*entry), e.message) << e.code;
        EXPECT_EQ(std::wstring(entry->buttonCaption), e.caption) << e.code;
    }
}

TEST(NotificationCatalogue, CodesWithoutAnEntryFindNothing)
{
    const std::int32_t codes[] = {0, -1, 1, 102, 104, 107, 109, 113, 203, INT_MIN, INT_MAX};
    for (const std::int32_t code : codes)
        EXPECT_EQ(Ui::FindNotification(code), nullptr) << code;
}

TEST(NotificationCatalogue, CodesWithoutAnEntryReturnAtOnceAndReleaseTheApplication)
{
    const std::int32_t codes[] = {0, -1, 104, 107, 109, 113};
    for (const std::int32_t code : codes) {
        const auto start = std::chrono::steady_clock::now();
        Ui::ShowNotification(code);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << code;
        EXPECT_EQ(Win32xx::GetApp(), nullptr) << code;
    }
}

TEST(WebAddresses, BothAreSecureAddressesOnOneHostWithTheirPaths)
{
    const std::wstring host = std::wstring(L"https://") + Ui::kWebHost + L"/";
    EXPECT_EQ(Ui::InstallerAddress(), host + L"tgcinstaller");
    EXPECT_EQ(Ui::SupportAddress(), host + L"support/products/tgc/");
    EXPECT_EQ(std::wstring(Ui::kWebHost).find(L"example"), std::wstring::npos);
}

TEST(TextBuffer, HoldsAtMost65535CharactersAndEndsInNul)
{
    const struct {
        std::size_t length;
        std::size_t kept;
    } cases[] = {{0, 0}, {17, 17}, {65535, 65535}, {65536, 65535}, {70000, 65535}};
    for (const auto& c : cases) {
        const std::wstring text(c.length, L'x');
        const Ui::TextBuffer buffer = Ui::CopyToTextBuffer(text.c_str());
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(std::wstring(buffer.get()).size(), c.kept) << c.length;
        EXPECT_EQ(buffer[Ui::kTextBufferChars - 1], L'\0');
    }
    EXPECT_EQ(Ui::CopyToTextBuffer(nullptr), nullptr);
}

}  // namespace
