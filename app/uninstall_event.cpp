#include "app/uninstall_event.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "libraries/system/win32/token_rights.h"

namespace ZGC {
namespace {

using System::Win32::UniqueHandle;
using System::Win32::UniqueLocalMemory;

std::wstring SidText(const std::vector<BYTE>& sid)
{
    wchar_t* text = nullptr;
    if (sid.empty() || !ConvertSidToStringSidW(const_cast<BYTE*>(sid.data()), &text))
        return {};
    const UniqueLocalMemory owner(text);
    return text;
}

// Owner and a DACL of our own: the default one of an elevated process may let others open the event.
UniqueLocalMemory EventDescriptor(bool administratorRights)
{
    const std::wstring user = SidText(System::Win32::TokenUserSid());
    if (user.empty())
        return UniqueLocalMemory();
    const std::wstring fullAccess = L";;0x1f0003;;;";  // EVENT_ALL_ACCESS
    const std::wstring sddl = L"O:" + (administratorRights ? std::wstring(L"BA") : user) + L"D:P(A" + fullAccess +
                              user + L")(A" + fullAccess + L"BA)(A" + fullAccess + L"SY)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return UniqueLocalMemory();
    return UniqueLocalMemory(descriptor);
}

bool OwnerIsTrusted(HANDLE object, const Discovery::TrustedSids& trusted)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const UniqueLocalMemory held(descriptor);
    return trusted.contains(owner);
}

}  // namespace

UninstallEvent CreateUninstallEvent(const std::wstring& name, bool administratorRights,
                                    const Discovery::TrustedSids& trusted)
{
    UninstallEvent created;
    const UniqueLocalMemory descriptor = EventDescriptor(administratorRights);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
    UniqueHandle event(::CreateEventW(descriptor ? &attributes : nullptr, TRUE, FALSE, name.c_str()));
    if (!event)
        return created;  // not ours to open, or not an event: nothing tells of a trusted uninstall
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        created.anotherUninstall = OwnerIsTrusted(event.get(), trusted);
        return created;
    }
    created.handle = std::move(event);
    return created;
}

}  // namespace ZGC
