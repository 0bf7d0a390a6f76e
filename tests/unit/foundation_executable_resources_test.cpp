// The built client carries its version resource and its application manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/test_paths.h"

namespace {

struct FreeLibraryOnExit {
    HMODULE module;
    ~FreeLibraryOnExit() { FreeLibrary(module); }
};

using GetSizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using GetInfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

TEST(ExecutableResources, VersionResourceIs26_0_2_1046)
{
    HMODULE version = LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ASSERT_NE(version, nullptr);
    FreeLibraryOnExit guard{version};
    auto getSize =
        reinterpret_cast<GetSizeFn>(reinterpret_cast<void (*)()>(GetProcAddress(version, "GetFileVersionInfoSizeW")));
    auto getInfo =
        reinterpret_cast<GetInfoFn>(reinterpret_cast<void (*)()>(GetProcAddress(version, "GetFileVersionInfoW")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void (*)()>(GetProcAddress(version, "VerQueryValueW")));
    ASSERT_TRUE(getSize && getInfo && query);

    const std::wstring exe = TestSupport::ClientExePath();
    const DWORD size = getSize(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(getInfo(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    ASSERT_EQ(info->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info->dwFileVersionMS, (26u << 16) | 0u);
    EXPECT_EQ(info->dwFileVersionLS, (2u << 16) | 1046u);
    EXPECT_EQ(info->dwProductVersionMS, (26u << 16) | 0u);
    EXPECT_EQ(info->dwProductVersionLS, (2u << 16) | 1046u);

    const struct {
        const wchar_t* key;
        const wchar_t* expected;
    } strings[] = {
        {L"\\StringFileInfo\\040904b0\\FileVersion", L"26.0.2.1046"},
        {L"\\StringFileInfo\\040904b0\\ProductVersion", L"26.0.2.1046"},
        {L"\\StringFileInfo\\040904b0\\OriginalFilename", L"tgc_client.exe"},
        {L"\\StringFileInfo\\040904b0\\ProductName", L"Tarvo Game Center"},
    };
    for (const auto& s : strings) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        ASSERT_TRUE(query(block.data(), s.key, reinterpret_cast<void**>(&value), &chars))
            << TestSupport::WideToUtf8(s.key);
        EXPECT_EQ(std::wstring(value), s.expected);
    }
}

using Attributes = std::map<std::string, std::string>;

// The attributes of the first `element` at or after `from` in the manifest's XML (none if it is missing).
Attributes AttributesOf(const std::string& xml, const std::string& element, size_t from)
{
    static const std::regex attribute(R"re(([A-Za-z]+)\s*=\s*"([^"]*)")re");
    Attributes found;
    const std::regex opening("<" + element + R"re(\s[^>]*>)re");
    std::smatch tag;
    if (from == std::string::npos ||
        !std::regex_search(xml.begin() + static_cast<std::ptrdiff_t>(from), xml.end(), tag, opening))
        return found;
    const std::string text = tag.str();
    for (auto it = std::sregex_iterator(text.begin(), text.end(), attribute); it != std::sregex_iterator(); ++it)
        found[(*it)[1]] = (*it)[2];
    return found;
}

TEST(ExecutableResources, ManifestRequestsAsInvokerCommonControls6AndWindows7To81)
{
    const std::wstring exe = TestSupport::ClientExePath();
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    FreeLibraryOnExit guard{image};
    HRSRC resource = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(resource, nullptr);
    HGLOBAL loaded = LoadResource(image, resource);
    ASSERT_NE(loaded, nullptr);
    const char* data = static_cast<const char*>(LockResource(loaded));
    const std::string manifest(data, SizeofResource(image, resource));

    const char* const thisBuildsArchitecture = sizeof(void*) == 4 ? "x86" : "amd64";
    const struct {
        const char* element;
        const char* inside;
        Attributes attributes;
    } expected[] = {
        {"requestedExecutionLevel", "<requestedPrivileges", {{"level", "asInvoker"}, {"uiAccess", "false"}}},
        {"assemblyIdentity",
         "<dependentAssembly",
         {{"type", "win32"},
          {"name", "Microsoft.Windows.Common-Controls"},
          {"version", "6.0.0.0"},
          {"processorArchitecture", thisBuildsArchitecture},
          {"publicKeyToken", "6595b64144ccf1df"},
          {"language", "*"}}},
    };
    for (const auto& e : expected) {
        Attributes found = AttributesOf(manifest, e.element, manifest.find(e.inside));
        // "*" stands for the architecture of the image that names the dependency.
        if (found.count("processorArchitecture") && found["processorArchitecture"] == "*")
            found["processorArchitecture"] = thisBuildsArchitecture;
        EXPECT_EQ(found, e.attributes) << e.element;
    }

    std::set<std::string> systems;
    for (size_t at = manifest.find("<supportedOS"); at != std::string::npos; at = manifest.find("<supportedOS", at + 1))
        systems.insert(AttributesOf(manifest, "supportedOS", at)["Id"]);
    const std::set<std::string> windows7To81 = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
    };
    EXPECT_EQ(systems, windows7To81);
}

}  // namespace
