#include "libraries/system/win32/fs_path.h"

#include <cwctype>
#include <string_view>

namespace System {
namespace {

constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";

bool IsDriveRoot(std::wstring_view text)
{
    return text.size() == 3 && std::iswalpha(text[0]) && text[1] == L':' && FsPath::isSeparator(text[2]);
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

}  // namespace

bool FsPath::isRoot() const
{
    const std::wstring_view text = text_;
    if (text.size() == 1)
        return isSeparator(text[0]);
    if (text.size() == kLongPathPrefix.size() + 3 && text.starts_with(kLongPathPrefix))
        return IsDriveRoot(text.substr(kLongPathPrefix.size()));
    return IsDriveRoot(text);
}

void FsPath::stripTrailingSeparator()
{
    while (!text_.empty() && isSeparator(text_.back()) && !isRoot())
        text_.pop_back();
}

FsPath FsPath::append(const FsPath& name) const
{
    FsPath tail = name;
    if (!tail.isRoot())
        tail.stripTrailingSeparator();
    if (tail.text_.empty())
        return *this;

    FsPath joined = *this;
    const bool needsSeparator = !isSeparator(tail.text_.front()) && !joined.text_.empty() &&
                                joined.text_.back() != L':' && !isSeparator(joined.text_.back());
    if (needsSeparator)
        joined.text_ += L'\\';
    joined.text_ += tail.text_;
    return joined;
}

std::wstring FsPath::text() const
{
    std::wstring result = text_;
    const size_t drive = std::wstring_view(result).starts_with(kLongPathPrefix) ? kLongPathPrefix.size() : 0;
    if (result.size() >= drive + 2 && IsAsciiLetter(result[drive]) && result[drive + 1] == L':' &&
        result[drive] >= L'a')
        result[drive] = static_cast<wchar_t>(result[drive] - L'a' + L'A');
    return result;
}

}  // namespace System
