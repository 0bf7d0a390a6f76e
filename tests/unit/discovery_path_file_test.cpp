// The path file under the common application-data folder: what it names, and that it wins over the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "discovery/locate_game_center.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/test_paths.h"
#include "support/trust_seam.h"

namespace {

using Discovery::ReadPathFile;
using TestSupport::ScopedNoGameCenter;
using TestSupport::ScopedPathFile;
using TestSupport::ScopedUninstallEntry;
using TestSupport::WideToUtf8;

// A registry entry naming a real file, so "the registry was consulted" shows in the result.
class PathFile : public ::testing::Test {
protected:
    const std::wstring registryPath_ = TestSupport::FixtureGameCenterPath(L"26.0.2.1046");
    ScopedNoGameCenter clean_;
    ScopedUninstallEntry registry_{HKEY_CURRENT_USER, registryPath_};
};

// What the path file names, read as a run without administrator rights reads it.
std::wstring PathFileNames()
{
    return ReadPathFile(L"Tarvo\\GameCenter", L"tgc.exe", L"tgc_path.dat", TestSupport::TestRunRule(false).trusted);
}

// The whole lookup of a run with or without administrator rights.
std::wstring Located(bool administratorRights = false)
{
    return Discovery::LocateGameCenter(TestSupport::TestRunRule(administratorRights)).path();
}

std::string Printable(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

TEST_F(PathFile, NamesTheFolderOfTheExecutable)
{
    const struct {
        std::string bytes;
        std::wstring located;
    } cases[] = {
        {"D:\\Apps\\Center", L"D:\\Apps\\Center\\tgc.exe"},
        {"D:\\Apps\\Center\\", L"D:\\Apps\\Center\\tgc.exe"},
        {"D:\\Apps\\Center\\\\", L"D:\\Apps\\Center\\tgc.exe"},
        {"D:/Apps/Center/", L"D:/Apps/Center\\tgc.exe"},
        {"D:\\", L"D:\\tgc.exe"},
        {"D:/", L"D:/tgc.exe"},
        {"d:\\apps\\center", L"D:\\apps\\center\\tgc.exe"},
        {"\\\\?\\d:\\apps", L"\\\\?\\D:\\apps\\tgc.exe"},
        {"\\\\server\\share\\center", L"\\\\server\\share\\center\\tgc.exe"},
        {"D:", L"D:tgc.exe"},
    };
    for (const auto& c : cases) {
        ScopedPathFile file(c.bytes);
        EXPECT_EQ(PathFileNames(), c.located) << Printable(c.bytes);
    }
}

TEST_F(PathFile, DecodesUtf8AsATextFile)
{
    const struct {
        std::string bytes;
        std::wstring located;
    } cases[] = {
        // A byte-order mark and final line breaks are not part of the folder.
        {"\xEF\xBB\xBF"
         "D:\\Apps",
         L"D:\\Apps\\tgc.exe"},
        {"D:\\Apps\n", L"D:\\Apps\\tgc.exe"},
        {"D:\\Apps\r\n", L"D:\\Apps\\tgc.exe"},
        {"D:\\Apps\r", L"D:\\Apps\\tgc.exe"},
        {"D:\\Apps\\\r\n\r\n", L"D:\\Apps\\tgc.exe"},
        {"\xEF\xBB\xBF"
         "D:\\Apps\r\n",
         L"D:\\Apps\\tgc.exe"},
        // Only one mark is dropped, and only at the start.
        {"\xEF\xBB\xBF\xEF\xBB\xBF"
         "D:\\A",
         L"\uFEFFD:\\A\\tgc.exe"},
        {"D:\\A\xEF\xBB\xBF", L"D:\\A\uFEFF\\tgc.exe"},
        // Text mode: CR LF inside reads as LF, a lone CR stays.
        {"D:\\A\r\nB", L"D:\\A\nB\\tgc.exe"},
        {"D:\\A\rB", L"D:\\A\rB\\tgc.exe"},
        // Nothing else is trimmed.
        {" D:\\Apps ", L" D:\\Apps \\tgc.exe"},
        {"D:\\Apps\t", L"D:\\Apps\t\\tgc.exe"},
        {"\"D:\\Apps\"", L"\"D:\\Apps\"\\tgc.exe"},
        {"%ProgramData%\\Apps", L"%ProgramData%\\Apps\\tgc.exe"},
        // UTF-8 of every length, including a character beyond the first 65536.
        {"D:\\Caf\xC3\xA9\\\xD0\x96\xE2\x82\xAC", L"D:\\Caf\u00e9\\\u0416\u20ac\\tgc.exe"},
        {"D:\\\xF0\x9F\x98\x80"
         "x",
         L"D:\\\U0001F600x\\tgc.exe"},
        {"D:\\\xF4\x8F\xBF\xBF", L"D:\\\U0010FFFF\\tgc.exe"},
        // An invalid sequence ends the text; what came before counts.
        {"D:\\Ap\xFFps", L"D:\\Ap\\tgc.exe"},
        {"D:\\Ap\x80ps", L"D:\\Ap\\tgc.exe"},
        {"D:\\Ap\xC0\xAFps", L"D:\\Ap\\tgc.exe"},        // overlong
        {"D:\\Ap\xED\xA0\x80ps", L"D:\\Ap\\tgc.exe"},    // an encoded surrogate
        {"D:\\Ap\xF4\x90\x80\x80", L"D:\\Ap\\tgc.exe"},  // beyond U+10FFFF
        {"D:\\Ap\xE2\x82", L"D:\\Ap\\tgc.exe"},          // cut short at the end
        // Ctrl-Z ends a text file.
        {"D:\\Ap\x1Aps", L"D:\\Ap\\tgc.exe"},
        {"D:\\Apps\\\x1A", L"D:\\Apps\\tgc.exe"},
    };
    for (const auto& c : cases) {
        ScopedPathFile file(c.bytes);
        EXPECT_EQ(PathFileNames(), c.located) << Printable(c.bytes);
    }
}

TEST_F(PathFile, WithoutAFolderTextTheRegistryIsConsulted)
{
    const std::string cases[] = {
        "",
        "\xEF\xBB\xBF",
        "\r\n",
        "\n\n",
        "\x1A"
        "D:\\Apps",
        "\xFF"
        "D:\\Apps",
        "\xEF\xBB\xBF\r\n",
    };
    for (const std::string& bytes : cases) {
        ScopedPathFile file(bytes);
        EXPECT_EQ(Located(), registryPath_) << Printable(bytes);
    }
    EXPECT_EQ(Located(), registryPath_) << "no path file at all";
}

TEST_F(PathFile, NamingAFolderWithoutTheExecutableEndsTheLookupInEveryRun)
{
    ScopedUninstallEntry machine(HKEY_LOCAL_MACHINE, registryPath_);
    for (const std::wstring& folder : {std::wstring(L"D:\\Apps\\Center"), TestSupport::BuildDir()}) {
        ScopedPathFile file(folder);
        EXPECT_EQ(Located(false), L"") << "standard rights, " << WideToUtf8(folder);
        EXPECT_EQ(Located(true), L"") << "administrator rights, " << WideToUtf8(folder);
    }
    ScopedPathFile file(TestSupport::FixtureGameCenterFolder(L"27.0.0.0"));
    EXPECT_EQ(Located(true), TestSupport::FixtureGameCenterPath(L"27.0.0.0")) << "with tgc.exe there";
}

TEST_F(PathFile, WideFolderTextIsWrittenAsUtf8)
{
    const std::wstring folder = L"Z:\\Spiele \u00fcberall\\\U0001F3AE";
    ScopedPathFile file(folder);
    EXPECT_EQ(PathFileNames(), folder + L"\\tgc.exe");
}

TEST_F(PathFile, IsReadWhileOthersHoldItOpenForReadingOrWriting)
{
    ScopedPathFile file(std::string("D:\\Apps"));
    const struct {
        DWORD access, share;
    } holders[] = {
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},  // the game center rewriting it
        {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
        {GENERIC_READ, FILE_SHARE_READ},  // a reader that lets no one write
        {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    for (const auto& holder : holders) {
        const System::Win32::UniqueFile held(CreateFileW(TestSupport::PathFilePath().c_str(), holder.access,
                                                         holder.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                         nullptr));
        ASSERT_TRUE(held.valid()) << GetLastError();
        EXPECT_EQ(PathFileNames(), L"D:\\Apps\\tgc.exe") << std::hex << holder.access << " " << holder.share;
    }
}

TEST_F(PathFile, HeldWithoutSharingItCountsAsAbsent)
{
    ScopedPathFile file(std::string("D:\\Apps"));
    {
        const System::Win32::UniqueFile exclusive(CreateFileW(TestSupport::PathFilePath().c_str(), GENERIC_READ, 0,
                                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(exclusive.valid()) << GetLastError();
        EXPECT_EQ(Located(), registryPath_);
    }
    EXPECT_EQ(PathFileNames(), L"D:\\Apps\\tgc.exe");
}

TEST_F(PathFile, ReadPathFileJoinsItsArguments)
{
    ScopedPathFile file(std::string("D:\\Apps"));
    const Discovery::TrustedSids trusted = TestSupport::TestRunRule(false).trusted;
    EXPECT_EQ(ReadPathFile(L"Tarvo\\GameCenter", L"other.exe", L"tgc_path.dat", trusted), L"D:\\Apps\\other.exe");
    EXPECT_EQ(ReadPathFile(L"Tarvo\\GameCenter\\", L"tgc.exe", L"tgc_path.dat", trusted), L"D:\\Apps\\tgc.exe");
    EXPECT_EQ(ReadPathFile(L"Tarvo\\GameCenter", L"tgc.exe", L"missing.dat", trusted), L"");
    const std::wstring pathFile = TestSupport::PathFilePath();
    const std::wstring missing = pathFile.substr(0, pathFile.find_last_of(L'\\') + 1) + L"missing.dat";
    const bool created = GetFileAttributesW(missing.c_str()) != INVALID_FILE_ATTRIBUTES;
    DeleteFileW(missing.c_str());  // a created one would fail the next run too
    EXPECT_FALSE(created) << "looking for it created it";
    EXPECT_EQ(ReadPathFile(L"Tarvo\\Elsewhere", L"tgc.exe", L"tgc_path.dat", trusted), L"");
}

}  // namespace

namespace {

using Discovery::ChainVerdict;

// The choice among the sources, from what each named file is found to be.
TEST(GameCenterChoice, TakesTheFirstTrustedCandidatePassingOverUntrustedAndStoppingAtMissing)
{
    constexpr wchar_t kPathFile[] = L"C:\\PF\\tgc.exe";
    constexpr wchar_t kUser[] = L"C:\\User\\tgc.exe";
    constexpr wchar_t kMachine[] = L"C:\\Machine\\tgc.exe";
    const struct {
        const char* name;
        std::wstring pathFile;
        std::vector<std::wstring> entries;
        std::map<std::wstring, ChainVerdict> found;  // unlisted: trusted
        std::wstring chosen;
    } cases[] = {
        {"path file first", kPathFile, {kUser, kMachine}, {}, kPathFile},
        {"path file untrusted: passed over", kPathFile, {kMachine}, {{kPathFile, ChainVerdict::Untrusted}}, kMachine},
        {"path file without tgc.exe: not installed", kPathFile, {kMachine}, {{kPathFile, ChainVerdict::Missing}}, L""},
        {"entry with icon index", L"", {std::wstring(kMachine) + L",0"}, {}, kMachine},
        {"entry untrusted: the next one", L"", {kUser, kMachine}, {{kUser, ChainVerdict::Untrusted}}, kMachine},
        {"entry naming nothing: not installed", L"", {kUser, kMachine}, {{kUser, ChainVerdict::Missing}}, L""},
        {"entry naming another program", L"", {L"C:\\Windows\\System32\\cmd.exe", kMachine}, {}, kMachine},
        {"a program called tgc.exe.bak", L"", {L"C:\\A\\tgc.exe.bak", kMachine}, {}, kMachine},
        {"upper-case name", L"", {L"C:\\A\\TGC.EXE,0"}, {}, L"C:\\A\\TGC.EXE"},
        {"a bare name", L"", {L"tgc.exe", kMachine}, {}, kMachine},
        {"quoted", L"", {L"\"C:\\A\\tgc.exe\"", kMachine}, {}, kMachine},
        {"everything untrusted",
         kPathFile,
         {kMachine},
         {{kPathFile, ChainVerdict::Untrusted}, {kMachine, ChainVerdict::Untrusted}},
         L""},
        {"no sources", L"", {}, {}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::wstring> tried;
        const Discovery::HeldChain chosen =
            Discovery::ChooseGameCenter({c.pathFile, c.entries}, [&](const std::wstring& executable) {
                tried.push_back(executable);
                const auto found = c.found.find(executable);
                return Discovery::HeldChain(executable, found == c.found.end() ? ChainVerdict::Trusted : found->second);
            });
        EXPECT_EQ(chosen.path(), c.chosen);
        EXPECT_EQ(chosen.trusted(), !c.chosen.empty());
        EXPECT_TRUE(c.chosen.empty() || tried.back() == c.chosen) << "nothing after the choice is looked at";
    }
}

}  // namespace
