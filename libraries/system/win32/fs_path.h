// A path value over a wide text: root test, trailing-separator strip, append, drive-letter upper-casing.
#pragma once

#include <string>

namespace System {

class FsPath {
public:
    FsPath() = default;
    FsPath(std::wstring text) : text_(std::move(text)) {}
    FsPath(const wchar_t* text) : text_(text) {}

    static bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

    // "\" or "/", "C:\", "\\?\C:\".
    bool isRoot() const;

    // Drops the trailing run of separators, but never the separator that belongs to a root.
    void stripTrailingSeparator();

    // Joins with '\' unless one is already there (or this ends a drive "C:"); an empty name adds nothing.
    FsPath append(const FsPath& name) const;

    // The text with a lower-case drive letter made upper-case; nothing else changes.
    std::wstring text() const;

    // The text exactly as stored.
    const std::wstring& raw() const { return text_; }

private:
    std::wstring text_;
};

inline FsPath operator/(const FsPath& left, const FsPath& name)
{
    return left.append(name);
}

}  // namespace System
