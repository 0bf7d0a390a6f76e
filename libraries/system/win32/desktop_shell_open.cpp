#include "libraries/system/win32/desktop_shell_open.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <memory>

#include "libraries/system/win32/com_ref.h"

namespace System::Win32 {

namespace {

struct BstrDeleter {
    void operator()(wchar_t* text) const { ::SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<wchar_t, BstrDeleter>;

// The shell's automation object, reached through the view of the desktop window that the shell shows:
// its calls run in the shell's process.
HRESULT DesktopShellDispatch(ComRef<IShellDispatch2>& shell)
{
    // Only a running shell serves the list of its windows: with no shell in the session this fails.
    ComRef<IShellWindows> windows;
    HRESULT hr =
        ::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.putVoid());
    if (FAILED(hr))
        return hr;

    VARIANT desktop{};
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none{};
    long window = 0;
    ComRef<IDispatch> desktopBrowser;
    hr = windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktopBrowser.put());
    if (hr != S_OK || !desktopBrowser)
        return FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);  // S_FALSE: no desktop window

    ComRef<IServiceProvider> services;
    if (FAILED(hr = desktopBrowser->QueryInterface(IID_IServiceProvider, services.putVoid())))
        return hr;
    ComRef<IShellBrowser> browser;
    if (FAILED(hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.putVoid())))
        return hr;
    ComRef<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(view.put())))
        return hr;
    ComRef<IDispatch> background;
    if (FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.putVoid())))
        return hr;
    ComRef<IShellFolderViewDual> folderView;
    if (FAILED(hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.putVoid())))
        return hr;
    ComRef<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(application.put())))
        return hr;
    if (!application)
        return E_NOINTERFACE;
    return application->QueryInterface(IID_IShellDispatch2, shell.putVoid());
}

}  // namespace

HRESULT OpenThroughDesktopShell(const wchar_t* target)
{
    if (target == nullptr)
        return E_INVALIDARG;
    ComRef<IShellDispatch2> shell;
    if (const HRESULT hr = DesktopShellDispatch(shell); FAILED(hr))
        return hr;

    const UniqueBstr file(::SysAllocString(target));
    const UniqueBstr verb(::SysAllocString(L"open"));
    if (!file || !verb)
        return E_OUTOFMEMORY;
    VARIANT none{};
    VARIANT operation{};
    operation.vt = VT_BSTR;
    operation.bstrVal = verb.get();  // still owned by `verb`
    VARIANT show{};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return shell->ShellExecute(file.get(), none, none, operation, show);
}

}  // namespace System::Win32
