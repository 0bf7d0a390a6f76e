// The shipped executable is hardened for a folder that other programs can write:
// ASLR (with high-entropy addresses where the image is 64-bit), DEP, no writable code, and only
// DLLs that Windows always takes from the system folder in its import table. Its manifest names
// the architecture of its image, or real Windows refuses to start it. Every function it imports is
// on a reviewed list, with the Windows version that introduced it, none newer than Windows 7 SP1.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/test_paths.h"

namespace {

// The KnownDLLs of Windows: never searched for in the application folder.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",   "difxapi.dll", "gdi32.dll",
    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll", "msctf.dll",   "msvcrt.dll",  "normaliz.dll",
    "nsi.dll",      "ole32.dll",    "oleaut32.dll", "psapi.dll",    "rpcrt4.dll",  "sechost.dll", "setupapi.dll",
    "shcore.dll",   "shell32.dll",  "shlwapi.dll",  "user32.dll",   "wldap32.dll", "ws2_32.dll",
};

class PeImage {
public:
    explicit PeImage(const std::wstring& path)
    {
        std::ifstream file(path.c_str(), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    bool loaded() const { return bytes_.size() > sizeof(IMAGE_DOS_HEADER); }

    // The headers of either layout (PE32 or PE32+), so that a 64-bit test program can check the
    // 32-bit client too, on a machine that cannot run 32-bit programs.
    struct Headers {
        IMAGE_FILE_HEADER FileHeader;
        struct {
            WORD Magic;
            WORD MajorOperatingSystemVersion, MinorOperatingSystemVersion;
            WORD MajorSubsystemVersion, MinorSubsystemVersion;
            WORD DllCharacteristics;
            IMAGE_DATA_DIRECTORY DataDirectory[IMAGE_NUMBEROF_DIRECTORY_ENTRIES];
        } OptionalHeader;
        size_t sectionsOffset;
    };

    Headers nt() const
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data());
        const BYTE* at = bytes_.data() + dos->e_lfanew;
        Headers h{};
        std::memcpy(&h.FileHeader, at + sizeof(DWORD), sizeof(h.FileHeader));
        const size_t optional = dos->e_lfanew + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
        h.sectionsOffset = optional + h.FileHeader.SizeOfOptionalHeader;
        std::memcpy(&h.OptionalHeader.Magic, bytes_.data() + optional, sizeof(WORD));
        if (is64())
            copyOptional<IMAGE_OPTIONAL_HEADER64>(h, optional);
        else
            copyOptional<IMAGE_OPTIONAL_HEADER32>(h, optional);
        return h;
    }

    std::string manifest() const
    {
        const auto dir = nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
        const size_t offset = offsetOf(dir.VirtualAddress);
        if (dir.Size == 0 || offset == 0)
            return {};
        // The manifest is the only RT_MANIFEST resource: find its XML in the resource section.
        const std::string section(reinterpret_cast<const char*>(bytes_.data() + offset),
                                  std::min<size_t>(dir.Size, bytes_.size() - offset));
        const size_t begin = section.find("<?xml");
        const size_t end = section.find("</assembly>", begin);
        return begin == std::string::npos || end == std::string::npos ? std::string{}
                                                                      : section.substr(begin, end - begin);
    }

    std::vector<IMAGE_SECTION_HEADER> sections() const
    {
        const auto headers = nt();
        std::vector<IMAGE_SECTION_HEADER> list(headers.FileHeader.NumberOfSections);
        std::memcpy(list.data(), bytes_.data() + headers.sectionsOffset, list.size() * sizeof(IMAGE_SECTION_HEADER));
        return list;
    }

    // File offset of a relative virtual address, or 0 when no section holds it.
    size_t offsetOf(DWORD rva) const
    {
        for (const auto& s : sections()) {
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    }

    // Each imported DLL (lower case) with the functions taken from it ("#n" for an ordinal).
    std::map<std::string, std::set<std::string>> imports() const
    {
        std::map<std::string, std::set<std::string>> imports;
        const auto dir = nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        size_t offset = offsetOf(dir.VirtualAddress);
        if (dir.Size == 0 || offset == 0)
            return imports;
        for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            std::memcpy(&descriptor, bytes_.data() + offset, sizeof(descriptor));
            if (descriptor.Name == 0)
                break;
            auto& functions = imports[lowerCase(text(descriptor.Name))];
            const DWORD names = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
            if (is64())
                readThunks<IMAGE_THUNK_DATA64>(offsetOf(names), IMAGE_ORDINAL_FLAG64, functions);
            else
                readThunks<IMAGE_THUNK_DATA32>(offsetOf(names), IMAGE_ORDINAL_FLAG32, functions);
        }
        return imports;
    }

