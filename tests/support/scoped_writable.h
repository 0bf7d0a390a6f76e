// Lets Everyone change a file or folder for a scope (Wine turns that into the o+w mode bit), then takes it back:
// how a test makes "someone else could have planted this".
#pragma once

#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace TestSupport {

class ScopedWritableByEveryone {
public:
    // Throws std::runtime_error when the permissions do not read or widen.
    explicit ScopedWritableByEveryone(std::wstring path);
    ~ScopedWritableByEveryone();
    ScopedWritableByEveryone(const ScopedWritableByEveryone&) = delete;
    ScopedWritableByEveryone& operator=(const ScopedWritableByEveryone&) = delete;

private:
    void set(PACL dacl) const;

    std::wstring path_;
    System::Win32::UniqueLocalMemory saved_;
    PACL savedDacl_ = nullptr;
};

}  // namespace TestSupport
