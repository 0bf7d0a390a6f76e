// The shipped executable is hardened for a folder that other programs can write:
// ASLR (with high-entropy addresses where the image is 64-bit), DEP, no writable code, and only
// DLLs that Windows always takes from the system folder in its import table. Its manifest names
// the architecture of its image, or real Windows refuses to start it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
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

    // The headers in this build's own layout (PE32 for x86, PE32+ for x64): the client is expected
    // to be built for the same architecture as the test, which HeaderMatchesThisBuild checks first.
    const IMAGE_NT_HEADERS& nt() const
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data());
        return *reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes_.data() + dos->e_lfanew);
    }

    std::string manifest() const
    {
        const auto& dir = nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
        const size_t offset = offsetOf(dir.VirtualAddress);
        if (dir.Size == 0 || offset == 0)
            return {};
        // The manifest is the only RT_MANIFEST resource: find its XML in the resource section.
        const std::string section(reinterpret_cast<const char*>(bytes_.data() + offset),
                                  std::min<size_t>(dir.Size, bytes_.size() - offset));
        const size_t begin = section.find("<?xml");
        const size_t end = section.find("</assembly>", begin);
        return begin == std::string::npos || end == std::string::npos ? std::string{} : section.substr(begin, end - begin);
    }

    std::vector<IMAGE_SECTION_HEADER> sections() const
    {
        const auto& headers = nt();
        const auto* first = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
            reinterpret_cast<const BYTE*>(&headers.OptionalHeader) + headers.FileHeader.SizeOfOptionalHeader);
        return {first, first + headers.FileHeader.NumberOfSections};
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

    std::vector<std::string> importedDlls() const
    {
        std::vector<std::string> names;
        const auto& dir = nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        size_t offset = offsetOf(dir.VirtualAddress);
        if (dir.Size == 0 || offset == 0)
            return names;
        for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            std::memcpy(&descriptor, bytes_.data() + offset, sizeof(descriptor));
            if (descriptor.Name == 0)
                break;
            std::string name(reinterpret_cast<const char*>(bytes_.data() + offsetOf(descriptor.Name)));
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            names.push_back(name);
        }
        return names;
    }

private:
    std::vector<BYTE> bytes_;
};

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

TEST(ReleaseHardening, HeaderAndManifestMatchThisBuildsArchitecture)
{
    PeImage image(TestSupport::ClientExePath());
    ASSERT_TRUE(image.loaded());
    ASSERT_EQ(image.nt().FileHeader.Machine, kThisBuild.machine);
    EXPECT_EQ(image.nt().OptionalHeader.Magic, kThisBuild.magic);
    const std::string manifest = image.manifest();
    const std::string identity = manifest.substr(0, manifest.find("/>", manifest.find("<assemblyIdentity")));
    EXPECT_NE(identity.find(std::string("processorArchitecture=\"") + kThisBuild.manifestArchitecture + "\""),
              std::string::npos)
        << identity;
}

TEST(ReleaseHardening, HeaderAsksForAslrAndDep)
{
    PeImage image(TestSupport::ClientExePath());
    ASSERT_TRUE(image.loaded());
    const auto& optional = image.nt().OptionalHeader;
    ASSERT_EQ(optional.Magic, kThisBuild.magic);
    const struct {
        WORD flag;
        bool wanted;
        const char* name;
    } flags[] = {
        {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, true, "dynamic base"},
        {IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, kThisBuild.highEntropy, "high-entropy VA"},
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
    PeImage image(TestSupport::ClientExePath());
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
    PeImage image(TestSupport::ClientExePath());
    ASSERT_TRUE(image.loaded());
    const auto names = image.importedDlls();
    ASSERT_FALSE(names.empty());
    for (const auto& name : names)
        EXPECT_TRUE(kKnownDlls.count(name)) << name << " would be searched for in the game folder";
    EXPECT_EQ(image.nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].Size, 0u);
}

TEST(ReleaseReproducibility, HeaderCarriesNoLinkTime)
{
    PeImage image(TestSupport::ClientExePath());
    ASSERT_TRUE(image.loaded());
    EXPECT_EQ(image.nt().FileHeader.TimeDateStamp, 0u);
}

}  // namespace