    std::vector<std::string> importedDlls() const
    {
        std::vector<std::string> names;
        for (const auto& [dll, functions] : imports())
            names.push_back(dll);
        return names;
    }

    static std::string lowerCase(std::string name)
    {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        return name;
    }

private:
    bool is64() const
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data());
        WORD magic = 0;
        std::memcpy(&magic, bytes_.data() + dos->e_lfanew + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER), sizeof(magic));
        return magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    }

    template <class Optional>
    void copyOptional(Headers& h, size_t offset) const
    {
        Optional o;
        std::memcpy(&o, bytes_.data() + offset, sizeof(o));
        h.OptionalHeader.MajorOperatingSystemVersion = o.MajorOperatingSystemVersion;
        h.OptionalHeader.MinorOperatingSystemVersion = o.MinorOperatingSystemVersion;
        h.OptionalHeader.MajorSubsystemVersion = o.MajorSubsystemVersion;
        h.OptionalHeader.MinorSubsystemVersion = o.MinorSubsystemVersion;
        h.OptionalHeader.DllCharacteristics = o.DllCharacteristics;
        std::memcpy(h.OptionalHeader.DataDirectory, o.DataDirectory, sizeof(o.DataDirectory));
    }

    template <class Thunk, class Flag>
    void readThunks(size_t thunk, Flag ordinalFlag, std::set<std::string>& functions) const
    {
        for (;; thunk += sizeof(Thunk)) {
            Thunk entry;
            std::memcpy(&entry, bytes_.data() + thunk, sizeof(entry));
            if (entry.u1.AddressOfData == 0)
                break;
            if (entry.u1.Ordinal & ordinalFlag)
                functions.insert(std::string(1, '#').append(std::to_string(entry.u1.Ordinal & 0xffff)));
            else
                functions.insert(text(static_cast<DWORD>(entry.u1.AddressOfData + sizeof(WORD))));
        }
    }

    std::string text(DWORD rva) const { return reinterpret_cast<const char*>(bytes_.data() + offsetOf(rva)); }

    std::vector<BYTE> bytes_;
};

// The reviewed list: "dll function major.minor" per line, '#' starts a comment.
std::map<std::pair<std::string, std::string>, std::pair<int, int>> ReviewedImports()
{
    std::map<std::pair<std::string, std::string>, std::pair<int, int>> list;
    std::ifstream file((TestSupport::BuildDir() + L"\\release\\windows7_imports.txt").c_str());
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string dll, function;
        int major = 0, minor = 0;
        char dot = 0;
        if (fields >> dll >> function >> major >> dot >> minor && dot == '.')
            list[{PeImage::lowerCase(dll), function}] = {major, minor};
    }
    return list;
}

// What each architecture's image must say about itself.
struct Architecture {
    WORD machine;
    WORD magic;
    const char* manifestArchitecture;
    bool highEntropy;
};
constexpr Architecture kX86{IMAGE_FILE_MACHINE_I386, IMAGE_NT_OPTIONAL_HDR32_MAGIC, "x86", false};
constexpr Architecture kX64{IMAGE_FILE_MACHINE_AMD64, IMAGE_NT_OPTIONAL_HDR64_MAGIC, "amd64", true};
constexpr const Architecture& kThisBuild = sizeof(void*) == 4 ? kX86 : kX64;

// The client these checks read: this build's own, or with TGC_CHECK_CLIENT_OF=x86 the x86 build's
// beside it, which a machine that cannot run 32-bit programs checks from its x64 test program.
struct ClientUnderCheck {
    std::wstring path;
    const Architecture& architecture;
};
ClientUnderCheck TheClient()
{
    wchar_t other[8] = {};
    if (GetEnvironmentVariableW(L"TGC_CHECK_CLIENT_OF", other, 8) && std::wstring(other) == L"x86")
        return {TestSupport::BuildDir() + L"\\..\\x86\\bin\\tgc_client.exe", kX86};
    return {TestSupport::ClientExePath(), kThisBuild};
}

