// The decision on one security descriptor, from descriptors written in SDDL as real installs have them,
// and the path forms an elevated lookup refuses before it reads any descriptor.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include "discovery/descriptor_trust.h"
#include "discovery/held_chain.h"
#include "libraries/system/win32/unique_resource.h"
#include "support/test_paths.h"

namespace {

using Discovery::ObjectRole;

constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
constexpr wchar_t kClientUser[] = L"S-1-5-21-1-2-3-1000";    // the token the client runs with
constexpr wchar_t kStandardUser[] = L"S-1-5-21-1-2-3-1001";  // someone else on the machine

// A Program Files folder and what an administrator's installer creates below it.
constexpr wchar_t kProgramFilesDacl[] =
    L"D:PAI(A;;FA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)"
    L"(A;OICIIO;GA;;;S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)(A;;0x1301bf;;;SY)"
    L"(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)"
    L"(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)";
constexpr wchar_t kInstalledDacl[] =
    L"D:AI(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;0x1200a9;;;BU)"
    L"(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)";
// The drive root: Authenticated Users may create folders there, and what they create they may change.
constexpr wchar_t kDriveRootDacl[] =
    L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;;0x4;;;AU)"
    L"(A;OICIIO;SDGXGWGR;;;AU)";
// ProgramData: Users may create files and folders in it, not change or remove what others put there.
constexpr wchar_t kProgramDataDacl[] =
    L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICIIO;GA;;;CO)(A;OICI;0x1200a9;;;BU)"
    L"(A;CI;0x116;;;BU)";

Discovery::TrustedSids Trusted()
{
    Discovery::TrustedSids trusted;
    for (const wchar_t* text : {L"S-1-5-18", L"S-1-5-32-544", kTrustedInstaller, kClientUser}) {
        PSID sid = nullptr;
        EXPECT_TRUE(ConvertStringSidToSidW(text, &sid));
        const System::Win32::UniqueLocalMemory owner(sid);
        trusted.add(sid);
    }
    return trusted;
}

