// The shipped executable is hardened for a folder that other programs can write:
// ASLR with high-entropy addresses, DEP, no writable code, and only DLLs that Windows
// always takes from the system folder in its import table.
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

    const IMAGE_NT_HEADERS64& nt() const
    {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes_.data());
        return *reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes_.data() + dos->e_lfanew);
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

TEST(ReleaseHardening, HeaderAsksForAslrHighEntropyAndDep)
{
    PeImage image(TestSupport::ClientExePath());
    ASSERT_TRUE(image.loaded());
    const auto& optional = image.nt().OptionalHeader;
    ASSERT_EQ(optional.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    const struct {
        WORD flag;
        const char* name;
    } required[] = {
        {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "dynamic base"},
        {IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, "high-entropy VA"},
        {IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "NX compatible"},
    };
    for (const auto& r : required)
        EXPECT_TRUE(optional.DllCharacteristics & r.flag) << r.name;
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
