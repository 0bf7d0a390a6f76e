#include "support/scoped_writable.h"

#include <aclapi.h>

#include <stdexcept>
#include <utility>

namespace TestSupport {

ScopedWritableByEveryone::ScopedWritableByEveryone(std::wstring path) : path_(std::move(path))
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path_.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        throw std::runtime_error("the permissions do not read");
    saved_.reset(descriptor);
    savedDacl_ = dacl;
    EXPLICIT_ACCESSW everyone{};
    BuildExplicitAccessWithNameW(&everyone, const_cast<wchar_t*>(L"Everyone"), FILE_ALL_ACCESS, GRANT_ACCESS,
                                 NO_INHERITANCE);
    PACL widened = nullptr;
    if (SetEntriesInAclW(1, &everyone, dacl, &widened) != ERROR_SUCCESS)
        throw std::runtime_error("the permissions do not widen");
    const System::Win32::UniqueLocalMemory owner(widened);
    set(widened);
}

ScopedWritableByEveryone::~ScopedWritableByEveryone()
{
    set(savedDacl_);
}

void ScopedWritableByEveryone::set(PACL dacl) const
{
    SetNamedSecurityInfoW(const_cast<wchar_t*>(path_.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                          nullptr, dacl, nullptr);
}

}  // namespace TestSupport
