#include "support/file_and_argv.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <stdexcept>

#include "libraries/system/win32/unique_resource.h"

namespace TestSupport {

std::optional<std::string> ReadFileBytes(const std::wstring& path)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        System::Win32::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            if (GetLastError() == ERROR_SHARING_VIOLATION) {
                Sleep(5);
                continue;
            }
            return std::nullopt;
        }
        std::string bytes;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
            bytes.append(chunk, read);
        return bytes;
    }
    throw std::runtime_error("file stays locked by another handle");
}

std::vector<std::wstring> ArgvOf(const std::wstring& commandLine)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    const System::Win32::UniqueLocalMemory owner(argv);
    return argv ? std::vector<std::wstring>(argv, argv + count) : std::vector<std::wstring>{};
}

}  // namespace TestSupport
