#include "ui/framework/dialog_template.h"

#include <cwchar>
#include <optional>
#include <vector>

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/dialog_template_bytes.h"
#include "ui/framework/gdi_scopes.h"
#include "ui/gdi_text_measure.h"
#include "ui/notification_dialog_proc.h"
#include "ui/notification_layout.h"

namespace Ui {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
static_assert(kDialogStyle == 0x90C80880);

std::optional<SIZE> ErrorIconSize(HICON icon)
{
    if (icon == nullptr)
        return std::nullopt;
    return SIZE{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

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

CXDialogTemplate::CXDialogTemplate(HWND owner, const wchar_t* message, const wchar_t* title,
                                   const NotificationOptions& options)
    : m_owner(owner)
{
    const DialogBaseUnits units = LayoutBaseUnits(owner);
    m_state.windowBrush.reset(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));

    m_state.message = CopyToTextBuffer(message);
    m_state.title = CopyToTextBuffer(title);
    m_state.actionCaption = CopyToTextBuffer(options.actionCaption);
    m_state.actionTarget = CopyToTextBuffer(options.actionTarget);
    m_state.supportCaption = CopyToTextBuffer(options.supportCaption);
    m_state.supportTarget = CopyToTextBuffer(options.supportTarget);

    System::Win32::UniqueDeviceContext display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    LOGFONTW font = MessageLogFont();
    m_state.messageFont.reset(::CreateFontIndirectW(&font));
    if (m_state.supportCaption) {
        font.lfUnderline = TRUE;
        m_state.linkFont.reset(::CreateFontIndirectW(&font));
    }
    m_state.icon.reset(::LoadIconW(nullptr, IDI_ERROR));

    const DisplayMetrics metrics{units, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CXICON),
                                 ErrorIconSize(m_state.icon.get())};
    GdiTextMeasure measure(display.get(), static_cast<HFONT>(m_state.messageFont.get()),
                           static_cast<HFONT>(m_state.linkFont.get()));
    // The layout sees the buffered texts, so what is measured is what is shown.
    NotificationOptions buffered{};
    buffered.buttons = options.buttons;
    buffered.actionCaption = m_state.actionCaption.get();
    buffered.supportCaption = m_state.supportCaption.get();
    const NotificationLayout layout =
        LayOutNotification(m_state.message ? m_state.message.get() : L"", buffered, metrics, measure);

    for (const LayoutControl& control : layout.controls)
        Add(control.atom, control.id, control.rect, control.text.c_str());

    m_state.messageRect = layout.messageRect;
    if (layout.supportRect)
        m_state.supportRect = *layout.supportRect;
    m_state.lastStaticId = layout.lastStaticId;
    m_state.actionId = layout.actionId;
    m_state.actionIsButton = layout.actionId != 0;
    m_state.supportId = layout.supportId;
    m_state.defaultControlId = m_buttons.defaultControlId;

    m_header.style = kDialogStyle;
    m_header.dwExtendedStyle = 0;
    m_header.x = 0;
    m_header.y = 0;
    m_header.cx = static_cast<short>(layout.dialogUnits.cx);
    m_header.cy = static_cast<short>(layout.dialogUnits.cy);
}

void CXDialogTemplate::Add(WORD atom, WORD id, const RECT& rect, const wchar_t* text)
{
    for (auto& slot : m_items) {
        if (!slot) {
            slot = std::make_unique<CXDialogItem>();
            slot->AddItem(*this, atom, id, rect, text);
            ++m_header.cdit;
            return;
        }
    }
}

std::int32_t CXDialogTemplate::RunModal()
{
    wchar_t title[kMaxDialogTitleChars + 1] = {};
    if (m_state.title)
        std::wcsncpy(title, m_state.title.get(), kMaxDialogTitleChars);

    std::vector<const CXDialogItem*> items;
    for (const auto& slot : m_items)
        items.push_back(slot.get());

    const std::size_t size = DialogTemplateSize(title, items);
    System::Win32::UniqueLocalMemory block(::LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size));
    if (!block)
        return 2;
    LockedLocalMemory locked(block.get());
    if (locked.data() == nullptr)
        return 2;
    WriteDialogTemplate(static_cast<std::byte*>(locked.data()), m_header, title, items);

    UniqueWindow dialog(::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                     static_cast<const DLGTEMPLATE*>(locked.data()), m_owner,
                                                     NotificationDialogProc, reinterpret_cast<LPARAM>(this)));
    if (dialog) {
        // Declared after the dialog, so the owner is enabled again before the dialog goes away.
        DisabledOwner disabledOwner(m_owner);
        if (const auto quitCode = RunModalLoop(dialog.get(), m_state.done))
            ::PostQuitMessage(*quitCode);  // an outer loop must end too
        if (!::IsWindow(dialog.get()))
            static_cast<void>(dialog.release());  // destroyed with its owner already
    }
    return m_state.result;
}

}  // namespace Ui
