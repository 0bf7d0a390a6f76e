#include "support/test_paths.h"

#include <windows.h>

#include <algorithm>

namespace TestSupport {

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

std::wstring BuildDir()
{
    std::wstring dir = L"Z:" + Utf8ToWide(TGC_BUILD_DIR);
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    return dir;
}

std::wstring ClientExePath()
{
    return BuildDir() + L"\\bin\\tgc_client.exe";
}

std::wstring ScratchDir()
{
    const std::wstring dir = BuildDir() + L"\\scratch";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

}  // namespace TestSupport
