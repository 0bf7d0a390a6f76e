// Reads the log of tests/fixtures/game_center: one UTF-8 line per start,
//   pid=<decimal>\tjob=<0|1>\tcwd=<text>\tcmd=<text>\n
// with '\' '\t' '\n' '\r' written as \\ \t \n \r and other control units or unpaired surrogates as \uXXXX.
#include "support/game_center_record.h"

#include <windows.h>

#include <stdexcept>
#include <string_view>

#include "libraries/system/win32/unique_resource.h"
#include "support/file_and_argv.h"
#include "support/test_paths.h"

namespace TestSupport {
namespace {

constexpr wchar_t kInstalledFixtures[] = L"C:\\tgc-fixtures";

unsigned HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    throw std::runtime_error("bad escape in game center log");
}

std::wstring Unescape(std::string_view text)
{
    std::string utf8;
    std::wstring out;
    auto flush = [&] {
        out += Utf8ToWide(utf8);
        utf8.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            utf8 += text[i];
            continue;
        }
        if (++i >= text.size())
            throw std::runtime_error("bad escape in game center log");
        flush();
        switch (text[i]) {
            case '\\':
                out += L'\\';
                break;
            case 't':
                out += L'\t';
                break;
            case 'n':
                out += L'\n';
                break;
            case 'r':
                out += L'\r';
                break;
            case 'u': {
                if (i + 4 >= text.size())
                    throw std::runtime_error("bad escape in game center log");
                unsigned unit = 0;
                for (int k = 1; k <= 4; ++k)
                    unit = unit * 16 + HexDigit(text[i + k]);
                out += static_cast<wchar_t>(unit);
                i += 4;
                break;
            }
            default:
                throw std::runtime_error("bad escape in game center log");
        }
    }
    flush();
    return out;
}

GameCenterRecord ParseRecord(std::string_view line)
{
    GameCenterRecord record;
    while (!line.empty()) {
        const size_t tab = line.find('\t');
        const std::string_view field = line.substr(0, tab);
        line = tab == std::string_view::npos ? std::string_view{} : line.substr(tab + 1);
        const size_t equals = field.find('=');
        if (equals == std::string_view::npos)
            throw std::runtime_error("bad field in game center log");
        const std::string_view key = field.substr(0, equals);
        const std::string_view value = field.substr(equals + 1);
        if (key == "pid")
            record.processId = std::stoul(std::string(value));
        else if (key == "job")
            record.inJob = value == "1";
        else if (key == "cwd")
            record.currentDirectory = Unescape(value);
        else if (key == "cmd")
            record.commandLine = Unescape(value);
    }
    return record;
}

}  // namespace

std::vector<GameCenterRecord> ReadGameCenterRecords(const std::wstring& logPath)
{
    const std::string bytes = ReadFileBytes(logPath).value_or(std::string());
    std::vector<GameCenterRecord> records;
    size_t start = 0;
    for (size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start)) {
        records.push_back(ParseRecord(std::string_view(bytes).substr(start, end - start)));
        start = end + 1;
    }
    return records;
}

std::wstring FixtureGameCenterFolder(const std::wstring& variant)
{
    const std::wstring built = BuildDir() + L"\\fixtures\\gc_" + variant + L"\\tgc.exe";
    const std::wstring installed = std::wstring(kInstalledFixtures) + L"\\gc_" + variant;
    WIN32_FILE_ATTRIBUTE_DATA source{}, copy{};
    if (!GetFileAttributesExW(built.c_str(), GetFileExInfoStandard, &source))
        throw std::runtime_error("the stand-in game center " + WideToUtf8(variant) + " is not built");
    const std::wstring target = installed + L"\\tgc.exe";
    // The copy keeps the build's time stamp, so an unchanged build is not copied again.
    const bool current = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &copy) &&
                         copy.nFileSizeLow == source.nFileSizeLow && copy.nFileSizeHigh == source.nFileSizeHigh &&
                         CompareFileTime(&copy.ftLastWriteTime, &source.ftLastWriteTime) == 0;
    if (!current) {
        CreateDirectoryW(kInstalledFixtures, nullptr);
        CreateDirectoryW(installed.c_str(), nullptr);
        if (!CopyFileW(built.c_str(), target.c_str(), FALSE))
            throw std::runtime_error("the stand-in game center " + WideToUtf8(variant) + " does not copy");
    }
    return installed;
}

std::wstring FixtureGameCenterPath(const std::wstring& variant)
{
    return FixtureGameCenterFolder(variant) + L"\\tgc.exe";
}

}  // namespace TestSupport