bool Decide(const std::wstring& sddl, ObjectRole role)
{
    if (sddl.empty()) {
        // What a FAT volume reports: a DACL marked present but null. Wine's SDDL parser does not give
        // one for "D:NO_ACCESS_CONTROL", so this one is put together by hand.
        SECURITY_DESCRIPTOR absolute{};
        BYTE administrators[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof administrators;
        EXPECT_TRUE(InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION) &&
                    CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
                    SetSecurityDescriptorOwner(&absolute, administrators, FALSE) &&
                    SetSecurityDescriptorDacl(&absolute, TRUE, nullptr, FALSE));
        return Discovery::NoOneElseCanChange(&absolute, role, Trusted());
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        << TestSupport::WideToUtf8(sddl);
    const System::Win32::UniqueLocalMemory owner(descriptor);
    return Discovery::NoOneElseCanChange(descriptor, role, Trusted());
}

TEST(DescriptorTrust, OnlyTrustedOwnersAndNoChangingRightsForOthersPass)
{
    const std::wstring standard = kStandardUser;
    const std::wstring admins = L"O:BA";
    struct Case {
        const char* name;
        std::wstring sddl;
        ObjectRole role;
        bool trusted;
    };
    const Case cases[] = {
        // The usual install, from the drive root down to tgc.exe.
        {"drive root",
         L"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464" + std::wstring(kDriveRootDacl),
         ObjectRole::Folder, true},
        {"Program Files", std::wstring(L"O:") + kTrustedInstaller + kProgramFilesDacl, ObjectRole::Folder, true},
        {"installed game center folder", admins + kInstalledDacl, ObjectRole::GameCenterFolder, true},
        {"installed tgc.exe", admins + kInstalledDacl, ObjectRole::File, true},
        {"ProgramData", L"O:SY" + std::wstring(kProgramDataDacl), ObjectRole::Folder, true},
        {"owned by LocalSystem", L"O:SYD:(A;;FA;;;SY)", ObjectRole::File, true},
        {"owned by the client's own user", std::wstring(L"O:") + kClientUser + L"D:(A;;FA;;;" + kClientUser + L")",
         ObjectRole::File, true},
        {"empty DACL grants nothing", L"O:BAD:", ObjectRole::GameCenterFolder, true},
        {"inherit-only entry for Users", L"O:BAD:(A;OICIIO;GA;;;BU)", ObjectRole::GameCenterFolder, true},
        {"deny entries are not grants", L"O:BAD:(D;;FA;;;WD)", ObjectRole::File, true},
        // Owned by someone else: he can change its permissions whenever he likes.
        {"Tarvo folder a standard user made", L"O:" + standard + L"D:(A;OICI;FA;;;" + standard + L")(A;OICI;FA;;;SY)",
         ObjectRole::Folder, false},
        {"file owned by Users", L"O:BUD:(A;;FA;;;SY)", ObjectRole::File, false},
        // Files others may write, append to, delete, or take over.
        {"file Users may write", admins + L"D:(A;;FA;;;SY)(A;;FW;;;BU)", ObjectRole::File, false},
        {"file Authenticated Users may modify", admins + L"D:(A;;FA;;;SY)(A;;0x1301bf;;;AU)", ObjectRole::File, false},
        {"file Everyone may write (generic)", admins + L"D:(A;;GW;;;WD)", ObjectRole::File, false},
        {"file Interactive may append to", admins + L"D:(A;;0x4;;;IU)", ObjectRole::File, false},
        {"file a standard user may delete", admins + L"D:(A;;SD;;;" + standard + L")", ObjectRole::File, false},
        {"file Users may take over", admins + L"D:(A;;WO;;;BU)", ObjectRole::File, false},
        {"file Everyone holds all (generic)", admins + L"D:(A;;GA;;;WD)", ObjectRole::File, false},
        // Folders: removing or renaming what is inside; for tgc.exe's folder also adding to it.
        {"folder Users may delete children of", admins + L"D:(A;;0x40;;;BU)", ObjectRole::Folder, false},
        {"folder Users may change permissions of", admins + L"D:(A;;WD;;;BU)", ObjectRole::Folder, false},
        {"folder Users may add files to", admins + L"D:(A;;0x1200ab;;;BU)", ObjectRole::Folder, true},
        {"game center folder Users may add files to", admins + L"D:(A;;0x1200ab;;;BU)", ObjectRole::GameCenterFolder,
         false},
        {"game center folder Users may add folders to", admins + L"D:(A;;0x4;;;BU)", ObjectRole::GameCenterFolder,
         false},
        {"game center folder Users may write (generic)", admins + L"D:(A;;GW;;;BU)", ObjectRole::GameCenterFolder,
         false},
        // No DACL at all (a FAT volume): everyone may do everything.
        {"NULL DACL (a FAT volume)", L"", ObjectRole::File, false},
        {"no DACL", L"O:BA", ObjectRole::File, false},
        {"no owner", L"D:(A;;FA;;;SY)", ObjectRole::File, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decide(c.sddl, c.role), c.trusted);
    }
}

// What the log is told: the owner or the grantee that made the difference, and the rights it holds.
TEST(DescriptorTrust, ARefusalNamesTheOwnerOrGranteeThatDecidedIt)
{
    using Kind = Discovery::ChangeRefusal::Kind;
    const struct {
        const char* name;
        const wchar_t* sddl;
        ObjectRole role;
        Kind kind;
        const wchar_t* sid;
        ACCESS_MASK rights;
    } cases[] = {
        {"owned by Users", L"O:BUD:(A;;FA;;;SY)", ObjectRole::File, Kind::UntrustedOwner, L"S-1-5-32-545", 0},
        {"no owner", L"D:(A;;FA;;;SY)", ObjectRole::File, Kind::UntrustedOwner, L"", 0},
        {"no DACL", L"O:BA", ObjectRole::File, Kind::NoDacl, L"", 0},
        // Only the rights that change a file count, of all that the entry grants.
        {"Users may write", L"O:BAD:(A;;FA;;;SY)(A;;FW;;;BU)", ObjectRole::File, Kind::Grantee, L"S-1-5-32-545",
         FILE_WRITE_DATA | FILE_APPEND_DATA},
        {"Everyone holds all (generic)", L"O:BAD:(A;;FA;;;SY)(A;;GA;;;WD)", ObjectRole::File, Kind::Grantee, L"S-1-1-0",
         DELETE | WRITE_DAC | WRITE_OWNER | FILE_WRITE_DATA | FILE_APPEND_DATA},
        {"the second of two grantees", L"O:BAD:(A;;FA;;;SY)(A;;0x40;;;AU)", ObjectRole::Folder, Kind::Grantee,
         L"S-1-5-11", FILE_DELETE_CHILD},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(
            ConvertStringSecurityDescriptorToSecurityDescriptorW(c.sddl, SDDL_REVISION_1, &descriptor, nullptr));
        const System::Win32::UniqueLocalMemory owner(descriptor);
        Discovery::ChangeRefusal why;
        EXPECT_FALSE(Discovery::NoOneElseCanChange(descriptor, c.role, Trusted(), &why));
        EXPECT_EQ(why.kind, c.kind);
        EXPECT_EQ(why.sid, c.sid);
        EXPECT_EQ(why.rights, c.rights);
    }
}

TEST(DescriptorTrust, OnlyAbsolutePathsOnALocalFixedDriveAreLookedAt)
{
    const struct {
        const wchar_t* path;
        const wchar_t* canonical;  // empty: refused
    } cases[] = {
        {L"C:\\Program Files\\Tarvo\\tgc.exe", L"C:\\Program Files\\Tarvo\\tgc.exe"},
        {L"c:/Program Files/Tarvo/../Tarvo/tgc.exe", L"c:\\Program Files\\Tarvo\\tgc.exe"},
        {L"\\\\server\\share\\tgc.exe", L""},
        {L"\\\\?\\C:\\Program Files\\tgc.exe", L""},
        {L"\\\\.\\C:\\Program Files\\tgc.exe", L""},
        {L"\\\\?\\UNC\\server\\share\\tgc.exe", L""},
        {L"Tarvo\\tgc.exe", L""},
        {L"\\Tarvo\\tgc.exe", L""},
        {L"C:tgc.exe", L""},
        {L"C:\\Tarvo\\tgc.exe:payload", L""},
        {L"Q:\\Tarvo\\tgc.exe", L""},  // no such drive
        {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.path));
        EXPECT_EQ(Discovery::LocalFixedDrivePath(c.path), c.canonical);
    }
}

}  // namespace

namespace {

TEST(DescriptorTrust, ADriveLetterMustNameAVolumeNotAFolder)
{
    // A folder made into drive M: reads back as a path in the object namespace, as subst makes it.
    const std::wstring folder = TestSupport::ScratchDir();
    ASSERT_TRUE(DefineDosDeviceW(0, L"M:", folder.c_str()));
    const bool folderDrive = Discovery::IsVolumeDrive(L'M');
    DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, L"M:", folder.c_str());
    EXPECT_FALSE(folderDrive);
    EXPECT_TRUE(Discovery::IsVolumeDrive(L'C'));
    EXPECT_FALSE(Discovery::IsVolumeDrive(L'Q')) << "no such drive";
}

}  // namespace
