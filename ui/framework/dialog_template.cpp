#include "ui/framework/dialog_template.h"

#include <cwchar>
#include <optional>
#include <vector>

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/dialog_template_bytes.h"
#include "ui/framework/gdi_scopes.h"

namespace Ui {

namespace {

// Pumps messages until the dialog is done; the exit code of a WM_QUIT that ended it first.
std::optional<int> RunModalLoop(HWND dialog, const bool& done)
{
    MSG message{};
    for (;;) {
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return static_cast<int>(message.wParam);
            if (!::IsDialogMessageW(dialog, &message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            if (done)
                return std::nullopt;
        } else {
            if (done)
                return std::nullopt;
            ::WaitMessage();
            if (done)
                return std::nullopt;
        }
    }
}

}  // namespace

void CXDialogTemplate::Add(WORD atom, WORD id, const RECT& rect, const wchar_t* text, DWORD extraStyle)
{
    for (auto& slot : m_items) {
        if (!slot) {
            slot = std::make_unique<CXDialogItem>();
            slot->AddItem(*this, atom, id, rect, text);
            slot->AddStyle(extraStyle);
            ++m_header.cdit;
            return;
        }
    }
}

void CXDialogTemplate::SetFrame(DWORD style, SIZE dialogUnits)
{
    m_header.style = style;
    m_header.dwExtendedStyle = 0;
    m_header.x = 0;
    m_header.y = 0;
    m_header.cx = static_cast<short>(dialogUnits.cx);
    m_header.cy = static_cast<short>(dialogUnits.cy);
}

std::int32_t CXDialogTemplate::RunModal(HWND owner, const wchar_t* titleText, DLGPROC procedure, LPARAM parameter,
                                        const ModalState& modal)
{
    wchar_t title[kMaxDialogTitleChars + 1] = {};
    if (titleText)
        std::wcsncpy(title, titleText, kMaxDialogTitleChars);

    std::vector<const CXDialogItem*> items;
    for (const auto& slot : m_items)
        items.push_back(slot.get());

    const std::size_t size = DialogTemplateSize(title, items);
    System::Win32::UniqueLocalMemory block(::LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size));
    if (!block)
        return IDCANCEL;
    LockedLocalMemory locked(block.get());
    if (locked.data() == nullptr)
        return IDCANCEL;
    WriteDialogTemplate(static_cast<std::byte*>(locked.data()), m_header, title, items);

    UniqueWindow dialog(::CreateDialogIndirectParamW(
        ::GetModuleHandleW(nullptr), static_cast<const DLGTEMPLATE*>(locked.data()), owner, procedure, parameter));
    if (!dialog)
        return modal.result;
    // Declared after the dialog, so the owner is enabled again before the dialog goes away.
    DisabledOwner disabledOwner(owner);
    if (const auto quitCode = RunModalLoop(dialog.get(), modal.done))
        ::PostQuitMessage(*quitCode);  // an outer loop must end too
    if (!::IsWindow(dialog.get()))
        static_cast<void>(dialog.release());  // destroyed with its owner already
    // Read before the dialog is destroyed: what its destruction sets is no answer of the user's.
    return modal.result;
}

}  // namespace Ui
