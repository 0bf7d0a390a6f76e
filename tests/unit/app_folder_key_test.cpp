// The folder key is shared with the game center: expected values are FNV-1a sums worked out independently.
#include <gtest/gtest.h>

#include "app/folder_key.h"

namespace {

struct KeyCase {
    const wchar_t* folder;
    std::uint32_t key;
};

TEST(FolderKey, MatchesTheGameCentersKeyForEverySpelling)
{
    const KeyCase cases[] = {
        {L"C:\\Games\\X\\", 1618767713u},  // hash of C:/GAMES/X
        {L"c:/games/x", 1618767713u},
        {L"C:\\Games\\X", 1618767713u},
        {L"c:\\GAMES/x/", 1618767713u},
        {L"", 0u},
        {L"\\", 0u},
        {L"/", 0u},
        {L"\\\\", 2412923130u},  // only one separator is dropped: hash of "/"
        {L"a", 1792377636u},
        {L"\u00e9a", 130373781u},  // é stays small below 256
        {L"\u00c9a", 16794101u},
        {L"c:\\\u0438\u0433\u0440\u044b\\\u0442\u0430\u0440\u0432\u043e", 1264083126u},  // c:\игры\тарво
        {L"C:/\u0418\u0413\u0420\u042b/\u0422\u0410\u0420\u0412\u041e/", 1264083126u},   // C:/ИГРЫ/ТАРВО/
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(ZGC::ComputeFolderKey(c.folder), c.key)
            << "folder: " << ::testing::PrintToString(std::wstring(c.folder));
}

TEST(FolderKey, UpperCasesAsciiAndLettersAbove255Only)
{
    const std::pair<wchar_t, wchar_t> cases[] = {
        {L'a', L'A'},           {L'z', L'Z'},           {L'A', L'A'},           {L'{', L'{'},
        {L'\u00e9', L'\u00e9'}, {L'\u00ff', L'\u00ff'}, {L'\u0101', L'\u0100'}, {L'\u0431', L'\u0411'},
        {L'\u0451', L'\u0401'}, {L'\u0411', L'\u0411'}, {L'\uffff', L'\uffff'}, {L'\u4e2d', L'\u4e2d'},
    };
    for (const auto& [unit, upper] : cases)
        EXPECT_EQ(static_cast<int>(ZGC::UpperCaseUnitForKey(unit)), static_cast<int>(upper))
            << "unit U+" << std::hex << static_cast<int>(unit);
}

TEST(FolderKey, EventNameIsTheKeyInUnsignedDecimal)
{
    EXPECT_EQ(ZGC::UninstallEventName(0), L"0tgc_uninstall_mtx");
    EXPECT_EQ(ZGC::UninstallEventName(1618767713u), L"1618767713tgc_uninstall_mtx");
    EXPECT_EQ(ZGC::UninstallEventName(4294967295u), L"4294967295tgc_uninstall_mtx");
    EXPECT_EQ(ZGC::UninstallEventName(ZGC::ComputeFolderKey(L"\\")), L"0tgc_uninstall_mtx");
}

}  // namespace
