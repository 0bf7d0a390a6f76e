#include "ui/link_accessible.h"

#include <oleacc.h>

#include <atomic>
#include <new>

#include "libraries/system/win32/dll_search.h"
#include "ui/keyboard_link.h"

namespace Ui {

namespace {

constexpr wchar_t kDefaultAction[] = L"Jump";

// oleacc.dll is no known DLL: imported, it would be searched for in the game folder before the first
// line runs. It is loaded from the system folder when a client first asks, and stays loaded, since the
// objects it makes may outlive any dialog.
struct AccessibilityFunctions {
    decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&::LresultFromObject) resultFromObject = nullptr;
};

const AccessibilityFunctions& Accessibility()
{
    static const HMODULE oleacc = System::Win32::LoadSystemLibrary(L"oleacc.dll").release();  // never freed
    static const AccessibilityFunctions functions{
        oleacc ? System::Win32::GetProc<decltype(&::CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject")
               : nullptr,
        oleacc ? System::Win32::GetProc<decltype(&::LresultFromObject)>(oleacc, "LresultFromObject") : nullptr};
    return functions;
}

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// Wraps the standard accessible object of the static. Every call goes to it but the role, the state
// and the default action of the control itself.
class LinkAccessible final : public IAccessible {
public:
    LinkAccessible(HWND link, IAccessible* standard) : m_link(link), m_standard(standard) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // Other interfaces of the standard object (IEnumVARIANT, IOleWindow) describe the same control.
        return m_standard->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override
    {
        return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return m_standard->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
    }

    // IAccessible: what makes it a link.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (!IsSelf(child) || role == nullptr)
            return m_standard->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT result = m_standard->get_accState(child, state);
        if (SUCCEEDED(result) && IsSelf(child) && state != nullptr && state->vt == VT_I4)
            state->lVal |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        if (!IsSelf(child) || action == nullptr)
            return m_standard->get_accDefaultAction(child, action);
        *action = ::SysAllocString(kDefaultAction);
        return *action != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (!IsSelf(child))
            return m_standard->accDoDefaultAction(child);
        // Posted: the caller may be another process, and the link opens in the dialog's own time.
        return ::PostMessageW(m_link, kActivateLinkMessage, 0, 0) ? S_OK : E_FAIL;
    }

    // IAccessible: the rest as the system describes the static.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return m_standard->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return m_standard->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return m_standard->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override
    {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_standard->put_accValue(child, value);
    }

private:
    ~LinkAccessible() { m_standard->Release(); }

    HWND m_link;
    IAccessible* m_standard;  // owned: released with the wrapper
    std::atomic<ULONG> m_references{1};
};

}  // namespace

LRESULT LinkAccessibleObject(HWND link, WPARAM wParam)
{
    const AccessibilityFunctions& oleacc = Accessibility();
    if (oleacc.createStandard == nullptr || oleacc.resultFromObject == nullptr)
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(oleacc.createStandard(link, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
        standard == nullptr)
        return 0;
    auto* wrapper = new (std::nothrow) LinkAccessible(link, standard);
    if (wrapper == nullptr) {
        standard->Release();
        return 0;
    }
    // LresultFromObject takes its own reference (or none on failure); ours ends here either way.
    const LRESULT result = oleacc.resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(wrapper));
    wrapper->Release();
    return result > 0 ? result : 0;
}

}  // namespace Ui
