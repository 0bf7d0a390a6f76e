#include "libraries/system/win32/log_file_sink.h"

#include <stdexcept>

#include "errors/utf8.h"
#include "libraries/system/win32/final_path.h"

namespace System::Win32 {
namespace {

std::wstring LongPath(const std::wstring& path)
{
    const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0)
        return path;
    std::wstring longPath(size, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), longPath.data(), size);
    if (length == 0 || length >= size)
        return path;
    longPath.resize(length);
    return longPath;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// The file opened is the one named: it sits in the folder its path names, under the name given. A link on
// the last step leads elsewhere even where the system shows no reparse point for it.
bool OpenedWhereNamed(HANDLE file, const std::wstring& path)
{
    const std::wstring full = LongPath(path);
    const size_t separator = full.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return false;
    const std::wstring folderPath = full.substr(0, separator + 1);
    const UniqueFile folder(CreateFileW(folderPath.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder)
        return false;
    std::wstring expected = FinalPathByHandle(folder.get(), FILE_NAME_NORMALIZED);
    if (expected.empty())
        return false;
    if (expected.back() != L'\\')
        expected += L'\\';
    expected += full.substr(separator + 1);
    return SameText(FinalPathByHandle(file, FILE_NAME_NORMALIZED), expected);
}

bool IsPlainSingleFile(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
           info.nNumberOfLinks == 1;
}

// The UTC time of a record as "YYYY-MM-DD hh:mm:ss.mmm".
std::string TimeText(std::int64_t ticksSince1970)
{
    constexpr std::int64_t kTicksFrom1601To1970 = 116444736000000000;
    const std::uint64_t ticks = static_cast<std::uint64_t>(ticksSince1970 + kTicksFrom1601To1970);
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME parts{};
    if (!FileTimeToSystemTime(&time, &parts))
        return "-";
    const auto digits = [](unsigned value, std::size_t width) {
        std::string text = std::to_string(value);
        return std::string(text.size() < width ? width - text.size() : 0, '0') + text;
    };
    return digits(parts.wYear, 4) + "-" + digits(parts.wMonth, 2) + "-" + digits(parts.wDay, 2) + " " +
           digits(parts.wHour, 2) + ":" + digits(parts.wMinute, 2) + ":" + digits(parts.wSecond, 2) + "." +
           digits(parts.wMilliseconds, 3);
}

}  // namespace

UniqueFile OpenLogFile(const std::wstring& path)
{
    if (path.empty())
        return {};
    // A link there is opened itself, never its target; appending needs no other access to what is there.
    // Opening what exists and creating only where nothing is (not even a dangling link, which a plain
    // create would follow on some systems) never makes a file through a link.
    const auto open = [&path](DWORD disposition) {
        return UniqueFile(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                      FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    };
    UniqueFile file = open(OPEN_EXISTING);
    if (!file && GetLastError() == ERROR_FILE_NOT_FOUND) {
        file = open(CREATE_NEW);
        if (!file && GetLastError() == ERROR_FILE_EXISTS)
            file = open(OPEN_EXISTING);  // made by someone else meanwhile: judged like any file found there
    }
    if (!file || !IsPlainSingleFile(file.get()) || !OpenedWhereNamed(file.get(), path))
        return {};
    return file;
}

std::string LogFileLine(const Log::Record& record, std::size_t limit)
{
    std::wstring text = record.text;
    for (wchar_t& unit : text) {
        if (unit == L'\r' || unit == L'\n')
            unit = L' ';
    }
    std::string line =
        TimeText(record.location.time) + " " + std::to_string(record.level) + " " + Text::WideToUtf8(text);
    constexpr char kBreak[] = "\r\n";
    const std::size_t room = limit > 2 ? limit - 2 : 0;
    if (line.size() > room) {
        std::size_t cut = room;
        // Back to the first byte of a character: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        line.resize(cut);
    }
    return line + kBreak;
}

void LogFileSink::deliver(const Log::Record& record)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size))
        throw std::runtime_error("the log file's size does not read");
    if (static_cast<unsigned long long>(size.QuadPart) >= kLogFileLimit)
        return;
    const std::string line = LogFileLine(record);
    DWORD written = 0;
    if (!WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size())
        throw std::runtime_error("the log file does not take the line");
}

std::shared_ptr<LogFileSink> MakeLogFileSink(const std::wstring& path)
{
    UniqueFile file = OpenLogFile(path);
    if (!file)
        return nullptr;
    return std::make_shared<LogFileSink>(std::move(file));
}

}  // namespace System::Win32