TEST(ReleaseHardening, HeaderAndManifestMatchThisBuildsArchitecture)
{
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    ASSERT_EQ(image.nt().FileHeader.Machine, client.architecture.machine);
    EXPECT_EQ(image.nt().OptionalHeader.Magic, client.architecture.magic);
    const std::string manifest = image.manifest();
    const std::string identity = manifest.substr(0, manifest.find("/>", manifest.find("<assemblyIdentity")));
    EXPECT_NE(identity.find(std::string("processorArchitecture=\"") + client.architecture.manifestArchitecture + "\""),
              std::string::npos)
        << identity;
}

TEST(ReleaseHardening, HeaderAsksForAslrAndDep)
{
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    const auto optional = image.nt().OptionalHeader;
    ASSERT_EQ(optional.Magic, client.architecture.magic);
    const struct {
        WORD flag;
        bool wanted;
        const char* name;
    } flags[] = {
        {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, true, "dynamic base"},
        {IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, client.architecture.highEntropy, "high-entropy VA"},
        {IMAGE_DLLCHARACTERISTICS_NX_COMPAT, true, "NX compatible"},
    };
    for (const auto& f : flags)
        EXPECT_EQ((optional.DllCharacteristics & f.flag) != 0, f.wanted) << f.name;
    // Without relocations the loader cannot move the image, whatever the flag says.
    EXPECT_GT(optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
    EXPECT_FALSE(image.nt().FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
}

TEST(ReleaseHardening, NoSectionIsBothWritableAndExecutable)
{
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    for (const auto& section : image.sections()) {
        const std::string name(reinterpret_cast<const char*>(section.Name),
                               strnlen(reinterpret_cast<const char*>(section.Name), 8));
        const bool writable = section.Characteristics & IMAGE_SCN_MEM_WRITE;
        const bool executable = section.Characteristics & IMAGE_SCN_MEM_EXECUTE;
        EXPECT_FALSE(writable && executable) << name;
    }
}

TEST(ReleaseHardening, ImportsOnlyKnownDllsAndNoDelayLoads)
{
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    const auto names = image.importedDlls();
    ASSERT_FALSE(names.empty());
    for (const auto& name : names)
        EXPECT_TRUE(kKnownDlls.count(name)) << name << " would be searched for in the game folder";
    EXPECT_EQ(image.nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].Size, 0u);
}

TEST(ReleaseHardening, ImportsOnlyReviewedFunctionsOfWindows7)
{
    constexpr std::pair<int, int> kWindows7{6, 1};
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    const auto reviewed = ReviewedImports();
    ASSERT_FALSE(reviewed.empty()) << "the reviewed import list cannot be read";
    for (const auto& [function, since] : reviewed)
        EXPECT_LE(since, kWindows7) << function.first << " " << function.second << " is newer than Windows 7 SP1";

    const auto imports = image.imports();
    ASSERT_FALSE(imports.empty());
    std::cout << "The client imports:\n";
    for (const auto& [dll, functions] : imports) {
        for (const auto& function : functions) {
            const auto entry = reviewed.find({dll, function});
            const bool listed = entry != reviewed.end();
            std::cout << "  " << dll << " " << function << " "
                      << (listed ? std::to_string(entry->second.first) + "." + std::to_string(entry->second.second)
                                 : "(not on the list)")
                      << "\n";
            EXPECT_TRUE(listed) << dll << " " << function << ": add it to tests/release/windows7_imports.txt with the "
                                << "Windows version that introduced it";
        }
    }

    // The loader refuses an image that asks for a newer system than the one it runs on.
    const auto optional = image.nt().OptionalHeader;
    EXPECT_LE((std::pair<int, int>{optional.MajorOperatingSystemVersion, optional.MinorOperatingSystemVersion}),
              kWindows7);
    EXPECT_LE((std::pair<int, int>{optional.MajorSubsystemVersion, optional.MinorSubsystemVersion}), kWindows7);
    std::cout << "OS version " << optional.MajorOperatingSystemVersion << "." << optional.MinorOperatingSystemVersion
              << ", subsystem version " << optional.MajorSubsystemVersion << "." << optional.MinorSubsystemVersion
              << "\n";
}

TEST(ReleaseReproducibility, HeaderCarriesNoLinkTime)
{
    const auto client = TheClient();
    PeImage image(client.path);
    ASSERT_TRUE(image.loaded());
    EXPECT_EQ(image.nt().FileHeader.TimeDateStamp, 0u);
}

}  // namespace
